// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// A hospital of five years for measuring the program: the demo hospital's doctors, rooms,
// items, rates and users, and on top of them half a million patients with their stays,
// charges and operations.
//
// The rows are made by the database itself, a million at a time, with INSERT ... SELECT over
// a table of the numbers 0 to 999 joined with itself. Every column is a fixed function of the
// row's number, so both backends get the same hospital and the benchmark can work out which
// stays exist without asking. Times come from a table of the quarter hours of the five years.
#include "hospitaldb/ScaleHospital.h"
#include "hospitaldb/ScaleCaseRates.h"
#include "hospitaldb/ScaleORRecords.h"
#include "hospitaldb/ScaleProfile.h"
#include "hospitaldb/ScaleRequests.h"

#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/Schema.h"
#include "core/db/Money.h"

#include <QDateTime>
#include <QStringList>

#include <algorithm>
#include <array>

namespace kestrel::hospitaldb {

namespace {

// Last names, the most common first: the generator gives the early ones far more patients.
constexpr auto kSurnames = std::to_array<QStringView>(
    {u"SANTOS",     u"REYES",     u"CRUZ",         u"BAUTISTA",    u"GARCIA",       u"MENDOZA",
     u"DELA CRUZ",  u"GONZALES",  u"RAMOS",        u"AQUINO",      u"CASTILLO",     u"VILLANUEVA",
     u"SANTIAGO",   u"FERNANDEZ", u"TORRES",       u"DIAZ",        u"FLORES",       u"LOPEZ",
     u"SANCHEZ",    u"RIVERA",    u"DE LEON",      u"TOLENTINO",   u"NAVARRO",      u"DOMINGO",
     u"PASCUAL",    u"SALAZAR",   u"MERCADO",      u"SAN JUAN",    u"AGUILAR",      u"MORALES",
     u"CORPUZ",     u"DE GUZMAN", u"VALDEZ",       u"PANGANIBAN",  u"MANALO",       u"SORIANO",
     u"ESPIRITU",   u"SAMONTE",   u"GUTIERREZ",    u"ROXAS",       u"CABRERA",      u"JIMENEZ",
     u"SAN PEDRO",  u"LIM",       u"TAN",          u"GO",          u"CHUA",         u"UY",
     u"SY",         u"ONG",       u"MAGBANUA",     u"MACARAEG",    u"DIMAGIBA",     u"DUMALAGAN",
     u"LACSON",     u"ABAD",      u"ABELLA",       u"ACOSTA",      u"ALCANTARA",    u"ALVAREZ",
     u"ANDRADA",    u"ARCEO",     u"ARELLANO",     u"BALTAZAR",    u"BARRETO",      u"BELTRAN",
     u"BERNARDO",   u"BORJA",     u"BUENAVENTURA", u"CABANGON",    u"CALDERON",     u"CAMACHO",
     u"CANLAS",     u"CARPIO",    u"CATACUTAN",    u"CAYABYAB",    u"CONCEPCION",   u"CORTEZ",
     u"DAVID",      u"DE CASTRO", u"DE JESUS",     u"DEL ROSARIO", u"DIMACULANGAN", u"DIZON",
     u"ENRIQUEZ",   u"ESTRADA",   u"EUGENIO",      u"FAJARDO",     u"FRANCISCO",    u"GALANG",
     u"GATCHALIAN", u"GERONIMO",  u"GUEVARRA",     u"HERNANDEZ",   u"IGNACIO",      u"ILAGAN",
     u"JAVIER",     u"LAGMAN",    u"LAUREL",       u"LEGASPI",     u"LUNA",         u"MACAPAGAL",
     u"MAGSAYSAY",  u"MALLARI",   u"MANALANG",     u"MANUEL",      u"MARQUEZ",      u"MATEO",
     u"MEDINA",     u"MIRANDA",   u"NAVAL",        u"NEPOMUCENO",  u"OCAMPO",       u"OLIVEROS",
     u"ORTIZ",      u"PADILLA",   u"PALMA",        u"PANGILINAN",  u"PAREDES",      u"PEREZ",
     u"PILAR",      u"PUNZALAN",  u"QUIAMBAO",     u"QUIMPO",      u"QUINTO",       u"RAMIREZ",
     u"REGALADO",   u"ROBLES",    u"RODRIGUEZ",    u"ROMERO",      u"ROSALES",      u"SALONGA",
     u"SAMSON",     u"SARMIENTO", u"SERRANO",      u"SISON",       u"SOLIS",        u"SUAREZ",
     u"TABORA",     u"TAGLE",     u"TALAVERA",     u"TAMAYO",      u"TIONGSON",     u"UMALI",
     u"VALENZUELA", u"VARGAS",    u"VELASCO",      u"VERGARA",     u"VICTORIA",     u"VILLAROMAN",
     u"YAP",        u"YLAGAN",    u"ZAMORA",       u"ZARATE"});

struct FirstName
{
    QStringView name;
    QStringView sex;
};

constexpr std::array<FirstName, 48> kFirstNames{{
    {u"JOSE", u"M"},         {u"MARIA", u"F"},     {u"JUAN", u"M"},      {u"ANA", u"F"},
    {u"ANTONIO", u"M"},      {u"ROSARIO", u"F"},   {u"EDUARDO", u"M"},   {u"TERESITA", u"F"},
    {u"RICARDO", u"M"},      {u"LOURDES", u"F"},   {u"ROBERTO", u"M"},   {u"CORAZON", u"F"},
    {u"MANUEL", u"M"},       {u"JOCELYN", u"F"},   {u"FERDINAND", u"M"}, {u"MARILOU", u"F"},
    {u"RAMON", u"M"},        {u"ELIZABETH", u"F"}, {u"ROGELIO", u"M"},   {u"CRISTINA", u"F"},
    {u"DANILO", u"M"},       {u"MA. LUISA", u"F"}, {u"ERNESTO", u"M"},   {u"GLORIA", u"F"},
    {u"ROMEO", u"M"},        {u"LEONORA", u"F"},   {u"ARNEL", u"M"},     {u"JENNIFER", u"F"},
    {u"MARK ANTHONY", u"M"}, {u"KIMBERLY", u"F"},  {u"JOHN PAUL", u"M"}, {u"MARY GRACE", u"F"},
    {u"CARLO", u"M"},        {u"PRINCESS", u"F"},  {u"JOMAR", u"M"},     {u"ANGELICA", u"F"},
    {u"RENATO", u"M"},       {u"MYRNA", u"F"},     {u"NESTOR", u"M"},    {u"ZENAIDA", u"F"},
    {u"BENJAMIN", u"M"},     {u"REBECCA", u"F"},   {u"VIRGILIO", u"M"},  {u"ESPERANZA", u"F"},
    {u"ALFREDO", u"M"},      {u"DOLORES", u"F"},   {u"CHRISTIAN", u"M"}, {u"JOANNA", u"F"},
}};

// The wards and units whose charges share the nurse logbook with the OR.
constexpr std::array<QStringView, 10> kStations{u"OR", u"2F", u"3F", u"4F",   u"ICU",
                                                u"OR", u"ER", u"DR", u"NICU", u"5F"};

// Numbers and names of the generated rows, above the demo hospital's own.
constexpr qint64 kFirstHospNum = 20'000'000;
constexpr qint64 kFirstIdNum = 2'000'000;
constexpr qint64 kFirstSlip = 3'000'000;
constexpr qint64 kLongStaySlip = 2'900'000;
// The OR posts to the long stay on top of its usual lines.
constexpr int kLongStayLines = 500;

// Operation schedules are numbered from here; the busy day's follow the generated ones.
constexpr qint64 kFirstTransNum = 10'000'000;
// The OR rooms in use, and the operations of the busy day (five in each room).
constexpr int kOperatingRooms = 12;
constexpr int kBusyDayOperations = 60;
// Requests of the wards for the day after the busy day the OR has not answered yet.
constexpr int kWaitingRequests = 8;
// The generated operations stop this many days before today, where the demo hospital's
// fortnight of bookings begins; the busy day is as many days after today, when it has ended.
constexpr int kDemoScheduleDays = 8;

// Quarter hours: the unit of every generated time.
constexpr qint64 kSlotsPerDay = 96;

// Tables the generated rows go to; their indexes are built after the load.
const QStringList kBigTables{
    QStringLiteral("PATIENT_DATA..tbMaster"),    QStringLiteral("PATIENT_DATA..tbPatient"),
    QStringLiteral("PATIENT_DATA..tbPatient2"),  QStringLiteral("PATIENT_DATA..tbOutPatient"),
    QStringLiteral("STATION..tbNurseLogBook"),   QStringLiteral("BILLING..tbBillDailyBill"),
    QStringLiteral("BILLING..tbBillOPDailyOut"), QStringLiteral("STATION..tbORMasterFile"),
    QStringLiteral("SCHEDULE..tbORScheduleDetails")};

// The generator's own tables, dropped when it is done.
const QStringList kWorkTables{QStringLiteral("scale_k"),     QStringLiteral("scale_t"),
                              QStringLiteral("scale_slot"),  QStringLiteral("scale_surname"),
                              QStringLiteral("scale_first"), QStringLiteral("scale_station"),
                              QStringLiteral("scale_item"),  QStringLiteral("scale_doctor"),
                              QStringLiteral("scale_room"),  QStringLiteral("scale_user"),
                              QStringLiteral("scale_oroom")};

// The same functions of a stay's number j that the statements below compute.
struct StayShape
{
    qint64 stays;
    qint64 patients;
    qint64 slots;

    static qint64 kind(qint64 j) { return (j * 37 + 11) % 10; } // 0-3 inpatient, 8-9 ER
    static bool inpatient(qint64 j) { return kind(j) < 4; }
    qint64 patient(qint64 j) const { return (j * 2654435761LL + 7) % 4294967291LL % patients; }
    QString idNum(qint64 j) const
    {
        return QString::number(kFirstIdNum + j) + (inpatient(j) ? QString() : QStringLiteral("B"));
    }
    QString hospNum(qint64 j) const { return QString::number(kFirstHospNum + patient(j)); }
};

// The SQL of the same functions, over a row whose stay number is J.
const QString kKind = QStringLiteral("((J * 37 + 11) % 10)");
const QString kPatient = QStringLiteral("((J * 2654435761 + 7) % 4294967291 % :patients)");
const QString kAdmitted = QStringLiteral("(J * (:slots - 96) / :stays)");
const QString kIdNum = QStringLiteral("(cast(2000000 + J as varchar(12)) || case when ((J * 37 + "
                                      "11) % 10) < 4 then '' else 'B' end)");
// Length of a stay in quarter hours: inpatients one to six days, visits an hour.
const QString kLength = QStringLiteral(
    "(case when ((J * 37 + 11) % 10) < 4 then 96 * (1 + (J * 131 + 17) % 6) + (J * 7 % 40) "
    "else 4 end)");

// Where operation M falls, as a function of M like everything else. It belongs to stay J,
// like the stay's other rows, and takes place around its admission. Twelve operations at a
// time fill two room-days of 4 and 8, 5 and 7 or 6 and 6 operations; room-day G is in OR room
// G % 12 on day G * days / roomDays, so a day's rooms are all different. A room-day runs from
// 07:00 for 10 to 13 hours, its P-th operation from quarter hour Q0 to Q1 after seven, back to
// back with the next, the boundary between two moved by a few quarter hours: an operation
// takes from 45 minutes to 6 hours. One in 37 (never a room's first) was booked anyway as an
// ER case: it starts half an hour (ER quarter hours) before the one ahead of it ends.
const QString kOperationShape = QStringLiteral(
    "(select M, J, G, P, "
    "P * SEG + case when P > 0 then (G * 31 + P * 17) % (2 * H + 1) - H else 0 end as Q0, "
    "(P + 1) * SEG + case when P + 1 < N then (G * 31 + (P + 1) * 17) % (2 * H + 1) - H "
    "else 0 end as Q1, "
    "case when M % 37 = 5 and P > 0 then 2 else 0 end as ER "
    "from (select M, J, G, P, N, SEG, (SEG - 2) / 2 as H "
    "from (select M, J, G, P, N, (40 + (G * 7 % 4) * 4) / N as SEG "
    "from (select M, J, 2 * (M / 12) + case when M % 12 < 4 + M / 12 % 3 then 0 else 1 end as G, "
    "case when M % 12 < 4 + M / 12 % 3 then M % 12 else M % 12 - 4 - M / 12 % 3 end as P, "
    "case when M % 12 < 4 + M / 12 % 3 then 4 + M / 12 % 3 else 8 - M / 12 % 3 end as N "
    "from (select X.i as M, X.i * :stays / :count as J from %1 X where X.i < :count) Y0) Y1) "
    "Y2) Y3) Y");

// Two room-days for every twelve operations.
qint64 roomDays(qint64 operations)
{
    return 2 * ((operations + 11) / 12);
}

// The names of patient `index` (an expression): half the patients take a last name (S) from
// the whole list, half mostly from its head; a first name (F, with the sex) and a middle name
// (MN).
QString patientNameJoins(const QString &index)
{
    return QStringLiteral(
               "join scale_surname S on S.k = case when %1 % 2 = 0 then (%1 / 2 * 7919 % 1009) * "
               ":surnames / 1009 "
               "  else ((%1 * 104729 % 997) * (%1 * 104729 % 997) / 997) * :surnames / 997 end "
               "join scale_first F on F.k = (%1 * 15485863 % 1000003) % :firsts "
               "join scale_surname MN on MN.k = (%1 * 7727 % :surnames) ")
        .arg(index);
}

// Numbers from 0: thousands A (scale_t) plus units B (scale_k, 0 to 999), a chunk of A at a
// time.
QString numbers(const QString &alias)
{
    return QStringLiteral("(select A.n * 1000 + B.n as %1 from scale_t A cross join scale_k B "
                          "where A.n >= :a0 and A.n < :a1)")
        .arg(alias);
}

QString expand(QString sql)
{
    sql.replace(QStringLiteral("{kind}"), kKind);
    sql.replace(QStringLiteral("{patient}"), kPatient);
    sql.replace(QStringLiteral("{admitted}"), kAdmitted);
    sql.replace(QStringLiteral("{idnum}"), kIdNum);
    sql.replace(QStringLiteral("{length}"), kLength);
    return sql;
}

class ScaleBuilder
{
public:
    ScaleBuilder(Database &db, const QDate &today, const ScaleSize &size,
                 const ScaleProgress &progress)
        : m_db(db)
        , m_size(size)
        , m_progress(progress)
        , m_start(today.addYears(-size.years), QTime(0, 0))
        , m_slots(m_start.date().daysTo(today) * kSlotsPerDay + 8 * 4)
    {
    }

    Result<void> build();

private:
    Result<void> tuneForLoading();
    Result<void> addWorkTables();
    Result<void> addSupplyCatalogue();
    Result<void> fillList(const QString &table, const QStringList &columns,
                          const QList<QVariantList> &rows);
    Result<QStringList> dropIndexes();
    Result<void> chunked(const QString &step, qint64 count, const QString &sql, Binds binds);
    Result<void> addPatients();
    Result<void> addStays();
    Result<void> addLines();
    Result<void> addOperations();
    Result<void> addOperatingRooms();
    Result<void> addLongStay();
    Result<void> addBusyDay();
    Result<void> finish(const QStringList &indexes);

    // Runs a statement with those of the values that it names.
    Result<int> run(const QString &sql, const Binds &binds)
    {
        const QString text = expand(sql);
        Binds used;
        for (auto it = binds.cbegin(); it != binds.cend(); ++it) {
            const QString mark = u':' + it.key();
            for (qsizetype at = text.indexOf(mark); at >= 0; at = text.indexOf(mark, at + 1)) {
                const qsizetype after = at + mark.size();
                if (after == text.size() || !text.at(after).isLetterOrNumber()) {
                    used.insert(it.key(), it.value());
                    break;
                }
            }
        }
        return m_db.exec(text, used);
    }

    Binds sizes() const
    {
        return {{QStringLiteral("patients"), m_size.patients},
                {QStringLiteral("stays"), m_size.stays},
                {QStringLiteral("slots"), m_slots}};
    }

    Database &m_db;
    ScaleSize m_size;
    ScaleProgress m_progress;
    QDateTime m_start;
    qint64 m_slots;
};

Result<void> ScaleBuilder::build()
{
    if (m_progress)
        m_progress(QStringLiteral("demo hospital"), 0, 1);
    if (auto ok = applySchema(m_db); !ok)
        return ok;
    if (auto ok = createDemoHospital(m_db, m_start.date().addYears(m_size.years)); !ok)
        return ok;
    if (m_progress)
        m_progress(QStringLiteral("demo hospital"), 1, 1);
    if (auto ok = tuneForLoading(); !ok)
        return ok;
    if (auto ok = addSupplyCatalogue(); !ok)
        return ok;
    if (auto ok = addWorkTables(); !ok)
        return ok;
    auto indexes = dropIndexes();
    if (!indexes)
        return tl::unexpected(indexes.error());
    for (auto step : {&ScaleBuilder::addPatients, &ScaleBuilder::addStays, &ScaleBuilder::addLines,
                      &ScaleBuilder::addOperations, &ScaleBuilder::addLongStay,
                      &ScaleBuilder::addBusyDay}) {
        if (auto ok = (this->*step)(); !ok)
            return ok;
    }
    if (auto ok = completeScaleORRecords(m_db); !ok)
        return ok;
    // The ICD-10 list and the relative value scale at the size of a national list.
    if (auto ok = addScaleCaseRateCodes(m_db, 10'000); !ok)
        return ok;
    if (auto ok = addScaleRequests(m_db, m_progress); !ok)
        return ok;
    if (auto ok = addScaleProfile(m_db, m_size, m_progress); !ok)
        return ok;
    return finish(*indexes);
}

Result<void> ScaleBuilder::tuneForLoading()
{
    // A generated database can be made again: nothing needs to survive a crash while loading.
    const QStringList settings =
        m_db.backend() == Backend::Sqlite
            ? QStringList{QStringLiteral("PRAGMA synchronous = OFF"),
                          QStringLiteral("PRAGMA journal_mode = OFF"),
                          QStringLiteral("PRAGMA cache_size = -524288")}
            : QStringList{QStringLiteral("SET synchronous_commit = off"),
                          QStringLiteral("SET client_min_messages = warning"),
                          QStringLiteral("SET maintenance_work_mem = '512MB'"),
                          QStringLiteral("SET work_mem = '64MB'")};
    for (const QString &s : settings) {
        if (auto ok = m_db.execRaw(s); !ok)
            return ok;
    }
    return {};
}

// A hospital's central supply stocks hundreds of items, where the demo's has eight: the
// supplies of every ward in their sizes, stocked by the central supply and the OR's supply room.
Result<void> ScaleBuilder::addSupplyCatalogue()
{
    struct Kind
    {
        QStringView name, generic, classification;
        qint64 centavos;
        std::initializer_list<QStringView> sizes;
    };
    const Kind kinds[] = {
        {u"SURGICAL GLOVES", u"STERILE GLOVES", u"GLOVES", 3500,
         {u"SIZE 6", u"SIZE 6.5", u"SIZE 7", u"SIZE 7.5", u"SIZE 8"}},
        {u"EXAMINATION GLOVES", u"LATEX GLOVES", u"GLOVES", 900,
         {u"SMALL", u"MEDIUM", u"LARGE"}},
        {u"SUTURE CHROMIC", u"ABSORBABLE SUTURE", u"SUTURES", 21000,
         {u"0", u"1", u"2-0", u"3-0", u"4-0"}},
        {u"SUTURE NYLON", u"NON-ABSORBABLE SUTURE", u"SUTURES", 16500,
         {u"2-0", u"3-0", u"4-0", u"5-0", u"6-0"}},
        {u"SUTURE POLYGLACTIN", u"ABSORBABLE SUTURE", u"SUTURES", 42000,
         {u"0", u"1", u"2-0", u"3-0", u"4-0"}},
        {u"SUTURE SILK", u"NON-ABSORBABLE SUTURE", u"SUTURES", 14000,
         {u"0", u"2-0", u"3-0", u"4-0"}},
        {u"GAUZE PAD", u"STERILE GAUZE", u"DRESSINGS", 1500,
         {u"2 X 2", u"3 X 3", u"4 X 4"}},
        {u"ABDOMINAL PACK", u"LAPAROTOMY SPONGE", u"DRESSINGS", 6500,
         {u"12 X 12", u"18 X 18"}},
        {u"TRANSPARENT DRESSING", u"FILM DRESSING", u"DRESSINGS", 5200,
         {u"6 X 7 CM", u"10 X 12 CM", u"15 X 20 CM"}},
        {u"FOLEY CATHETER 2-WAY", u"URINARY CATHETER", u"CATHETERS AND TUBES", 12500,
         {u"FR 12", u"FR 14", u"FR 16", u"FR 18", u"FR 20"}},
        {u"NASOGASTRIC TUBE", u"FEEDING TUBE", u"CATHETERS AND TUBES", 6800,
         {u"FR 10", u"FR 12", u"FR 14", u"FR 16", u"FR 18"}},
        {u"SUCTION CATHETER", u"SUCTION CATHETER", u"CATHETERS AND TUBES", 2500,
         {u"FR 8", u"FR 10", u"FR 12", u"FR 14", u"FR 16"}},
        {u"ENDOTRACHEAL TUBE CUFFED", u"ENDOTRACHEAL TUBE", u"AIRWAY SUPPLIES", 18500,
         {u"6.0", u"6.5", u"7.0", u"7.5", u"8.0"}},
        {u"OROPHARYNGEAL AIRWAY", u"GUEDEL AIRWAY", u"AIRWAY SUPPLIES", 4800,
         {u"SIZE 0", u"SIZE 1", u"SIZE 2", u"SIZE 3", u"SIZE 4"}},
        {u"FACE MASK ANESTHESIA", u"ANESTHESIA MASK", u"AIRWAY SUPPLIES", 22000,
         {u"SIZE 3", u"SIZE 4", u"SIZE 5"}},
        {u"IV CANNULA", u"INTRAVENOUS CATHETER", u"IV SUPPLIES", 9500,
         {u"G14", u"G16", u"G20", u"G24"}},
        {u"BLOOD TRANSFUSION SET", u"BLOOD SET", u"IV SUPPLIES", 14500,
         {u"ADULT", u"PEDIA"}},
        {u"MICRODRIP IV SET", u"INFUSION SET", u"IV SUPPLIES", 8200, {u"60 DROPS/ML"}},
        {u"DISPOSABLE SYRINGE", u"SYRINGE", u"SYRINGES AND NEEDLES", 1100,
         {u"1 ML", u"3 ML", u"5 ML", u"20 ML", u"50 ML"}},
        {u"HYPODERMIC NEEDLE", u"NEEDLE", u"SYRINGES AND NEEDLES", 400,
         {u"G18", u"G21", u"G23", u"G25", u"G27"}},
        {u"EPIDURAL SET", u"EPIDURAL KIT", u"SYRINGES AND NEEDLES", 165000, {u"G16", u"G18"}},
        {u"SURGICAL BLADE", u"SCALPEL BLADE", u"OR SUPPLIES", 1800,
         {u"NO. 10", u"NO. 11", u"NO. 15", u"NO. 20", u"NO. 22"}},
        {u"ELECTROSURGICAL PENCIL", u"CAUTERY PENCIL", u"OR SUPPLIES", 45000, {u"HAND CONTROL"}},
        {u"SURGICAL DRAPE", u"STERILE DRAPE", u"OR SUPPLIES", 28000,
         {u"SMALL", u"MEDIUM", u"LARGE"}},
        {u"SKIN STAPLER", u"SKIN STAPLER", u"OR SUPPLIES", 98000, {u"35 WIDE"}},
        {u"CLOSED WOUND DRAIN", u"WOUND DRAINAGE SYSTEM", u"OR SUPPLIES", 125000,
         {u"FR 10", u"FR 14"}},
        {u"CHEST TUBE", u"THORACIC CATHETER", u"CATHETERS AND TUBES", 38000,
         {u"FR 24", u"FR 28", u"FR 32"}},
        {u"ELASTIC BANDAGE", u"ELASTIC BANDAGE", u"DRESSINGS", 7000, {u"2 INCHES", u"6 INCHES"}},
        {u"PLASTER OF PARIS", u"CAST BANDAGE", u"DRESSINGS", 9000,
         {u"3 INCHES", u"4 INCHES", u"6 INCHES"}},
        {u"SURGICAL CAP", u"BOUFFANT CAP", u"GOWNS AND CAPS", 300, {u"FREE SIZE"}},
        {u"SURGICAL GOWN", u"STERILE GOWN", u"GOWNS AND CAPS", 26000,
         {u"MEDIUM", u"LARGE", u"X-LARGE"}},
        {u"SURGICAL MASK", u"FACE MASK", u"GOWNS AND CAPS", 500, {u"EARLOOP", u"TIE-ON"}},
    };
    int number = 0;
    for (const Kind &k : kinds) {
        for (QStringView size : k.sizes) {
            ++number;
            const QString item = QStringLiteral("CS4%1").arg(number, 3, 10, QLatin1Char('0'));
            const QString name = k.name.toString() + u' ' + size.toString();
            // Larger sizes cost a little more; outpatients pay a tenth more and the hospital
            // bought at seven tenths of the price, as for the demo's supplies.
            const qint64 centavos = k.centavos + k.centavos * (number % 5) / 20;
            auto master = m_db.exec(
                u"insert into INVENTORY..tbInvMaster (ItemID, ItemName, Description, "
                u"GenericName, ClassificationName, Route, Unrestricted, Status) values (:item, "
                u":name, '', :generic, :class, '', :open, 'A')",
                {{QStringLiteral("item"), item},
                 {QStringLiteral("name"), name},
                 {QStringLiteral("generic"), k.generic.toString()},
                 {QStringLiteral("class"), k.classification.toString()},
                 {QStringLiteral("open"), number % 3 == 0 ? 1 : 0}});
            if (!master)
                return tl::unexpected(master.error());
            for (const auto &[location, onHand] :
                 {std::pair(QStringLiteral("CSR"), 5000 + number * 10),
                  std::pair(QStringLiteral("OS"), 40 + number % 7)}) {
                auto stock = m_db.exec(
                    u"insert into INVENTORY..tbInvent (ItemID, LocationID, OnHand, "
                    u"SellingPriceIn, SellingPriceOut, AverageCost) values (:item, :location, "
                    u":onHand, :in, :out, :cost)",
                    {{QStringLiteral("item"), item},
                     {QStringLiteral("location"), location},
                     {QStringLiteral("onHand"), double(onHand)},
                     {QStringLiteral("in"), Money::fromMinor(centavos * 100).toVariant()},
                     {QStringLiteral("out"),
                      Money::fromMinor((centavos * 11 + 5) / 10 * 100).toVariant()},
                     {QStringLiteral("cost"),
                      Money::fromMinor((centavos * 7 + 5) / 10 * 100).toVariant()}});
                if (!stock)
                    return tl::unexpected(stock.error());
            }
        }
    }
    return {};
}

Result<void> ScaleBuilder::fillList(const QString &table, const QStringList &columns,
                                    const QList<QVariantList> &rows)
{
    QStringList marks;
    for (const QString &c : columns)
        marks << u':' + c;
    QList<Binds> binds;
    for (const QVariantList &row : rows) {
        Binds b;
        for (qsizetype i = 0; i < columns.size(); ++i)
            b.insert(columns.at(i), row.at(i));
        binds << b;
    }
    auto n = m_db.execMany(QStringLiteral("insert into %1 (%2) values (%3)")
                               .arg(table, columns.join(u", "), marks.join(u", ")),
                           binds);
    if (!n)
        return tl::unexpected(n.error());
    return {};
}

Result<void> ScaleBuilder::addWorkTables()
{
    const bool pg = m_db.backend() == Backend::Postgres;
    const QString number = pg ? QStringLiteral("bigint") : QStringLiteral("INTEGER");
    const QString text = pg ? QStringLiteral("citext") : QStringLiteral("TEXT");
    const QString when = pg ? QStringLiteral("timestamp(0)") : QStringLiteral("TEXT");
    const QString money = pg ? QStringLiteral("numeric(19,4)") : QStringLiteral("NUMERIC");
    const QStringList tables{
        QStringLiteral("scale_k (n %1 PRIMARY KEY)").arg(number),
        QStringLiteral("scale_t (n %1 PRIMARY KEY)").arg(number),
        QStringLiteral("scale_slot (s %1 PRIMARY KEY, at %2)").arg(number, when),
        QStringLiteral("scale_surname (k %1 PRIMARY KEY, name %2)").arg(number, text),
        QStringLiteral("scale_first (k %1 PRIMARY KEY, name %2, sex %2)").arg(number, text),
        QStringLiteral("scale_station (k %1 PRIMARY KEY, name %2)").arg(number, text),
        QStringLiteral("scale_item (k %1 PRIMARY KEY, revenue %2, item %2, name %2, price %3)")
            .arg(number, text, money),
        QStringLiteral("scale_doctor (k %1 PRIMARY KEY, id %2)").arg(number, text),
        QStringLiteral("scale_room (k %1 PRIMARY KEY, id %2)").arg(number, text),
        QStringLiteral("scale_user (k %1 PRIMARY KEY, id %2)").arg(number, text),
        QStringLiteral("scale_oroom (k %1 PRIMARY KEY, id %1, name %2)").arg(number, text)};
    for (const QString &t : tables) {
        const QString name = t.left(t.indexOf(u' '));
        if (auto ok = m_db.execRaw(u"DROP TABLE IF EXISTS " + name); !ok)
            return ok;
        if (auto ok = m_db.execRaw(u"CREATE TABLE " + t); !ok)
            return ok;
    }

    QList<QVariantList> rows;
    for (int n = 0; n < 1000; ++n)
        rows << QVariantList{n};
    if (auto ok = fillList(QStringLiteral("scale_k"), {QStringLiteral("n")}, rows); !ok)
        return ok;
    const qint64 most = std::max(
        {m_size.patients, m_size.stays, m_size.logbookLines, m_size.billLines, m_size.orCases});
    if (auto n = m_db.exec(u"insert into scale_t (n) select A.n * 1000 + B.n "
                           u"from scale_k A cross join scale_k B where A.n * 1000 + B.n <= :most",
                           {{QStringLiteral("most"), most / 1000}});
        !n)
        return tl::unexpected(n.error());
    // The generator's lists, each row numbered from 0.
    const auto numbered = [this](const QString &table, const QStringList &columns,
                                 const QList<QVariantList> &values) {
        QList<QVariantList> keyed;
        for (qsizetype k = 0; k < values.size(); ++k)
            keyed << QVariantList{qint64(k)} + values.at(k);
        return fillList(table, QStringList{QStringLiteral("k")} + columns, keyed);
    };
    QList<QVariantList> surnames, firstNames, stations;
    for (QStringView name : kSurnames)
        surnames << QVariantList{name.toString()};
    for (const FirstName &first : kFirstNames)
        firstNames << QVariantList{first.name.toString(), first.sex.toString()};
    for (QStringView station : kStations)
        stations << QVariantList{station.toString()};
    for (auto ok :
         {numbered(QStringLiteral("scale_surname"), {QStringLiteral("name")}, surnames),
          numbered(QStringLiteral("scale_first"), {QStringLiteral("name"), QStringLiteral("sex")},
                   firstNames),
          numbered(QStringLiteral("scale_station"), {QStringLiteral("name")}, stations)}) {
        if (!ok)
            return ok;
    }

    // The demo hospital's own doctors, rooms, clerks and priced items.
    struct Source
    {
        QString table;
        QStringList columns;
        QString select;
    };
    const QList<Source> sources{
        {QStringLiteral("scale_doctor"),
         {QStringLiteral("id")},
         QStringLiteral("select DoctorID from BUILD_FILE..tbCoDoctor order by DoctorID")},
        {QStringLiteral("scale_room"),
         {QStringLiteral("id")},
         QStringLiteral("select RoomID from BUILD_FILE..tbCoRoom order by RoomID")},
        {QStringLiteral("scale_user"),
         {QStringLiteral("id")},
         QStringLiteral("select EmployeeID from PASSWORD..tbPasswordMaster order by EmployeeID")},
        {QStringLiteral("scale_item"),
         {QStringLiteral("revenue"), QStringLiteral("item"), QStringLiteral("name"),
          QStringLiteral("price")},
         QStringLiteral("select OtherSectionID, OtherRevenueID, OtherRevenue, RateA "
                        "from BUILD_FILE..tbCoOtherRevenue where RateA > 0 "
                        "order by OtherRevenueID")}};
    for (const Source &s : sources) {
        auto found = m_db.select(s.select);
        if (!found)
            return tl::unexpected(found.error());
        if (found->isEmpty())
            return failure(QStringLiteral("The demo hospital has no rows for %1.").arg(s.table));
        QList<QVariantList> values;
        for (const Row &r : *found) {
            QVariantList row;
            for (int c = 0; c < s.columns.size(); ++c)
                row << r.value(c);
            values << row;
        }
        if (auto ok = numbered(s.table, s.columns, values); !ok)
            return ok;
    }

    // Every quarter hour of the years, up to eight hours past the day's start.
    const QString slotTime =
        pg ? QStringLiteral(
                 "cast(:start as timestamp) + (A.n * 1000 + B.n) * interval '15 minutes'")
           : QStringLiteral("datetime(:start, '+' || ((A.n * 1000 + B.n) * 15) || ' minutes')");
    auto n = m_db.exec(
        QStringLiteral("insert into scale_slot (s, at) select A.n * 1000 + B.n, %1 "
                       "from scale_k A cross join scale_k B "
                       "where A.n * 1000 + B.n < :slots")
            .arg(slotTime),
        {{QStringLiteral("start"), m_start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
         {QStringLiteral("slots"), m_slots}});
    if (!n)
        return tl::unexpected(n.error());
    return {};
}

Result<QStringList> ScaleBuilder::dropIndexes()
{
    const bool pg = m_db.backend() == Backend::Postgres;
    QStringList definitions;
    for (const QString &table : kBigTables) {
        const QString database = table.section(u'.', 0, 0).toLower();
        const QString name = table.section(u'.', -1);
        auto found =
            pg ? m_db.select(u"select indexname, indexdef from pg_indexes where schemaname = :s "
                             u"and tablename = lower(:t) and indexname like 'ix%'",
                             {{QStringLiteral("s"), database}, {QStringLiteral("t"), name}})
               : m_db.select(u"select name, sql from sqlite_master where type = 'index' "
                             u"and tbl_name = :t and sql is not null",
                             {{QStringLiteral("t"), name}});
        if (!found)
            return tl::unexpected(found.error());
        for (const Row &r : *found) {
            definitions << r.value(1).toString();
            const QString drop =
                pg ? QStringLiteral("DROP INDEX %1.%2").arg(database, r.value(0).toString())
                   : QStringLiteral("DROP INDEX %1").arg(r.value(0).toString());
            if (auto ok = m_db.execRaw(drop); !ok)
                return tl::unexpected(ok.error());
        }
    }
    return definitions;
}

Result<void> ScaleBuilder::chunked(const QString &step, qint64 count, const QString &sql,
                                   Binds binds)
{
    // A quarter of a million rows a statement, each in its own transaction.
    constexpr qint64 kThousandsPerChunk = 250;
    const qint64 thousands = (count + 999) / 1000;
    binds.insert(sizes());
    binds.insert(QStringLiteral("count"), count);
    if (m_progress)
        m_progress(step, 0, count);
    for (qint64 a = 0; a < thousands; a += kThousandsPerChunk) {
        binds.insert(QStringLiteral("a0"), a);
        binds.insert(QStringLiteral("a1"), std::min(thousands, a + kThousandsPerChunk));
        Transaction tx = m_db.transaction();
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        if (auto n = run(sql, binds); !n)
            return tl::unexpected(n.error());
        if (auto ok = tx.commit(); !ok)
            return ok;
        if (m_progress)
            m_progress(step, std::min(count, (a + kThousandsPerChunk) * 1000), count);
    }
    return {};
}

Result<void> ScaleBuilder::addPatients()
{
    const QString sql = QStringLiteral(
        "insert into PATIENT_DATA..tbMaster (HospNum, LastName, FirstName, MiddleName, Sex, "
        "BirthDate, Town, Province, Nationality, DateCreated) "
        "select cast(%1 + X.i as varchar(12)), S.name, F.name, MN.name, F.sex, B.at, "
        "'SAN FERNANDO', 'PAMPANGA', 'FILIPINO', C.at "
        "from %2 X %3"
        "join scale_slot B on B.s = (X.i * 86969 % :slots) "
        "join scale_slot C on C.s = X.i * (:slots - 1) / :count "
        "where X.i < :count");
    // Birth dates come from the same years as everything else: ages are not what is measured.
    return chunked(QStringLiteral("patients"), m_size.patients,
                   QString(sql).arg(kFirstHospNum).arg(numbers(QStringLiteral("i")),
                                                       patientNameJoins(QStringLiteral("X.i"))),
                   {{QStringLiteral("surnames"), qint64(kSurnames.size())},
                    {QStringLiteral("firsts"), qint64(kFirstNames.size())}});
}

Result<void> ScaleBuilder::addStays()
{
    const QString stays = QStringLiteral("(select X.i as J from %1 X where X.i < :stays)")
                              .arg(numbers(QStringLiteral("i")));
    const QString inpatients = QStringLiteral(
        "insert into PATIENT_DATA..tbPatient (IDNum, HospNum, AdmDate, DcrDate, BillingDate, "
        "AccountNum, RoomID, StationID, AdmittingDr, AttendingDr1, UserID) "
        "select {idnum}, cast(%1 + {patient} as varchar(12)), A.at, D.at, "
        "D.at, cast(%1 + {patient} as varchar(12)), "
        "R.id, '3F', Dr.id, Dr.id, U.id "
        "from %2 Y "
        "join scale_slot A on A.s = {admitted} "
        "left join scale_slot D on D.s = {admitted} + {length} "
        "join scale_room R on R.k = J % (select count(*) from scale_room) "
        "join scale_doctor Dr on Dr.k = J * 31 % (select count(*) from scale_doctor) "
        "join scale_user U on U.k = J % (select count(*) from scale_user) "
        "where {kind} < 4");
    // The admitting office gives every admission a credit line wide enough for its charges.
    const QString details =
        QStringLiteral(
            "insert into PATIENT_DATA..tbPatient2 (IDNum, CreditLine, PatientClass, isCashBasis, "
            "CashBasisReason) "
            "select {idnum}, 5000000, case when J % 9 = 0 then 'S' else 'P' end, "
            "case when J % 23 = 0 then 1 else 0 end, '' from %1 Y where {kind} < 4")

            .arg(stays);
    const QString visits = QStringLiteral(
        "insert into PATIENT_DATA..tbOutPatient (IDNum, HospNum, AdmDate, DcrDate, BillingDate, "
        "ERNum, AccountNum, DoctorID1, isCashBasis, UserID) "
        "select {idnum}, cast(%1 + {patient} as varchar(12)), A.at, D.at, D.at, "
        "case when {kind} >= 8 then 'ER-' || cast(J as varchar(12)) else null end, "
        "cast(%1 + {patient} as varchar(12)), Dr.id, case when J % 17 = 0 then 1 else 0 end, U.id "
        "from %2 Y "
        "join scale_slot A on A.s = {admitted} "
        "left join scale_slot D on D.s = {admitted} + {length} "
        "join scale_doctor Dr on Dr.k = J * 31 % (select count(*) from scale_doctor) "
        "join scale_user U on U.k = J % (select count(*) from scale_user) "
        "where {kind} >= 4");
    const auto fill = [&](const QString &sql) {
        return QString(sql).arg(kFirstHospNum).arg(stays);
    };
    if (auto ok = chunked(QStringLiteral("inpatient stays"), m_size.stays, fill(inpatients), {});
        !ok)
        return ok;
    if (auto ok = chunked(QStringLiteral("inpatient details"), m_size.stays, details, {}); !ok)
        return ok;
    return chunked(QStringLiteral("outpatient visits"), m_size.stays, fill(visits), {});
}

Result<void> ScaleBuilder::addLines()
{
    // Line i belongs to stay i * stays / lines, so a stay's lines lie together, an hour apart
    // from its admission on, and a few lines share each charge slip.
    const QString lines =
        QStringLiteral("(select X.i as I, X.i * :stays / :count as J from %1 X where X.i < :count)")
            .arg(numbers(QStringLiteral("i")));
    const QString when = QStringLiteral(
        "join scale_slot T on T.s = case when {admitted} + (I % 10) * 4 < :slots "
        "then {admitted} + (I % 10) * 4 else :slots - 1 end "
        "join scale_item It on It.k = (I * 7919 + J) % (select count(*) from scale_item) "
        "join scale_user U on U.k = (I / 5) % (select count(*) from scale_user) ");
    const QString logbook =
        QStringLiteral(
            "insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, RevenueID, ItemID, "
            "Description, Quantity, Amount, TransDate, UserID, StationID, PatientClass, RoomID, "
            "ChargeDepartment, RecordStatus) "
            "select {idnum}, cast(%1 + {patient} as varchar(12)), "
            "'C' || cast(%2 + I / 5 as varchar(12)) || 'O', It.revenue, It.item, It.name, "
            "1 + I % 3, It.price * (1 + I % 3), T.at, U.id, St.name, "
            "case when {kind} < 4 then 'I' else 'O' end, '', St.name, "
            "case when I % 97 = 0 then 'R' else '' end "
            "from %3 Y %4"
            "join scale_station St on St.k = (J * 13 + I / 5) % 10")

            .arg(kFirstHospNum)
            .arg(kFirstSlip)
            .arg(lines, when);
    const QString bill = QStringLiteral(
        "insert into BILLING..%1 (IDNum, HospNum, RefNum, RevenueID, ItemID, Description, "
        "Quantity, Amount, TransDate, UserID) "
        "select {idnum}, cast(%2 + {patient} as varchar(12)), 'B' || cast(I as varchar(12)), "
        "It.revenue, It.item, It.name, 1 + I % 3, It.price * (1 + I % 3), T.at, U.id "
        "from %3 Y %4 where %5");
    const auto bills = [&](const QString &table, const QString &condition) {
        return QString(bill).arg(table).arg(kFirstHospNum).arg(lines, when, condition);
    };
    if (auto ok = chunked(QStringLiteral("logbook lines"), m_size.logbookLines, logbook, {}); !ok)
        return ok;
    if (auto ok = chunked(QStringLiteral("inpatient charges"), m_size.billLines,
                          bills(QStringLiteral("tbBillDailyBill"), kKind + u" < 4"), {});
        !ok)
        return ok;
    return chunked(QStringLiteral("outpatient charges"), m_size.billLines,
                   bills(QStringLiteral("tbBillOPDailyOut"), kKind + u" >= 4"), {});
}

Result<void> ScaleBuilder::addOperations()
{
    if (auto ok = addOperatingRooms(); !ok)
        return ok;
    const QString shape = QString(kOperationShape).arg(numbers(QStringLiteral("i")));
    const QString opStart = QStringLiteral("((G * :days / :roomDays) * 96 + 28 + Q0 - ER)");
    const QString joins = QStringLiteral(
        "join scale_slot T on T.s = %1 "
        "join scale_slot E on E.s = %1 + Q1 - Q0 "
        "join scale_oroom R on R.k = G % (select count(*) from scale_oroom) "
        "join scale_item It on It.k = M % (select count(*) from scale_item) "
        "join scale_doctor Dr on Dr.k = M * 7 % (select count(*) from scale_doctor) "
        "join scale_doctor An on An.k = M * 11 % (select count(*) from scale_doctor) "
        "join scale_user U on U.k = M % (select count(*) from scale_user) ")
                              .arg(opStart);
    const QString operations = QStringLiteral(
        "insert into STATION..tbORMasterFile (IdNum, HospNum, RefNum, UserID, PatientClass, "
        "SurgeonID1, AnestheID, Procedures, ORNumber, Category, OperationDate, PatientIn, "
        "OperationDateEnd, PatientOut, Instrument, Sutures, PostOPTO) "
        "select {idnum}, cast(%1 + {patient} as varchar(12)), 'OR' || cast(M as varchar(12)), "
        "U.id, case when {kind} < 4 then 'I' else 'O' end, Dr.id, An.id, It.item, R.name, "
        "cast(1 + M % 5 as varchar(2)), T.at, T.at, E.at, E.at, 'Y', 'Y', "
        "cast(M % 3 as varchar(2)) "
        "from %2 %3");
    // Every fifth operation was asked for by a ward and confirmed by the OR; one in fifty of
    // those was revoked again and leaves its time free. The rest the OR booked itself.
    const QString schedules =
        QStringLiteral(
            "insert into SCHEDULE..tbORScheduleDetails (TransNum, IDNum, HospNum, PatientName, "
            "PatientClass, Sex, RoomID, ScheduleDate, StartTime, Length, Description, "
            "ProcedureCode, ProcedureDesc, Category, DoctorID1, DoctorID2, Remarks, "
            "RecordStatus, RequestNum, RequestingStation, RequestDate, RequestBy, ConfirmedBy, "
            "ConfirmedDate, RevokedBy, RevokedDate) "
            "select cast(%1 + M as varchar(12)), {idnum}, cast(%2 + {patient} as varchar(12)), "
            "S.name || ', ' || F.name || ' ' || MN.name, "
            "case when {kind} < 4 then 'I' else 'O' end, F.sex, R.id, Dy.at, T.at, "
            "(Q1 - Q0) * 15, "
            "'Patient Name :' || S.name || ', ' || F.name || ' ' || MN.name || :newLine || "
            "'Procedure :' || It.name, It.item, It.name, cast(1 + M % 5 as varchar(2)), Dr.id, "
            "An.id, case when ER > 0 then 'ER CASE' else '' end, "
            "case when M % 50 = 7 then 'R' else 'C' end, "
            "case when M % 5 = 2 then 'RQ' || cast(M as varchar(12)) else '' end, "
            "case when M % 5 = 2 then St.name else 'OR' end, Rq.at, U.id, "
            "case when M % 50 = 7 then '' else U.id end, "
            "case when M % 50 = 7 then null else Rq.at end, "
            "case when M % 50 = 7 then U.id else '' end, "
            "case when M % 50 = 7 then Rq.at else null end "
            "from %3 %4"
            "join scale_slot Dy on Dy.s = (G * :days / :roomDays) * 96 "
            "join scale_slot Rq on Rq.s = case when %5 >= 192 then %5 - 192 else 0 end "
            "join scale_station St on St.k = J % 10 %6")
            .arg(kFirstTransNum)
            .arg(kFirstHospNum)
            .arg(shape, joins, opStart, patientNameJoins(kPatient));
    // The demo hospital's own bookings take the week before today and the days after it.
    const qint64 days =
        m_start.date().daysTo(m_start.date().addYears(m_size.years)) - kDemoScheduleDays;
    const Binds binds{{QStringLiteral("days"), days},
                      {QStringLiteral("roomDays"), roomDays(m_size.orCases)},
                      {QStringLiteral("newLine"), QStringLiteral("\n")},
                      {QStringLiteral("surnames"), qint64(kSurnames.size())},
                      {QStringLiteral("firsts"), qint64(kFirstNames.size())}};
    if (auto ok = chunked(QStringLiteral("operations"), m_size.orCases,
                          QString(operations).arg(kFirstHospNum).arg(shape, joins), binds);
        !ok)
        return ok;
    if (auto ok = chunked(QStringLiteral("operation schedules"), m_size.orCases, schedules, binds);
        !ok)
        return ok;
    // The OR checked in the patients of its past operations when they came: only the demo
    // hospital's bookings of the last week and the coming ones may still light the
    // admitted-patients alert.
    const QDateTime lastWeek = m_start.addYears(m_size.years).addDays(-8);
    auto checked = m_db.exec(
        u"update SCHEDULE..tbORScheduleDetails set ORNotified = 'Y', ORNotifiedUser = ConfirmedBy, "
        u"ORNotifiedDate = StartTime where RecordStatus = 'C' and StartTime < :before",
        {{QStringLiteral("before"), lastWeek.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))}});
    if (!checked)
        return tl::unexpected(checked.error());
    return {};
}

Result<void> ScaleBuilder::addOperatingRooms()
{
    // The demo hospital's OR rooms and four more, twelve in use.
    const QList<QVariantList> more{{10, QStringLiteral("OR 7"), 10, QStringLiteral("OR"),
                                    QStringLiteral("Y")},
                                   {11, QStringLiteral("OR 8"), 11, QStringLiteral("OR"),
                                    QStringLiteral("Y")},
                                   {12, QStringLiteral("HYBRID OR"), 12, QStringLiteral("OR"),
                                    QStringLiteral("Y")},
                                   {13, QStringLiteral("MINOR OR"), 13, QStringLiteral("OR"),
                                    QStringLiteral("Y")}};
    if (auto ok = fillList(QStringLiteral("SCHEDULE..tbORRoom"),
                           {QStringLiteral("RoomID"), QStringLiteral("RoomName"),
                            QStringLiteral("SortOrder"), QStringLiteral("RevenueID"),
                            QStringLiteral("Status")},
                           more);
        !ok)
        return ok;
    auto rooms = m_db.select(u"select RoomID, RoomName from SCHEDULE..tbORRoom "
                             u"where coalesce(Status, 'Y') = 'Y' order by SortOrder, RoomID");
    if (!rooms)
        return tl::unexpected(rooms.error());
    if (rooms->count() != kOperatingRooms)
        return failure(QStringLiteral("The hospital has %1 OR rooms in use, not %2.")
                           .arg(rooms->count())
                           .arg(kOperatingRooms));
    QList<QVariantList> rows;
    for (const Row &r : *rooms)
        rows << QVariantList{qint64(rows.size()), r.integer(u"RoomID"), r.trimmed(u"RoomName")};
    return fillList(QStringLiteral("scale_oroom"),
                    {QStringLiteral("k"), QStringLiteral("id"), QStringLiteral("name")}, rows);
}

Result<void> ScaleBuilder::addBusyDay()
{
    // A day every room has five operations back to back from seven, and the wards wait for
    // the OR's answer to a few requests for the next.
    const ScaleLandmarks marks = scaleLandmarks(m_size);
    const StayShape shape{m_size.stays, m_size.patients, 0};
    const QDate today = m_start.date().addYears(m_size.years).addDays(kDemoScheduleDays);
    auto rooms = m_db.select(u"select id, name from scale_oroom order by k");
    if (!rooms)
        return tl::unexpected(rooms.error());
    auto procedures = m_db.select(u"select item, name from scale_item order by k");
    if (!procedures)
        return tl::unexpected(procedures.error());
    auto doctors = m_db.select(u"select id from scale_doctor order by k");
    if (!doctors)
        return tl::unexpected(doctors.error());
    if (m_progress)
        m_progress(QStringLiteral("busy day"), 0, kBusyDayOperations + kWaitingRequests);
    QList<Binds> rows;
    qint64 trans = marks.busyDayTransNum.toLongLong();
    for (int n = 0; n < kBusyDayOperations + kWaitingRequests; ++n, ++trans) {
        const bool waiting = n >= kBusyDayOperations;
        const qint64 stay = m_size.stays - 1 - n;
        const QString hospNum = shape.hospNum(stay);
        auto patient = m_db.selectOne(u"select LastName, FirstName, MiddleName, Sex "
                                      u"from PATIENT_DATA..tbMaster where HospNum = :hosp",
                                      {{QStringLiteral("hosp"), hospNum}});
        if (!patient)
            return tl::unexpected(patient.error());
        if (!*patient)
            return failure(QStringLiteral("Patient %1 was not generated.").arg(hospNum));
        const Row &p = **patient;
        const QString name = p.trimmed(u"LastName") + QStringLiteral(", ") +
                             p.trimmed(u"FirstName") + u' ' + p.trimmed(u"MiddleName");
        const Row &procedure = procedures->at(n * 7 % procedures->count());
        const int room = n % kOperatingRooms;
        const int turn = n / kOperatingRooms;
        // The room's earlier operations: an hour to two and a half each.
        int minutes = 0;
        for (int before = 0; before < turn; ++before)
            minutes += 60 + (room * 3 + before * 5) % 7 * 15;
        const QDateTime start = waiting ? QDateTime(today.addDays(1), QTime(8 + n % 8, 0))
                                        : QDateTime(today, QTime(7, 0)).addSecs(minutes * 60);
        const int length = 60 + (room * 3 + turn * 5) % 7 * 15;
        const QDateTime asked(today.addDays(-1), QTime(9, 0));
        rows << Binds{
            {QStringLiteral("trans"), QString::number(trans)},
            {QStringLiteral("idNum"), shape.idNum(stay)},
            {QStringLiteral("hospNum"), hospNum},
            {QStringLiteral("name"), name},
            {QStringLiteral("class"), StayShape::inpatient(stay) ? QStringLiteral("I")
                                                                  : QStringLiteral("O")},
            {QStringLiteral("sex"), p.trimmed(u"Sex")},
            {QStringLiteral("room"),
             waiting ? QVariant() : QVariant(rooms->at(room).integer(u"id"))},
            {QStringLiteral("day"), QDateTime(start.date(), QTime(0, 0))},
            {QStringLiteral("start"), start},
            {QStringLiteral("length"), length},
            {QStringLiteral("text"), QString(QStringLiteral("Patient Name :") + name +
                                                 QStringLiteral("\nProcedure :") +
                                                 procedure.trimmed(u"name"))},
            {QStringLiteral("code"), procedure.trimmed(u"item")},
            {QStringLiteral("procedure"), procedure.trimmed(u"name")},
            {QStringLiteral("category"), QString::number(1 + n % 5)},
            {QStringLiteral("surgeon"), doctors->at(n * 7 % doctors->count()).trimmed(u"id")},
            {QStringLiteral("anaesthesiologist"),
             doctors->at(n * 11 % doctors->count()).trimmed(u"id")},
            {QStringLiteral("status"), waiting ? QStringLiteral("P") : QStringLiteral("C")},
            {QStringLiteral("request"),
             waiting ? QStringLiteral("RQ%1").arg(trans) : QString()},
            {QStringLiteral("station"), waiting ? QStringLiteral("3F") : QStringLiteral("OR")},
            {QStringLiteral("asked"), asked},
            {QStringLiteral("confirmed"), waiting ? QVariant() : QVariant(asked)}};
    }
    auto n = m_db.execMany(
        u"insert into SCHEDULE..tbORScheduleDetails (TransNum, IDNum, HospNum, PatientName, "
        u"PatientClass, Sex, RoomID, ScheduleDate, StartTime, Length, Description, "
        u"ProcedureCode, ProcedureDesc, Category, DoctorID1, DoctorID2, RecordStatus, "
        u"RequestNum, RequestingStation, RequestDate, ConfirmedDate) values (:trans, :idNum, "
        u":hospNum, :name, :class, :sex, :room, :day, :start, :length, :text, :code, "
        u":procedure, :category, :surgeon, :anaesthesiologist, :status, :request, :station, "
        u":asked, :confirmed)",
        rows);
    if (!n)
        return tl::unexpected(n.error());
    if (m_progress)
        m_progress(QStringLiteral("busy day"), rows.size(), rows.size());
    return {};
}

Result<void> ScaleBuilder::addLongStay()
{
    // A long, complicated stay: the OR has posted 500 lines to it over the days.
    const ScaleLandmarks marks = scaleLandmarks(m_size);
    const QString sql = QStringLiteral(
        "insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, RevenueID, ItemID, "
        "Description, Quantity, Amount, TransDate, UserID, StationID, PatientClass, "
        "ChargeDepartment) "
        "select :idNum, :hospNum, 'C' || cast(%1 + X.i / 5 as varchar(12)) || 'O', It.revenue, "
        "It.item, It.name, 1, It.price, T.at, U.id, 'OR', 'I', 'OR' "
        "from %2 X "
        "join scale_slot T on T.s = :slots - 1 - (X.i / 5) * 2 "
        "join scale_item It on It.k = X.i * 7 % (select count(*) from scale_item) "
        "join scale_user U on U.k = X.i % (select count(*) from scale_user) "
        "where X.i < :count");
    return chunked(QStringLiteral("long stay"), kLongStayLines,
                   QString(sql).arg(kLongStaySlip).arg(numbers(QStringLiteral("i"))),
                   {{QStringLiteral("idNum"), marks.longStayIdNum},
                    {QStringLiteral("hospNum"), marks.longStayHospNum}});
}

Result<void> ScaleBuilder::finish(const QStringList &indexes)
{
    if (m_progress)
        m_progress(QStringLiteral("indexes"), 0, indexes.size() + 1);
    qint64 done = 0;
    for (const QString &definition : indexes) {
        if (auto ok = m_db.execRaw(definition); !ok)
            return ok;
        if (m_progress)
            m_progress(QStringLiteral("indexes"), ++done, indexes.size() + 1);
    }
    for (const QString &t : kWorkTables) {
        if (auto ok = m_db.execRaw(u"DROP TABLE " + t); !ok)
            return ok;
    }
    if (auto ok = m_db.execRaw(QStringLiteral("ANALYZE")); !ok)
        return ok;
    if (m_progress)
        m_progress(QStringLiteral("indexes"), indexes.size() + 1, indexes.size() + 1);
    return {};
}

} // namespace

ScaleSize ScaleSize::small()
{
    ScaleSize s;
    s.patients /= 10;
    s.stays /= 10;
    s.logbookLines /= 10;
    s.billLines /= 10;
    s.orCases /= 10;
    return s;
}

Result<void> createScaleHospital(Database &db, const QDate &today, const ScaleSize &size,
                                 const ScaleProgress &progress)
{
    if (!today.isValid())
        return failure(QStringLiteral("The generated hospital needs a valid date for today."));
    if (size.patients < 1000 || size.stays < 1000 || size.years < 1)
        return failure(QStringLiteral("The generated hospital needs at least a thousand patients "
                                      "and stays and one year."));
    return ScaleBuilder(db, today, size, progress).build();
}

ScaleLandmarks scaleLandmarks(const ScaleSize &size)
{
    const StayShape shape{size.stays, size.patients, 0};
    ScaleLandmarks marks;
    marks.commonPrefix = QStringLiteral("SAN");
    // The last two inpatient stays were admitted within the last day or so and are still in.
    QList<qint64> open;
    for (qint64 j = size.stays - 1; j >= 0 && open.size() < 2; --j) {
        if (StayShape::inpatient(j))
            open << j;
    }
    marks.inpatientIdNum = shape.idNum(open.value(0));
    marks.inpatientHospNum = shape.hospNum(open.value(0));
    marks.longStayIdNum = shape.idNum(open.value(1));
    marks.longStayHospNum = shape.hospNum(open.value(1));
    marks.hospNum = shape.hospNum(size.stays / 2);
    marks.busyDayTransNum = QString::number(kFirstTransNum + size.orCases);
    return marks;
}

} // namespace kestrel::hospitaldb
