// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/DemoHospital.h"

#include "core/db/Money.h"

#include <QDateTime>
#include <QMap>
#include <QPair>
#include <QSet>
#include <QStringList>
#include <QTime>

#include <algorithm>
#include <array>
#include <deque>
#include <functional>

namespace kestrel::hospitaldb {

namespace {

// ---------------------------------------------------------------------------------------------
// Randomness. The demo hospital must come out the same on every machine and library version,
// so it draws from its own splitmix64 stream instead of the standard distributions.

class DemoRandom
{
public:
    explicit DemoRandom(quint64 seed)
        : m_state(seed)
    {
    }

    quint64 next()
    {
        quint64 z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    /// 0 <= result < n.
    int below(int n) { return n <= 0 ? 0 : int(((next() >> 32) * quint64(n)) >> 32); }
    /// lo <= result <= hi.
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
    /// Low indexes far more often than high ones (n times the square of a uniform draw): a few
    /// surnames are everywhere, most are rare.
    int skewed(int n)
    {
        const quint64 u = next() >> 40; // 24 bits
        return int(((u * u) >> 24) * quint64(n) >> 24);
    }
    template <typename T, std::size_t N> const T &pick(const std::array<T, N> &items)
    {
        return items[std::size_t(below(int(N)))];
    }
    template <typename T> const T &pick(const QList<T> &items)
    {
        return items.at(below(int(items.size())));
    }

private:
    quint64 m_state;
};

// ---------------------------------------------------------------------------------------------
// Rows to write, table by table.

struct TableRows
{
    QString table; ///< as the hospital names it, "STATION..tbStationLogs"
    QStringList columns;
    QList<QVariantList> rows;

    void add(QVariantList values)
    {
        Q_ASSERT(values.size() == columns.size());
        rows.append(std::move(values));
    }
};

Result<void> writeRows(Database &db, const TableRows &t)
{
    if (t.rows.isEmpty())
        return {};
    QStringList marks;
    for (const QString &c : t.columns)
        marks << u':' + c;
    const QString sql = u"INSERT INTO " + t.table + u" (" + t.columns.join(QStringLiteral(", ")) +
                        u") VALUES (" + marks.join(QStringLiteral(", ")) + u')';
    QList<Binds> binds;
    binds.reserve(t.rows.size());
    for (const QVariantList &row : t.rows) {
        Binds b;
        for (qsizetype i = 0; i < t.columns.size(); ++i) {
            // The drivers bind a null QString as NULL; NULLs here are always an empty QVariant.
            const QVariant &v = row.at(i);
            const bool nullText = v.typeId() == QMetaType::QString && v.toString().isNull();
            b.insert(t.columns.at(i), nullText ? QVariant(QLatin1String("")) : v);
        }
        binds.append(std::move(b));
    }
    if (auto n = db.execMany(sql, binds); !n)
        return tl::unexpected(n.error());
    return {};
}

QVariant pesos(qint64 centavos)
{
    return Money::fromMinor(centavos * 100).toVariant();
}

QVariant when(const QDateTime &dt)
{
    return dt.isValid() ? QVariant(dt) : QVariant();
}

QString padded(qint64 n, int width)
{
    return QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

// Windows colours are stored blue-green-red, high byte to low.
int bgr(int red, int green, int blue)
{
    return (blue << 16) | (green << 8) | red;
}

// ---------------------------------------------------------------------------------------------
// The hospital's own master data. It does not depend on the seed: only patients and their
// stays do.

const QString kCompany = QStringLiteral("BAGONG TALA MEDICAL CENTER");
const QString kAddress =
    QStringLiteral("88 GEN. LUNA AVENUE, BRGY. MALIWANAG, SAN BARTOLOME CITY, LAGUNA 4035");

struct Employee
{
    QStringView code, lastName, firstName, middleName, initial, designation, deptCode;
    QStringView rights; ///< "" gives the employee no rights row at all
    QStringView passwordHash;
};

// Every right the program checks, with the text the rights editor shows for it.
struct AccessRight
{
    QStringView code, description;
};

constexpr std::array kAccessRights{
    AccessRight{u"1", u"REQUEST EXAMS, MEDICINES AND SUPPLIES"},
    AccessRight{u"2", u"REVOKE REQUESTS"},
    AccessRight{u"3", u"POST CHARGES"},
    AccessRight{u"4", u"DISCHARGE PATIENT"},
    AccessRight{u"5", u"ROOM TRANSFER"},
    AccessRight{u"6", u"SEND CLEARANCE / DISCHARGE ORDER"},
    AccessRight{u"9", u"ASSESSMENT ENTRY"},
    AccessRight{u"10", u"VIEW RESULTS"},
    AccessRight{u"11", u"UPDATE PATIENT PROFILE"},
    AccessRight{u"13", u"RECEIVABLE ENTRY"},
    AccessRight{u"18", u"DETAILED INCOME REPORT"},
    AccessRight{u"19", u"VIEW STATEMENT OF ACCOUNT"},
    AccessRight{u"20", u"CHARGE SLIP SETTING"},
    AccessRight{u"21", u"SUMMARY INCOME REPORT"},
    AccessRight{u"22", u"REVOKE CHARGES AND ASSESSMENTS"},
    AccessRight{u"25", u"CLINICAL OPERATION"},
    AccessRight{u"29", u"SUPERVISOR RIGHTS"},
    AccessRight{u"36", u"SAVE CLINICAL OPERATION"},
    AccessRight{u"37", u"RESET CLINICAL OPERATION"},
    AccessRight{u"38", u"REVOKE PACKAGES"},
};

// The supervisor's rights are written from kAccessRights, so a right added there reaches him.
constexpr QStringView kAllRights = u"*";

// Argon2id hashes (libsodium's interactive limits) of the demo passwords of demoLogins(),
// made once; hashing them anew would cost a tenth of a second each on every test database.
constexpr std::array kEmployees{
    Employee{u"2901", u"VILLANUEVA", u"TERESITA", u"MAGBANUA", u"TMV", u"OR SUPERVISOR", u"29",
             kAllRights,
             u"$argon2id$v=19$m=65536,t=2,p=1$KnDQRESYTHO71d7SLZnZ9Q$"
             u"JhCdBpO7Ndh42LT6svXOX2KtYTyToIDeQKicrbk2l+8"},
    Employee{u"2902", u"SALAZAR", u"JOHN PAUL", u"DELA CRUZ", u"JDS", u"OR NURSE (SCRUB)", u"29",
             u"|1|2|3|6|10|11|25|36",
             u"$argon2id$v=19$m=65536,t=2,p=1$RfQOb0QMbEQICe4hklxY+A$"
             u"r4yu7zdeOn6gX3hgLn9RZQ4luuShyXhE/QpFcy55ahE"},
    Employee{u"2903", u"MACARAEG", u"KRISTINE JOY", u"LIM", u"KLM", u"OR NURSE (CIRCULATING)",
             u"29", u"|1|2|3|4|5|6|9|10|11|19|22|25|36",
             u"$argon2id$v=19$m=65536,t=2,p=1$kQb3d6RYM9i07QavIy6I1A$"
             u"yuwDXgs3Q5UDzrxg1d10YZrluyI7sTJ5Q0cOwDHdnGI"},
    Employee{u"2904", u"PANGILINAN", u"RODEL", u"ABAD", u"RAP", u"OR TECHNICIAN", u"29",
             u"|3|10|25",
             u"$argon2id$v=19$m=65536,t=2,p=1$OOoQDS4pcceBY7Q5KVmj+Q$"
             u"HjRTCiidgj4bPOvrlJ4BizKscnqL5T2FCgsbjrBu0XE"},
    Employee{u"2905", u"ESGUERRA", u"MARICEL", u"TAN", u"MTE", u"OR CLERK", u"29",
             u"|3|9|13|18|19|20|21",
             u"$argon2id$v=19$m=65536,t=2,p=1$XK+HYgx4paQiYm3VHhSJQw$"
             u"XLPYwmu07/9f1vhm1PCVu8MOfVBnt9wFsHw73xL3oMY"},
    Employee{u"2906", u"DIMAANO", u"ARNEL", u"CRUZ", u"ACD", u"OR NURSE (ANESTHESIA)", u"29",
             u"|1|3|10|11|25|36",
             u"$argon2id$v=19$m=65536,t=2,p=1$g6tikuhz7G+HVKNKLB3tQg$"
             u"SoR6OjJ7RvDnY/fozpGMwNDePscv2X1CjSz9dCNxqY0"},
    Employee{u"2907", u"ONG", u"LIEZL", u"SORIANO", u"LSO", u"OR NURSE (RECOVERY ROOM)", u"29",
             u"|1|2|3|4|5|6|10|11|19|25",
             u"$argon2id$v=19$m=65536,t=2,p=1$cmh/DrOQKlPz8xOchoanjA$"
             u"F6B0k27LcaCCIyultzV5OwUhaYPzCx1ezrxc9eR27sw"},
    Employee{u"2908", u"TOLENTINO", u"MARK ANTHONY", u"RIVERA", u"MRT", u"OR NURSING ATTENDANT",
             u"29", u"",
             u"$argon2id$v=19$m=65536,t=2,p=1$o93r3QQ88Lqll/JP9ag3RA$"
             u"z9pFjsY4AcuwbGRNGWIl3a4kcpIs+jl6st3QDb4kw1c"},
    Employee{u"2909", u"PEÑAFLORIDA", u"ANA MARIE", u"GO", u"AGP", u"OR NURSE (NIGHT SHIFT)", u"29",
             u"|1|2|3|6|10|11|25|36|37",
             u"$argon2id$v=19$m=65536,t=2,p=1$coB2g9pkpkT6FsK9GRFpzw$"
             u"OT3k2b4aqJ93Ud7GLB88Hh/mNmHK0UhAuxwB4R4CFkI"},
    Employee{u"1401", u"DELOS SANTOS", u"ROWENA", u"CASTRO", u"RCD", u"STAFF NURSE, 4TH FLOOR",
             u"14", u"|1|3|10",
             u"$argon2id$v=19$m=65536,t=2,p=1$1U6a2wUq6h/qz9I+wMU+kw$"
             u"8HqLnOiXjqaHzNoWWvdJH8s77VcNOLSCZFVzXVwnUHI"},
};

QString employeeRights(const Employee &e)
{
    if (e.rights != kAllRights)
        return e.rights.toString();
    QString all;
    for (const AccessRight &r : kAccessRights)
        all += u'|' + r.code.toString();
    return all;
}

struct Doctor
{
    QStringView id, lastName, firstName, middleName, specialization;
};

constexpr std::array kDoctors{
    Doctor{u"1021", u"AGUSTIN", u"RAMON", u"LACSON", u"GENERAL SURGERY"},
    Doctor{u"1024", u"BUENAVENTURA", u"CARMELITA", u"OCAMPO", u"GENERAL SURGERY"},
    Doctor{u"1030", u"CATAPANG", u"EDGARDO", u"VILLAR", u"GENERAL SURGERY"},
    Doctor{u"1033", u"DE JESUS", u"MA. LOURDES", u"PASCUAL", u"GENERAL SURGERY"},
    Doctor{u"1047", u"ESCALANTE", u"VICENTE", u"MORALES", u"GENERAL SURGERY"},
    Doctor{u"1052", u"FAJARDO", u"GERARDO", u"SY", u"ORTHOPEDICS"},
    Doctor{u"1058", u"GATCHALIAN", u"ROBERTO", u"ILAGAN", u"ORTHOPEDICS"},
    Doctor{u"1063", u"HIZON", u"PATRICIA", u"ALCANTARA", u"ORTHOPEDICS"},
    Doctor{u"1071", u"IGNACIO", u"ROSARIO", u"BALTAZAR", u"OBSTETRICS AND GYNECOLOGY"},
    Doctor{u"1074", u"JIMENEZ", u"CYNTHIA", u"LAUREL", u"OBSTETRICS AND GYNECOLOGY"},
    Doctor{u"1080", u"LAGDAMEO", u"MARIBEL", u"CHUA", u"OBSTETRICS AND GYNECOLOGY"},
    Doctor{u"1086", u"MAGSAYSAY", u"IRENE", u"DOMINGO", u"OBSTETRICS AND GYNECOLOGY"},
    Doctor{u"1102", u"NEPOMUCENO", u"ALFREDO", u"REYES", u"ANESTHESIOLOGY"},
    Doctor{u"1105", u"OCAMPO", u"JOSEFINA", u"MALLARI", u"ANESTHESIOLOGY"},
    Doctor{u"1111", u"PUNZALAN", u"BENJAMIN", u"TAN", u"ANESTHESIOLOGY"},
    Doctor{u"1117", u"QUISUMBING", u"ELENA", u"SANTIAGO", u"ANESTHESIOLOGY"},
    Doctor{u"1120", u"RAMIREZ", u"FERDINAND", u"GO", u"ANESTHESIOLOGY"},
    Doctor{u"1134", u"SAMONTE", u"LEONARDO", u"CRUZ", u"UROLOGY"},
    Doctor{u"1139", u"TIONGSON", u"GRACE", u"UY", u"OTORHINOLARYNGOLOGY"},
    Doctor{u"1142", u"UMALI", u"ANTONIO", u"DELA ROSA", u"OPHTHALMOLOGY"},
    Doctor{u"1150", u"VERGARA", u"MANUEL", u"ESTRELLA", u"NEUROSURGERY"},
    Doctor{u"1156", u"YULO", u"ERNESTO", u"BAUTISTA", u"THORACIC AND CARDIOVASCULAR SURGERY"},
    Doctor{u"1159", u"ZALDIVAR", u"CORAZON", u"LIM", u"THORACIC AND CARDIOVASCULAR SURGERY"},
    Doctor{u"1163", u"ARELLANO", u"JOSE MARI", u"TECSON", u"PEDIATRIC SURGERY"},
    Doctor{u"1170", u"BERNARDO", u"LUZVIMINDA", u"ROQUE", u"INTERNAL MEDICINE"},
    Doctor{u"1174", u"CORONEL", u"ARTURO", u"MENDIOLA", u"CARDIOLOGY"},
    Doctor{u"1178", u"DAVID", u"SUSANA", u"ABRENICA", u"INTERNAL MEDICINE"},
};

QStringList doctorsIn(QStringView specialization)
{
    QStringList ids;
    for (const Doctor &d : kDoctors) {
        if (d.specialization == specialization)
            ids << d.id.toString();
    }
    return ids;
}

struct Revenue
{
    QStringView id, name, location, stockCardRevenue;
};

// Departments that draw from a stock location price from the inventory; the rest price their
// items from the other-revenue list below.
constexpr std::array kRevenueCodes{
    Revenue{u"OR", u"OPERATING ROOM", u"", u""},
    Revenue{u"OS", u"OR SUPPLIES", u"", u""},
    Revenue{u"OE", u"OR EQUIPMENT", u"", u""},
    Revenue{u"AN", u"ANESTHESIA", u"", u""},
    Revenue{u"OX", u"OXYGEN", u"", u""},
    Revenue{u"DR", u"DELIVERY ROOM", u"", u""},
    Revenue{u"MD", u"DOCTOR'S FEE", u"", u""},
    Revenue{u"RB", u"ROOM AND BOARD", u"", u""},
    Revenue{u"ER", u"EMERGENCY ROOM", u"", u""},
    Revenue{u"PH", u"PHARMACY", u"PHA", u"PH"},
    Revenue{u"CS", u"CENTRAL SUPPLY", u"CSR", u"CS"},
    Revenue{u"LB", u"LABORATORY", u"", u""},
    Revenue{u"XR", u"X-RAY", u"", u""},
    Revenue{u"US", u"ULTRASOUND", u"", u""},
    Revenue{u"CT", u"CT SCAN", u"", u""},
    Revenue{u"HS", u"HEART STATION", u"", u""},
    Revenue{u"BB", u"BLOOD BANK", u"", u""},
};

enum class ItemKind { Procedure, Fee, Other };

struct Item
{
    QStringView code, name, department;
    ItemKind kind;
    qint64 rateA; ///< the ward rate in pesos; the other letters follow from it
};

// OR procedures first: patients' operations and schedules refer to them by code.
constexpr std::array kItems{
    Item{u"OR1001", u"APPENDECTOMY, OPEN", u"OR", ItemKind::Procedure, 18000},
    Item{u"OR1002", u"APPENDECTOMY, LAPAROSCOPIC", u"OR", ItemKind::Procedure, 28000},
    Item{u"OR1003", u"CHOLECYSTECTOMY, OPEN", u"OR", ItemKind::Procedure, 25000},
    Item{u"OR1004", u"CHOLECYSTECTOMY, LAPAROSCOPIC", u"OR", ItemKind::Procedure, 38000},
    Item{u"OR1005", u"HERNIORRHAPHY, INGUINAL", u"OR", ItemKind::Procedure, 15000},
    Item{u"OR1006", u"HERNIOPLASTY WITH MESH", u"OR", ItemKind::Procedure, 22000},
    Item{u"OR1007", u"EXPLORATORY LAPAROTOMY", u"OR", ItemKind::Procedure, 30000},
    Item{u"OR1008", u"MASTECTOMY, MODIFIED RADICAL", u"OR", ItemKind::Procedure, 35000},
    Item{u"OR1009", u"EXCISION OF BREAST MASS", u"OR", ItemKind::Procedure, 9000},
    Item{u"OR1010", u"THYROIDECTOMY, TOTAL", u"OR", ItemKind::Procedure, 32000},
    Item{u"OR1011", u"HEMORRHOIDECTOMY", u"OR", ItemKind::Procedure, 12000},
    Item{u"OR1012", u"EXCISION OF LIPOMA", u"OR", ItemKind::Procedure, 5000},
    Item{u"OR1013", u"INCISION AND DRAINAGE OF ABSCESS", u"OR", ItemKind::Procedure, 3500},
    Item{u"OR1014", u"DEBRIDEMENT OF WOUND", u"OR", ItemKind::Procedure, 6000},
    Item{u"OR1015", u"AMPUTATION, BELOW KNEE", u"OR", ItemKind::Procedure, 20000},
    Item{u"OR1016", u"COLECTOMY, RIGHT", u"OR", ItemKind::Procedure, 45000},
    Item{u"OR1017", u"GRAHAM PATCH REPAIR", u"OR", ItemKind::Procedure, 28000},
    Item{u"OR1018", u"CESAREAN SECTION, PRIMARY", u"OR", ItemKind::Procedure, 30000},
    Item{u"OR1019", u"CESAREAN SECTION, REPEAT", u"OR", ItemKind::Procedure, 32000},
    Item{u"OR1020", u"NORMAL SPONTANEOUS DELIVERY", u"OR", ItemKind::Procedure, 12000},
    Item{u"OR1021", u"DILATATION AND CURETTAGE", u"OR", ItemKind::Procedure, 8000},
    Item{u"OR1022", u"TOTAL ABDOMINAL HYSTERECTOMY", u"OR", ItemKind::Procedure, 35000},
    Item{u"OR1023", u"BILATERAL TUBAL LIGATION", u"OR", ItemKind::Procedure, 9000},
    Item{u"OR1024", u"MYOMECTOMY", u"OR", ItemKind::Procedure, 30000},
    Item{u"OR1025", u"SALPINGECTOMY FOR ECTOPIC PREGNANCY", u"OR", ItemKind::Procedure, 20000},
    Item{u"OR1026", u"OPEN REDUCTION INTERNAL FIXATION, FEMUR", u"OR", ItemKind::Procedure, 45000},
    Item{u"OR1027", u"OPEN REDUCTION INTERNAL FIXATION, RADIUS", u"OR", ItemKind::Procedure, 30000},
    Item{u"OR1028", u"CLOSED REDUCTION AND CASTING", u"OR", ItemKind::Procedure, 8000},
    Item{u"OR1029", u"TOTAL HIP ARTHROPLASTY", u"OR", ItemKind::Procedure, 95000},
    Item{u"OR1030", u"TOTAL KNEE ARTHROPLASTY", u"OR", ItemKind::Procedure, 98000},
    Item{u"OR1031", u"ARTHROSCOPY, KNEE", u"OR", ItemKind::Procedure, 40000},
    Item{u"OR1032", u"REMOVAL OF IMPLANTS", u"OR", ItemKind::Procedure, 15000},
    Item{u"OR1033", u"TRANSURETHRAL RESECTION OF PROSTATE", u"OR", ItemKind::Procedure, 35000},
    Item{u"OR1034", u"CYSTOSCOPY", u"OR", ItemKind::Procedure, 9000},
    Item{u"OR1035", u"URETEROSCOPY WITH LASER LITHOTRIPSY", u"OR", ItemKind::Procedure, 40000},
    Item{u"OR1036", u"CIRCUMCISION", u"OR", ItemKind::Procedure, 3000},
    Item{u"OR1037", u"NEPHRECTOMY", u"OR", ItemKind::Procedure, 55000},
    Item{u"OR1038", u"TONSILLECTOMY", u"OR", ItemKind::Procedure, 14000},
    Item{u"OR1039", u"SEPTOPLASTY", u"OR", ItemKind::Procedure, 25000},
    Item{u"OR1040", u"MYRINGOTOMY WITH TUBE INSERTION", u"OR", ItemKind::Procedure, 8000},
    Item{u"OR1041", u"CATARACT EXTRACTION WITH INTRAOCULAR LENS", u"OR", ItemKind::Procedure,
         30000},
    Item{u"OR1042", u"PTERYGIUM EXCISION", u"OR", ItemKind::Procedure, 8000},
    Item{u"OR1043", u"CRANIOTOMY", u"OR", ItemKind::Procedure, 85000},
    Item{u"OR1044", u"BURR HOLE EVACUATION", u"OR", ItemKind::Procedure, 40000},
    Item{u"OR1045", u"VENTRICULOPERITONEAL SHUNT", u"OR", ItemKind::Procedure, 55000},
    Item{u"OR1046", u"LAMINECTOMY, LUMBAR", u"OR", ItemKind::Procedure, 60000},
    Item{u"OR1047", u"CORONARY ARTERY BYPASS GRAFT", u"OR", ItemKind::Procedure, 350000},
    Item{u"OR1048", u"MITRAL VALVE REPLACEMENT", u"OR", ItemKind::Procedure, 320000},
    Item{u"OR1049", u"AORTIC VALVE REPLACEMENT", u"OR", ItemKind::Procedure, 330000},
    Item{u"OR1050", u"ATRIAL SEPTAL DEFECT REPAIR", u"OR", ItemKind::Procedure, 250000},
    Item{u"OR1051", u"PERMANENT PACEMAKER INSERTION", u"OR", ItemKind::Procedure, 60000},
    Item{u"OR1052", u"UPPER GI ENDOSCOPY", u"OR", ItemKind::Procedure, 7500},
    Item{u"OR1053", u"COLONOSCOPY", u"OR", ItemKind::Procedure, 9500},
    Item{u"OR1054", u"ERCP WITH STENTING", u"OR", ItemKind::Procedure, 30000},
    Item{u"OR1055", u"BRONCHOSCOPY", u"OR", ItemKind::Procedure, 12000},
    Item{u"OR1056", u"PYLOROMYOTOMY", u"OR", ItemKind::Procedure, 25000},
    Item{u"OR1057", u"ORCHIDOPEXY", u"OR", ItemKind::Procedure, 15000},
    Item{u"OR1101", u"OR USE, FIRST HOUR", u"OR", ItemKind::Fee, 5000},
    Item{u"OR1102", u"OR USE, SUCCEEDING HOUR", u"OR", ItemKind::Fee, 2500},
    Item{u"OR1103", u"MINOR OR FEE", u"OR", ItemKind::Fee, 2000},
    Item{u"OR1104", u"RECOVERY ROOM FEE", u"OR", ItemKind::Fee, 1500},
    Item{u"OR1105", u"INSTRUMENT HANDLING FEE", u"OR", ItemKind::Fee, 500},
    Item{u"OR1106", u"ISOLATION CASE CLEANING FEE", u"OR", ItemKind::Fee, 1500},
    Item{u"OR1107", u"STERILIZATION OF OWN INSTRUMENTS", u"OR", ItemKind::Fee, 800},
    Item{u"OR1108", u"CVOR USE, PER HOUR", u"OR", ItemKind::Fee, 12000},
    Item{u"OS2001", u"SUTURE, CHROMIC 2-0", u"OS", ItemKind::Other, 240},
    Item{u"OS2002", u"SUTURE, CHROMIC 0", u"OS", ItemKind::Other, 240},
    Item{u"OS2003", u"SUTURE, POLYGLACTIN 1", u"OS", ItemKind::Other, 480},
    Item{u"OS2004", u"SUTURE, POLYGLACTIN 3-0", u"OS", ItemKind::Other, 450},
    Item{u"OS2005", u"SUTURE, SILK 3-0", u"OS", ItemKind::Other, 180},
    Item{u"OS2006", u"SUTURE, NYLON 4-0", u"OS", ItemKind::Other, 200},
    Item{u"OS2007", u"SUTURE, POLYPROPYLENE 2-0", u"OS", ItemKind::Other, 520},
    Item{u"OS2008", u"SURGICAL BLADE NO. 10", u"OS", ItemKind::Other, 35},
    Item{u"OS2009", u"SURGICAL BLADE NO. 11", u"OS", ItemKind::Other, 35},
    Item{u"OS2010", u"SURGICAL BLADE NO. 15", u"OS", ItemKind::Other, 35},
    Item{u"OS2011", u"SURGICAL BLADE NO. 22", u"OS", ItemKind::Other, 35},
    Item{u"OS2012", u"ELECTROCAUTERY PENCIL, DISPOSABLE", u"OS", ItemKind::Other, 650},
    Item{u"OS2013", u"SURGICAL GOWN, STERILE", u"OS", ItemKind::Other, 380},
    Item{u"OS2014", u"DRAPE PACK, MAJOR", u"OS", ItemKind::Other, 1200},
    Item{u"OS2015", u"DRAPE PACK, MINOR", u"OS", ItemKind::Other, 550},
    Item{u"OS2016", u"GAUZE 4 X 4, PACK OF 10", u"OS", ItemKind::Other, 60},
    Item{u"OS2017", u"LAPAROTOMY SPONGE, PACK OF 5", u"OS", ItemKind::Other, 280},
    Item{u"OS2018", u"FOLEY CATHETER FR 16", u"OS", ItemKind::Other, 190},
    Item{u"OS2019", u"URINE BAG", u"OS", ItemKind::Other, 95},
    Item{u"OS2020", u"SURGICAL GLOVES 7.0, PAIR", u"OS", ItemKind::Other, 55},
    Item{u"OS2021", u"SURGICAL GLOVES 7.5, PAIR", u"OS", ItemKind::Other, 55},
    Item{u"OS2022", u"SKIN STAPLER, 35 STAPLES", u"OS", ItemKind::Other, 1850},
    Item{u"OS2023", u"CLOSED WOUND DRAIN, 400 ML", u"OS", ItemKind::Other, 1400},
    Item{u"OS2024", u"NASOGASTRIC TUBE FR 16", u"OS", ItemKind::Other, 85},
    Item{u"OS2025", u"SUCTION CATHETER FR 14", u"OS", ItemKind::Other, 40},
    Item{u"OS2026", u"CHEST TUBE FR 28", u"OS", ItemKind::Other, 750},
    Item{u"OS2027", u"BONE WAX", u"OS", ItemKind::Other, 420},
    Item{u"OS2028", u"ABSORBABLE HEMOSTAT, 5 X 7 CM", u"OS", ItemKind::Other, 2600},
    Item{u"OS2029", u"HERNIA MESH, POLYPROPYLENE 15 X 15 CM", u"OS", ItemKind::Other, 4800},
    Item{u"OS2030", u"TROCAR, 10 MM DISPOSABLE", u"OS", ItemKind::Other, 3900},
    Item{u"OS2031", u"LIGATING CLIPS, MEDIUM-LARGE", u"OS", ItemKind::Other, 2100},
    Item{u"OS2032", u"TRANSPARENT FILM DRESSING", u"OS", ItemKind::Other, 160},
    Item{u"OE3001", u"C-ARM FLUOROSCOPY USE", u"OE", ItemKind::Other, 3500},
    Item{u"OE3002", u"LAPAROSCOPIC TOWER USE", u"OE", ItemKind::Other, 6000},
    Item{u"OE3003", u"ELECTROSURGICAL UNIT USE", u"OE", ItemKind::Other, 1500},
    Item{u"OE3004", u"ULTRASONIC SCALPEL USE", u"OE", ItemKind::Other, 8000},
    Item{u"OE3005", u"OPERATING MICROSCOPE USE", u"OE", ItemKind::Other, 5000},
    Item{u"OE3006", u"HEART-LUNG MACHINE USE", u"OE", ItemKind::Other, 45000},
    Item{u"OE3007", u"PNEUMATIC TOURNIQUET USE", u"OE", ItemKind::Other, 1200},
    Item{u"OE3008", u"FORCED-AIR PATIENT WARMER", u"OE", ItemKind::Other, 800},
    Item{u"OE3009", u"SUCTION MACHINE USE", u"OE", ItemKind::Other, 500},
    Item{u"OE3010", u"DEFIBRILLATOR USE", u"OE", ItemKind::Other, 1500},
    Item{u"AN4001", u"ANESTHESIA MACHINE, FIRST HOUR", u"AN", ItemKind::Other, 2500},
    Item{u"AN4002", u"ANESTHESIA MACHINE, SUCCEEDING HOUR", u"AN", ItemKind::Other, 1200},
    Item{u"AN4003", u"SPINAL ANESTHESIA KIT", u"AN", ItemKind::Other, 1800},
    Item{u"AN4004", u"EPIDURAL ANESTHESIA KIT", u"AN", ItemKind::Other, 3500},
    Item{u"AN4005", u"BREATHING CIRCUIT, ADULT", u"AN", ItemKind::Other, 900},
    Item{u"AN4006", u"LARYNGEAL MASK AIRWAY", u"AN", ItemKind::Other, 2200},
    Item{u"AN4007", u"ENDOTRACHEAL TUBE, CUFFED", u"AN", ItemKind::Other, 450},
    Item{u"AN4008", u"CARDIAC MONITOR USE", u"AN", ItemKind::Other, 800},
    Item{u"AN4009", u"PULSE OXIMETER USE", u"AN", ItemKind::Other, 300},
    Item{u"OX5001", u"OXYGEN, PIPE-IN PER HOUR", u"OX", ItemKind::Other, 150},
    Item{u"OX5002", u"OXYGEN, TANK PER 100 PSI", u"OX", ItemKind::Other, 220},
    Item{u"OX5003", u"NASAL CANNULA SET", u"OX", ItemKind::Other, 150},
    Item{u"OX5004", u"OXYGEN FACE MASK", u"OX", ItemKind::Other, 200},
    Item{u"OX5005", u"NITROUS OXIDE, PER HOUR", u"OX", ItemKind::Other, 600},
    Item{u"OX5006", u"MEDICAL AIR, PER HOUR", u"OX", ItemKind::Other, 120},
    Item{u"DR6001", u"DELIVERY ROOM FEE", u"DR", ItemKind::Other, 4000},
    Item{u"DR6002", u"DELIVERY SET USE", u"DR", ItemKind::Other, 1500},
    Item{u"DR6003", u"UMBILICAL CORD CLAMP", u"DR", ItemKind::Other, 50},
};

const Item &itemByCode(QStringView code)
{
    for (const Item &i : kItems) {
        if (i.code == code)
            return i;
    }
    Q_UNREACHABLE();
}

// The price of a rate letter, in centavos, as a percentage of the ward rate: F is the charity
// class, H the HMO rate, I the ER rate. Prices are rounded the way the price list is kept.
qint64 rateCentavos(qint64 rateA, QChar letter)
{
    static const QMap<QChar, int> percent = {
        {u'A', 100}, {u'B', 110}, {u'C', 125}, {u'D', 140}, {u'E', 160},
        {u'F', 80},  {u'G', 175}, {u'H', 120}, {u'I', 115},
    };
    const qint64 raw = rateA * percent.value(letter, 100); // pesos times percent: centavos
    const qint64 step = rateA >= 10000 ? 5000 : rateA >= 100 ? 500 : 100; // P50, P5, P1
    return (raw + step / 2) / step * step;
}

struct Room
{
    QString id;
    QString description;
    QChar rateClass;
    qint64 rate; // pesos a day
    QString station;
};

QList<Room> hospitalRooms()
{
    QList<Room> rooms;
    for (int r = 201; r <= 206; ++r) {
        for (QChar bed : {u'A', u'B', u'C', u'D'})
            rooms.append({QString::number(r) + u'-' + bed, QStringLiteral("WARD"), u'A', 850,
                          QStringLiteral("2N")});
    }
    for (int r = 301; r <= 308; ++r) {
        for (QChar bed : {u'A', u'B'})
            rooms.append({QString::number(r) + u'-' + bed, QStringLiteral("SEMI-PRIVATE"), u'B',
                          1800, QStringLiteral("3N")});
    }
    for (int r = 401; r <= 414; ++r)
        rooms.append(
            {QString::number(r), QStringLiteral("PRIVATE"), u'C', 3200, QStringLiteral("4N")});
    for (int r = 501; r <= 504; ++r)
        rooms.append(
            {QString::number(r), QStringLiteral("SUITE"), u'D', 6500, QStringLiteral("5N")});
    for (int b = 1; b <= 6; ++b)
        rooms.append({QStringLiteral("ICU-%1").arg(b, 2, 10, QLatin1Char('0')),
                      QStringLiteral("INTENSIVE CARE UNIT"), u'E', 7500, QStringLiteral("ICU")});
    return rooms;
}

struct Company
{
    QStringView account, name, type, address;
};

constexpr std::array kCompanies{
    Company{u"1101", u"BAYANIHAN HEALTH PLANS, INC.", u"H", u"ORTIGAS CENTER, PASIG CITY"},
    Company{u"1102", u"LUZVIMINDA CARE HMO CORPORATION", u"H", u"AYALA AVENUE, MAKATI CITY"},
    Company{u"1103", u"PACIFIC LINGAP HEALTHCARE, INC.", u"H", u"EDSA, QUEZON CITY"},
    Company{u"1104", u"KALUSUGAN FIRST HMO, INC.", u"H", u"BONIFACIO GLOBAL CITY, TAGUIG"},
    Company{u"1105", u"ISLA MEDICAL SHIELD CORPORATION", u"H", u"CEBU BUSINESS PARK, CEBU CITY"},
    Company{u"2101", u"MAKILING STEEL AND WIRE CORPORATION", u"C", u"LIGTASAN, SAN BARTOLOME"},
    Company{u"2102", u"TALAHIB ELECTRONICS PHILS., INC.", u"C", u"TECHNOPARK, SAN BARTOLOME"},
    Company{u"2103", u"RURAL BANK OF SAN BARTOLOME", u"C", u"POBLACION, SAN BARTOLOME"},
    Company{u"2104", u"LAGUNA AGRO-INDUSTRIAL COOPERATIVE", u"C", u"BAY, LAGUNA"},
    Company{u"2105", u"CITY GOVERNMENT OF SAN BARTOLOME", u"C", u"CITY HALL, SAN BARTOLOME"},
    Company{u"3101", u"PANATAG LIFE AND HEALTH INSURANCE", u"I", u"BUENDIA, MAKATI CITY"},
};

// ---------------------------------------------------------------------------------------------
// People. Surnames come first by how common they are; the draw favours the top of the list.

constexpr std::array<QStringView, 84> kSurnames{
    u"SANTOS",    u"REYES",     u"CRUZ",      u"DELA CRUZ", u"GARCIA",    u"BAUTISTA",
    u"MENDOZA",   u"OCAMPO",    u"TORRES",    u"CASTILLO",  u"FLORES",    u"VILLANUEVA",
    u"RAMOS",     u"CASTRO",    u"RIVERA",    u"AQUINO",    u"NAVARRO",   u"SALAZAR",
    u"MERCADO",   u"DE LEON",   u"GONZALES",  u"LOPEZ",     u"HERNANDEZ", u"PEREZ",
    u"DIZON",     u"SANTIAGO",  u"PASCUAL",   u"SORIANO",   u"VALDEZ",    u"DOMINGO",
    u"GUTIERREZ", u"MORALES",   u"DE GUZMAN", u"MANALO",    u"AGUILAR",   u"DIAZ",
    u"ROSALES",   u"CORPUZ",    u"SARMIENTO", u"LIM",       u"TAN",       u"GO",
    u"CHUA",      u"SY",        u"ONG",       u"ABAD",      u"ALCANTARA", u"BALUYOT",
    u"CABRERA",   u"DAVID",     u"ESPIRITU",  u"FERNANDEZ", u"GALANG",    u"IBARRA",
    u"JAVIER",    u"LACSON",    u"MACARAEG",  u"NARVAEZ",   u"OLIVEROS",  u"PANGILINAN",
    u"QUIMPO",    u"SALVADOR",  u"TOLENTINO", u"UMALI",     u"VELASCO",   u"YAP",
    u"ZAMORA",    u"DIMAANO",   u"ESGUERRA",  u"LAGMAN",    u"MALLARI",   u"PUNZALAN",
    u"SISON",     u"CATACUTAN", u"PEÑA",      u"DELA PEÑA", u"MAÑALAC",   u"DE LOS REYES",
    u"BUNDALIAN", u"D'ANGELO",  u"TOLEDO",    u"MAGPANTAY", u"PEÑAFLOR",  u"BACANI",
};

struct FirstName
{
    QStringView name;
    QChar sex;
};

constexpr std::array kFirstNames{
    FirstName{u"JUAN", u'M'},         FirstName{u"JOSE", u'M'},
    FirstName{u"ANTONIO", u'M'},      FirstName{u"PEDRO", u'M'},
    FirstName{u"MANUEL", u'M'},       FirstName{u"RICARDO", u'M'},
    FirstName{u"EDUARDO", u'M'},      FirstName{u"ROBERTO", u'M'},
    FirstName{u"FERNANDO", u'M'},     FirstName{u"DANILO", u'M'},
    FirstName{u"ROMEO", u'M'},        FirstName{u"ERNESTO", u'M'},
    FirstName{u"RODOLFO", u'M'},      FirstName{u"ARNEL", u'M'},
    FirstName{u"RODEL", u'M'},        FirstName{u"JOMAR", u'M'},
    FirstName{u"MARK ANTHONY", u'M'}, FirstName{u"JOHN PAUL", u'M'},
    FirstName{u"JOHN MICHAEL", u'M'}, FirstName{u"JAYSON", u'M'},
    FirstName{u"RONNIE", u'M'},       FirstName{u"RENATO", u'M'},
    FirstName{u"ALFREDO", u'M'},      FirstName{u"ARMANDO", u'M'},
    FirstName{u"BENJAMIN", u'M'},     FirstName{u"CARLO", u'M'},
    FirstName{u"DENNIS", u'M'},       FirstName{u"EMMANUEL", u'M'},
    FirstName{u"FELIPE", u'M'},       FirstName{u"GILBERT", u'M'},
    FirstName{u"HERMINIO", u'M'},     FirstName{u"ISIDRO", u'M'},
    FirstName{u"JERICHO", u'M'},      FirstName{u"KENNETH", u'M'},
    FirstName{u"LEONARDO", u'M'},     FirstName{u"MICHAEL", u'M'},
    FirstName{u"NESTOR", u'M'},       FirstName{u"OSCAR", u'M'},
    FirstName{u"PAOLO", u'M'},        FirstName{u"RAFAEL", u'M'},
    FirstName{u"SANTIAGO", u'M'},     FirstName{u"TEODORO", u'M'},
    FirstName{u"VIRGILIO", u'M'},     FirstName{u"WILFREDO", u'M'},
    FirstName{u"ZALDY", u'M'},        FirstName{u"CHRISTIAN", u'M'},
    FirstName{u"ANGELO", u'M'},       FirstName{u"NIÑO", u'M'},
    FirstName{u"JOSHUA", u'M'},       FirstName{u"NATHANIEL", u'M'},
    FirstName{u"MARIA", u'F'},        FirstName{u"MA. TERESA", u'F'},
    FirstName{u"MA. LUISA", u'F'},    FirstName{u"ANA", u'F'},
    FirstName{u"ROSARIO", u'F'},      FirstName{u"CORAZON", u'F'},
    FirstName{u"LOURDES", u'F'},      FirstName{u"ERLINDA", u'F'},
    FirstName{u"NORMA", u'F'},        FirstName{u"GLORIA", u'F'},
    FirstName{u"REMEDIOS", u'F'},     FirstName{u"LETICIA", u'F'},
    FirstName{u"ROWENA", u'F'},       FirstName{u"MARICEL", u'F'},
    FirstName{u"MARILOU", u'F'},      FirstName{u"LIEZL", u'F'},
    FirstName{u"KRISTINE", u'F'},     FirstName{u"KRISTINE JOY", u'F'},
    FirstName{u"JENNIFER", u'F'},     FirstName{u"MICHELLE", u'F'},
    FirstName{u"ANGELICA", u'F'},     FirstName{u"CHERRY MAE", u'F'},
    FirstName{u"JOANNA", u'F'},       FirstName{u"RICA", u'F'},
    FirstName{u"PRINCESS", u'F'},     FirstName{u"ARLENE", u'F'},
    FirstName{u"BEATRIZ", u'F'},      FirstName{u"CECILIA", u'F'},
    FirstName{u"DOLORES", u'F'},      FirstName{u"EDNA", u'F'},
    FirstName{u"FLORDELIZA", u'F'},   FirstName{u"GRACE", u'F'},
    FirstName{u"HAZEL", u'F'},        FirstName{u"IMELDA", u'F'},
    FirstName{u"JOCELYN", u'F'},      FirstName{u"LORNA", u'F'},
    FirstName{u"MYRNA", u'F'},        FirstName{u"NENITA", u'F'},
    FirstName{u"OFELIA", u'F'},       FirstName{u"PERLA", u'F'},
    FirstName{u"REGINA", u'F'},       FirstName{u"SHEILA", u'F'},
    FirstName{u"TERESITA", u'F'},     FirstName{u"VILMA", u'F'},
    FirstName{u"YOLANDA", u'F'},      FirstName{u"ZENAIDA", u'F'},
    FirstName{u"ANALYN", u'F'},       FirstName{u"CAMILLE", u'F'},
    FirstName{u"DIANNE", u'F'},       FirstName{u"MARIA CLARA", u'F'},
    FirstName{u"STEPHANIE", u'F'},    FirstName{u"PATRICIA", u'F'},
};

struct Place
{
    QStringView town, province, zip;
};

constexpr std::array kPlaces{
    Place{u"SAN BARTOLOME CITY", u"LAGUNA", u"4035"},
    Place{u"SAN BARTOLOME CITY", u"LAGUNA", u"4035"},
    Place{u"SAN BARTOLOME CITY", u"LAGUNA", u"4035"},
    Place{u"CALAMBA CITY", u"LAGUNA", u"4027"},
    Place{u"LOS BAÑOS", u"LAGUNA", u"4030"},
    Place{u"BAY", u"LAGUNA", u"4033"},
    Place{u"CABUYAO CITY", u"LAGUNA", u"4025"},
    Place{u"STO. TOMAS", u"BATANGAS", u"4234"},
    Place{u"TANAUAN CITY", u"BATANGAS", u"4232"},
    Place{u"SILANG", u"CAVITE", u"4118"},
    Place{u"CARMONA", u"CAVITE", u"4116"},
    Place{u"TAGUIG CITY", u"METRO MANILA", u"1630"},
};

constexpr std::array<QStringView, 14> kBarangays{
    u"POBLACION",       u"MALIWANAG", u"SAN ISIDRO", u"STO. NIÑO", u"BAGONG SILANG",
    u"MAHABANG PARANG", u"LIGTASAN",  u"PAG-ASA",    u"SAN ROQUE", u"MABINI",
    u"BUROL",           u"BALIBAGO",  u"PARIAN",     u"CANLALAY",
};

constexpr std::array<QStringView, 12> kStreets{
    u"RIZAL ST.",      u"MABINI ST.",      u"BONIFACIO ST.", u"LUNA ST.",
    u"QUEZON AVE.",    u"BURGOS ST.",      u"JACINTO ST.",   u"DEL PILAR ST.",
    u"SAMPAGUITA ST.", u"ILANG-ILANG ST.", u"NARRA ST.",     u"MOLAVE ST.",
};

constexpr std::array<QStringView, 8> kBloodTypes{u"O+", u"O+",  u"A+", u"B+",
                                                 u"O+", u"AB+", u"A-", u"O-"};

constexpr std::array<QStringView, 10> kOccupations{
    u"HOUSEWIFE", u"TEACHER",        u"FARMER",   u"DRIVER", u"OFFICE EMPLOYEE",
    u"VENDOR",    u"FACTORY WORKER", u"SEAFARER", u"NURSE",  u"ENGINEER"};

// Surgical cases: the admitting diagnosis, the operation and who does it.
struct SurgicalCase
{
    QStringView diagnosis, complaint, procedure, specialization;
    QChar sex; ///< 'F' or 'M' when only one sex has this operation, else ' '
    int minAge, maxAge;
    QStringView category;
    int minutes; ///< usual length of the operation
};

constexpr std::array kCases{
    SurgicalCase{u"ACUTE APPENDICITIS", u"RIGHT LOWER QUADRANT PAIN", u"OR1001", u"GENERAL SURGERY",
                 u' ', 8, 80, u"MAJOR", 90},
    SurgicalCase{u"ACUTE APPENDICITIS", u"ABDOMINAL PAIN, FEVER", u"OR1002", u"GENERAL SURGERY",
                 u' ', 12, 70, u"MAJOR", 90},
    SurgicalCase{u"CHOLELITHIASIS", u"RECURRENT RIGHT UPPER QUADRANT PAIN", u"OR1004",
                 u"GENERAL SURGERY", u' ', 25, 80, u"MAJOR", 120},
    SurgicalCase{u"CHOLEDOCHOLITHIASIS", u"JAUNDICE, ABDOMINAL PAIN", u"OR1054", u"GENERAL SURGERY",
                 u' ', 30, 85, u"MAJOR", 90},
    SurgicalCase{u"INGUINAL HERNIA, RIGHT, REDUCIBLE", u"GROIN MASS", u"OR1006", u"GENERAL SURGERY",
                 u'M', 20, 85, u"MAJOR", 90},
    SurgicalCase{u"BREAST MASS, LEFT", u"PALPABLE BREAST LUMP", u"OR1009", u"GENERAL SURGERY", u'F',
                 20, 70, u"MINOR", 60},
    SurgicalCase{u"BREAST CARCINOMA, STAGE II", u"BREAST MASS", u"OR1008", u"GENERAL SURGERY", u'F',
                 35, 80, u"MAJOR", 180},
    SurgicalCase{u"NODULAR NON-TOXIC GOITER", u"ANTERIOR NECK MASS", u"OR1010", u"GENERAL SURGERY",
                 u' ', 25, 75, u"MAJOR", 150},
    SurgicalCase{u"PERFORATED PEPTIC ULCER", u"SUDDEN SEVERE EPIGASTRIC PAIN", u"OR1017",
                 u"GENERAL SURGERY", u' ', 30, 85, u"MAJOR", 120},
    SurgicalCase{u"DIABETIC FOOT INFECTION", u"NON-HEALING FOOT WOUND", u"OR1014",
                 u"GENERAL SURGERY", u' ', 40, 85, u"MINOR", 60},
    SurgicalCase{u"PREGNANCY UTERINE 39 WEEKS, CEPHALOPELVIC DISPROPORTION", u"LABOR PAINS",
                 u"OR1018", u"OBSTETRICS AND GYNECOLOGY", u'F', 18, 42, u"MAJOR", 75},
    SurgicalCase{u"PREGNANCY UTERINE 38 WEEKS, PREVIOUS CESAREAN SECTION", u"LABOR PAINS",
                 u"OR1019", u"OBSTETRICS AND GYNECOLOGY", u'F', 20, 42, u"MAJOR", 75},
    SurgicalCase{u"PREGNANCY UTERINE 39 WEEKS IN LABOR", u"LABOR PAINS", u"OR1020",
                 u"OBSTETRICS AND GYNECOLOGY", u'F', 18, 40, u"MINOR", 60},
    SurgicalCase{u"MYOMA UTERI", u"HEAVY MENSTRUAL BLEEDING", u"OR1022",
                 u"OBSTETRICS AND GYNECOLOGY", u'F', 35, 60, u"MAJOR", 150},
    SurgicalCase{u"INCOMPLETE ABORTION", u"VAGINAL BLEEDING", u"OR1021",
                 u"OBSTETRICS AND GYNECOLOGY", u'F', 18, 42, u"MINOR", 30},
    SurgicalCase{u"CLOSED FRACTURE, FEMUR, MIDSHAFT", u"THIGH PAIN AFTER FALL", u"OR1026",
                 u"ORTHOPEDICS", u' ', 15, 85, u"MAJOR", 180},
    SurgicalCase{u"CLOSED FRACTURE, DISTAL RADIUS", u"WRIST PAIN AFTER FALL", u"OR1027",
                 u"ORTHOPEDICS", u' ', 10, 85, u"MAJOR", 120},
    SurgicalCase{u"OSTEOARTHRITIS, KNEE, SEVERE", u"CHRONIC KNEE PAIN", u"OR1030", u"ORTHOPEDICS",
                 u' ', 55, 85, u"MAJOR", 180},
    SurgicalCase{u"BENIGN PROSTATIC HYPERPLASIA", u"DIFFICULTY OF URINATION", u"OR1033", u"UROLOGY",
                 u'M', 55, 88, u"MAJOR", 90},
    SurgicalCase{u"URETEROLITHIASIS, LEFT", u"FLANK PAIN", u"OR1035", u"UROLOGY", u' ', 25, 75,
                 u"MAJOR", 90},
    SurgicalCase{u"CHRONIC TONSILLITIS", u"RECURRENT SORE THROAT", u"OR1038",
                 u"OTORHINOLARYNGOLOGY", u' ', 5, 40, u"MINOR", 60},
    SurgicalCase{u"SENILE CATARACT, RIGHT EYE", u"BLURRING OF VISION", u"OR1041", u"OPHTHALMOLOGY",
                 u' ', 50, 90, u"MINOR", 45},
    SurgicalCase{u"CHRONIC SUBDURAL HEMATOMA", u"HEADACHE, WEAKNESS", u"OR1044", u"NEUROSURGERY",
                 u' ', 50, 90, u"MAJOR", 120},
    SurgicalCase{u"CORONARY ARTERY DISEASE, THREE-VESSEL", u"CHEST PAIN ON EXERTION", u"OR1047",
                 u"THORACIC AND CARDIOVASCULAR SURGERY", u' ', 45, 80, u"MAJOR", 300},
    SurgicalCase{u"RHEUMATIC HEART DISEASE, MITRAL STENOSIS", u"EASY FATIGABILITY, DYSPNEA",
                 u"OR1048", u"THORACIC AND CARDIOVASCULAR SURGERY", u' ', 20, 65, u"MAJOR", 300},
    SurgicalCase{u"ATRIAL SEPTAL DEFECT, SECUNDUM", u"DYSPNEA ON EXERTION", u"OR1050",
                 u"THORACIC AND CARDIOVASCULAR SURGERY", u' ', 5, 45, u"MAJOR", 240},
    SurgicalCase{u"COMPLETE HEART BLOCK", u"DIZZINESS, SYNCOPE", u"OR1051",
                 u"THORACIC AND CARDIOVASCULAR SURGERY", u' ', 55, 90, u"MAJOR", 90},
    SurgicalCase{u"UPPER GASTROINTESTINAL BLEEDING", u"BLACK TARRY STOOLS", u"OR1052",
                 u"GENERAL SURGERY", u' ', 30, 85, u"MINOR", 30},
    SurgicalCase{u"UNDESCENDED TESTIS, RIGHT", u"EMPTY SCROTUM", u"OR1057", u"PEDIATRIC SURGERY",
                 u'M', 1, 10, u"MAJOR", 60},
};

bool isHeartCase(const SurgicalCase &c)
{
    return c.specialization == u"THORACIC AND CARDIOVASCULAR SURGERY";
}

constexpr std::array<QStringView, 8> kMedicalDiagnoses{
    u"COMMUNITY-ACQUIRED PNEUMONIA, MODERATE RISK",
    u"DENGUE FEVER WITH WARNING SIGNS",
    u"ACUTE GASTROENTERITIS WITH MODERATE DEHYDRATION",
    u"URINARY TRACT INFECTION",
    u"HYPERTENSIVE URGENCY",
    u"TYPE 2 DIABETES MELLITUS, UNCONTROLLED",
    u"CONGESTIVE HEART FAILURE",
    u"ACUTE ISCHEMIC STROKE"};

struct OutpatientReason
{
    QStringView complaint;
    bool er;
};

constexpr std::array kOutpatientReasons{
    OutpatientReason{u"LACERATED WOUND, LEFT HAND", true},
    OutpatientReason{u"ABDOMINAL PAIN", true},
    OutpatientReason{u"CHEST PAIN", true},
    OutpatientReason{u"HIGH GRADE FEVER", true},
    OutpatientReason{u"VEHICULAR ACCIDENT, ABRASIONS", true},
    OutpatientReason{u"DOG BITE, RIGHT LEG", true},
    OutpatientReason{u"DIFFICULTY OF BREATHING", true},
    OutpatientReason{u"FOR CIRCUMCISION", false},
    OutpatientReason{u"FOR EXCISION OF LIPOMA, BACK", false},
    OutpatientReason{u"FOR UPPER GI ENDOSCOPY", false},
    OutpatientReason{u"FOR COLONOSCOPY", false},
    OutpatientReason{u"FOR PTERYGIUM EXCISION", false},
    OutpatientReason{u"FOR REMOVAL OF SUTURES", false},
    OutpatientReason{u"FOR WOUND DRESSING", false},
};

// ---------------------------------------------------------------------------------------------
// The generator.

enum class StayKind { Inpatient, Outpatient, Emergency };

struct Patient
{
    QString hospNum, lastName, firstName, middleName, suffix;
    QChar sex;
    QDate birthDate;
    int age = 0;
    QDateTime created;
};

struct Stay
{
    int patient = 0;
    StayKind kind = StayKind::Inpatient;
    QDateTime admitted, discharged, billed;
    QString idNum, erNum, account, account2, room, doctor, doctor2, precaution, package;
    bool cashBasis = false;
    bool cvor = false;
    bool revoked = false;
    int surgicalCase = -1; // index into kCases
    QString diagnosis, complaint;
};

class DemoBuilder
{
public:
    DemoBuilder(const QDate &today, quint64 seed)
        : m_today(today)
        , m_rng(seed)
    {
    }

    QList<TableRows> build();

private:
    void addSettings();
    void addMasterFiles();
    void addEmployees();
    void addPatients();
    void addStays();
    void addStayRows();
    void addSchedules();
    void addCharges();
    void addStationLogs();
    void addOperatingRoomHistory();
    void addLaboratoryResults();
    void addStockCard();
    void addRequestLogs();
    void addFormularyAndDialysisWare();
    void addReceivableCodesAndWardMedicines();
    void addReferralsVesselsAndAdmittingCodes();
    void addOperationChecksAndRecordUpdates();
    void addPricingData();
    void addPricingPatients();
    void addChargeEntryData();
    void addPatientListNamesakes();

    /// Where the hospital's numbers stand after the stays made so far, and the rooms someone
    /// is in: patients added late take the next numbers and the empty rooms.
    struct Numbering
    {
        qint64 hospNum = 0;
        qint64 inpatientNo = 0;
        qint64 outpatientNo = 0;
        qint64 erNo = 0;
        QSet<QString> occupied;
    };
    Numbering numbering() const;

    /// Writes station log entries of the OR (IdNum, TransDate, Remarks, UserID, HostName) in
    /// the order of their times.
    void addOrStationLogs(QList<QVariantList> entries);

    TableRows &table(const QString &name, const QStringList &columns)
    {
        // A deque keeps earlier tables where they are, so a function may hold several.
        m_tables.push_back(TableRows{name, columns, {}});
        return m_tables.back();
    }
    QDateTime at(int daysAgo, int minutesIntoDay) const
    {
        return QDateTime(m_today.addDays(-daysAgo), QTime(0, 0).addSecs(minutesIntoDay * 60));
    }
    QString pickAccount(const QString &hospNum);
    int pickCase(const Patient &p);
    QChar rateClassOf(const Stay &s) const;
    QString patientName(const Patient &p) const
    {
        return p.lastName + QStringLiteral(", ") + p.firstName + u' ' + p.middleName;
    }

    QDate m_today;
    DemoRandom m_rng;
    std::deque<TableRows> m_tables;
    QList<Room> m_rooms = hospitalRooms();
    QList<Patient> m_patients;
    QList<Stay> m_stays;
    QList<int> m_currentInpatients; // indexes into m_stays
};

QList<TableRows> DemoBuilder::build()
{
    addSettings();
    addMasterFiles();
    addEmployees();
    addPatients();
    addStays();
    addStayRows();
    addSchedules();
    addCharges();
    addStationLogs();
    addOperatingRoomHistory();
    addLaboratoryResults();
    addStockCard();
    addRequestLogs();
    addFormularyAndDialysisWare();
    addReceivableCodesAndWardMedicines();
    addReferralsVesselsAndAdmittingCodes();
    addOperationChecksAndRecordUpdates();
    addPricingData();
    addChargeEntryData();
    addPatientListNamesakes();
    return QList<TableRows>(m_tables.begin(), m_tables.end());
}

void DemoBuilder::addSettings()
{
    TableRows &info = table(QStringLiteral("PATIENT_DATA..tbHospitalInfo"),
                            {QStringLiteral("Company"),
                             QStringLiteral("Address1"),
                             QStringLiteral("MTSServerName"),
                             QStringLiteral("clientname"),
                             QStringLiteral("Bygeneric"),
                             QStringLiteral("IsNursePrint"),
                             QStringLiteral("IsLBDirectCharging"),
                             QStringLiteral("IsXRDirectCharging"),
                             QStringLiteral("IsShowAmount"),
                             QStringLiteral("IsPrintChargeSlip"),
                             QStringLiteral("IsAllowZeroAmountForORProcedures"),
                             QStringLiteral("IsAllowSupervisorCodeForCancellationOfCharges"),
                             QStringLiteral("IsAllowEntryOfReasonForCancellation"),
                             QStringLiteral("PSIOxygenComputationType"),
                             QStringLiteral("isstat"),
                             QStringLiteral("CashStatRate"),
                             QStringLiteral("AllowZeroOnHand"),
                             QStringLiteral("isORTechPrint"),
                             QStringLiteral("IsAllowEditAmount"),
                             QStringLiteral("IsShowMarkUp"),
                             QStringLiteral("OREditSchedProcedure"),
                             QStringLiteral("OR_AllowEditScheduleDateTime"),
                             QStringLiteral("VSAllowINC")});
    // clientname stays empty: the demo is no particular client, so no client-specific menus.
    info.add({kCompany,  kAddress, QStringLiteral("HIS-SERVER"),
              QString(), 0,        1,
              1,         1,        1,
              1,         0,        1,
              1,         1,        1,
              30.0,      0,        1,
              0,         0,        1,
              1,         1});

    TableRows &station =
        table(QStringLiteral("STATION..tbNursing_Settings"),
              {QStringLiteral("ORNoPreprinted"), QStringLiteral("AllowAfterTimeRate"),
               QStringLiteral("ORAfterTime"), QStringLiteral("AutoORMarkUp"),
               QStringLiteral("AfterTimeStatHours"), QStringLiteral("SecProcPercentDiscount"),
               QStringLiteral("ShowPrecautions"), QStringLiteral("ORCategoryAuto"),
               QStringLiteral("NoRequestingAfterFinalNotice"), QStringLiteral("PrintPHCSRequest"),
               QStringLiteral("AppendDrugDescCharge"), QStringLiteral("AssessmentMaxItems"),
               QStringLiteral("AllowEditDeleteVitalSigns"), QStringLiteral("OREditSchedProcedure"),
               QStringLiteral("OR_AllowEditScheduleDateTime"), QStringLiteral("ORAfterTimeRate")});
    // After-time runs from 5 PM for fourteen hours, to 7 AM.
    station.add({0, 1, QStringLiteral("17:00"), 1, 14, 50, 1, 1, 1, 1, 1, 15, 1, 1, 1, 30});

    TableRows &setup =
        table(QStringLiteral("STATION..tbNurseSetup"),
              {QStringLiteral("Field"), QStringLiteral("value"), QStringLiteral("Description")});
    static constexpr QStringView switches[][3] = {
        {u"EnableCVORTag", u"1", u"Tag patients as CVOR/RR cases from the patient list"},
        {u"OREnableNewPrecaution", u"1", u"Colour the patient list by precaution"},
        {u"ORNotifyRevokedRequests", u"1", u"Alert the OR of requests revoked by the wards"},
        {u"CheckCredLim", u"1", u"Check the patient's credit line before posting charges"},
        {u"ORShowCF4", u"1", u"Show the PhilHealth CF4 entry"},
        {u"ORPrintCF4", u"1", u"Allow printing of the CF4"},
        {u"ShowEquipmentChargesReport", u"1", u"Show the equipment charges report"},
        {u"ORShowStocksMonitoring", u"1", u"Show the stock monitoring list"},
        {u"EnableORHMORate", u"1", u"HMO patients are charged at rate H"},
        {u"ORRateIforER", u"1", u"ER patients are charged at rate I"},
        {u"ORAllowEndoScheduling", u"1", u"Endoscopies may be booked on the board"},
        {u"ORRoomForEndo", u"ENDOSCOPY", u"Room that takes endoscopies"},
        {u"ORClinicalAssessmentRate", u"A", u"Rate letter of clinical assessments"},
        {u"ORInstrumentRevID", u"OR1105", u"Item code of the instrument handling fee"},
        {u"ORInstrumentHandlingFeeRate", u"500", u"Instrument handling fee per set"},
        {u"SystolicMax", u"250", u"Highest systolic pressure accepted in vital signs"},
        {u"DiastolicMin", u"40", u"Lowest diastolic pressure accepted in vital signs"},
        {u"ORShowOperationDone", u"1", u"Show the operation done on the OR record"},
        {u"ORShowSpecimen", u"1", u"Show the specimen on the OR record"},
        {u"ORRequireOperativeDiagnosis", u"1", u"Require the operative diagnosis"},
        {u"ExpandPostChargeList", u"1", u"Show posted charges expanded"},
        {u"CVORMainRevID", u"OR", u"Revenue code of CVOR procedures"},
        {u"ORUnderMaintenance", u"0",
         u"The Operating Room module is under maintenance. Please try again later."},
    };
    for (const auto &s : switches)
        setup.add({s[0].toString(), s[1].toString(), s[2].toString()});
}

void DemoBuilder::addMasterFiles()
{
    DemoRandom fixed(0x6b657374726c); // master data must not change with the patients' seed

    TableRows &doctors = table(QStringLiteral("BUILD_FILE..tbCoDoctor"),
                               {QStringLiteral("DoctorID"), QStringLiteral("LastName"),
                                QStringLiteral("FirstName"), QStringLiteral("MiddleName"),
                                QStringLiteral("Specialization"), QStringLiteral("PhilHealthNum"),
                                QStringLiteral("PHICExpireDate"), QStringLiteral("Status")});
    TableRows &fees =
        table(QStringLiteral("BUILD_FILE..tbCoDoctorBill"),
              {QStringLiteral("DoctorID"), QStringLiteral("RoomClassID"),
               QStringLiteral("Description"), QStringLiteral("Amount"), QStringLiteral("Status")});
    const QDate endOfYear(m_today.year(), 12, 31);
    for (std::size_t i = 0; i < kDoctors.size(); ++i) {
        const Doctor &d = kDoctors[i];
        // One draw per statement: the order of operands of + is up to the compiler.
        const QString panHead = padded(fixed.between(1000, 9999), 4);
        const QString panBody = padded(fixed.between(1000000, 9999999), 7);
        const QString pan = panHead + u'-' + panBody + u'-' + QString::number(fixed.below(10));
        // Two accreditations have lapsed and one doctor has none, so the checks have work.
        QVariant expiry = QDate(endOfYear);
        if (i == 6 || i == 19)
            expiry = endOfYear.addYears(-1);
        const bool accredited = i != 24;
        doctors.add({d.id.toString(), d.lastName.toString(), d.firstName.toString(),
                     d.middleName.toString(), d.specialization.toString(),
                     accredited ? pan : QString(), accredited ? expiry : QVariant(),
                     QStringLiteral("A")});
        if (d.specialization == u"INTERNAL MEDICINE" || d.specialization == u"CARDIOLOGY")
            continue;
        const qint64 base = d.specialization == u"ANESTHESIOLOGY" ? 8000 : 15000;
        for (QChar cls : {u'A', u'B', u'C', u'D', u'E'})
            fees.add({d.id.toString(), QString(cls), QStringLiteral("PROFESSIONAL FEE"),
                      pesos(rateCentavos(base, cls)), 1});
    }

    TableRows &rooms = table(QStringLiteral("BUILD_FILE..tbCoRoom"),
                             {QStringLiteral("RoomID"), QStringLiteral("Description"),
                              QStringLiteral("RoomClassID"), QStringLiteral("RoomRate"),
                              QStringLiteral("StationID")});
    for (const Room &r : std::as_const(m_rooms))
        rooms.add({r.id, r.description, QString(r.rateClass), pesos(r.rate * 100), r.station});

    TableRows &revenues =
        table(QStringLiteral("BUILD_FILE..tbCoRevenueCode"),
              {QStringLiteral("RevenueID"), QStringLiteral("ItemName"),
               QStringLiteral("LocationID"), QStringLiteral("StockCardRevenueID")});
    for (const Revenue &r : kRevenueCodes)
        revenues.add({r.id.toString(), r.name.toString(), r.location.toString(),
                      r.stockCardRevenue.toString()});

    TableRows &locations = table(QStringLiteral("INVENTORY..tbInvLocation"),
                                 {QStringLiteral("LocationID"), QStringLiteral("Location"),
                                  QStringLiteral("InventoryType")});
    locations.add({QStringLiteral("PHA"), QStringLiteral("PHARMACY"), QStringLiteral("D")});
    locations.add({QStringLiteral("CSR"), QStringLiteral("CENTRAL SUPPLY"), QStringLiteral("C")});
    TableRows &switches = table(QStringLiteral("INVENTORY..tbInvSwitch"),
                                {QStringLiteral("IDKey"), QStringLiteral("KeyValue")});
    switches.add({QStringLiteral("89"), QStringLiteral("0")});

    QStringList columns = {QStringLiteral("OtherRevenueID"), QStringLiteral("OtherRevenue"),
                           QStringLiteral("OtherSectionID"), QStringLiteral("SectionID"),
                           QStringLiteral("ORSection")};
    for (QChar letter = u'A'; letter <= u'I'; letter = QChar(letter.unicode() + 1))
        columns << QStringLiteral("Rate") + letter;
    TableRows &items = table(QStringLiteral("BUILD_FILE..tbCoOtherRevenue"), columns);
    for (const Item &i : kItems) {
        const bool procedure = i.kind == ItemKind::Procedure;
        QVariantList row = {i.code.toString(), i.name.toString(), i.department.toString(),
                            procedure ? QStringLiteral("PRC") : QString(),
                            procedure ? QStringLiteral("P") : QString()};
        for (QChar letter = u'A'; letter <= u'I'; letter = QChar(letter.unicode() + 1))
            row << pesos(rateCentavos(i.rateA, letter));
        items.add(row);
    }

    TableRows &companies = table(QStringLiteral("BUILD_FILE..tbCoCompany"),
                                 {QStringLiteral("AccountNum"), QStringLiteral("Company"),
                                  QStringLiteral("CompanyType"), QStringLiteral("Address")});
    for (const Company &c : kCompanies)
        companies.add(
            {c.account.toString(), c.name.toString(), c.type.toString(), c.address.toString()});

    TableRows &precautions = table(
        QStringLiteral("BUILD_FILE..tbCoPrecautions"),
        {QStringLiteral("PrecautionID"), QStringLiteral("Precaution"), QStringLiteral("Color")});
    precautions.add(
        {QStringLiteral("1"), QStringLiteral("STANDARD PRECAUTION"), bgr(255, 255, 255)});
    precautions.add({QStringLiteral("2"), QStringLiteral("CONTACT PRECAUTION"), bgr(255, 214, 0)});
    precautions.add({QStringLiteral("3"), QStringLiteral("DROPLET PRECAUTION"), bgr(0, 176, 80)});
    precautions.add({QStringLiteral("4"), QStringLiteral("AIRBORNE PRECAUTION"), bgr(0, 112, 192)});
    precautions.add(
        {QStringLiteral("5"), QStringLiteral("BLEEDING / FALL RISK PRECAUTION"), bgr(230, 0, 0)});

    TableRows &packages = table(QStringLiteral("BUILD_FILE..tbCoAdmPackage"),
                                {QStringLiteral("PackageID"), QStringLiteral("Package")});
    packages.add({QStringLiteral("PKG-CS"), QStringLiteral("CESAREAN SECTION PACKAGE")});
    packages.add({QStringLiteral("PKG-NSD"), QStringLiteral("NORMAL DELIVERY PACKAGE")});
    packages.add(
        {QStringLiteral("PKG-LC"), QStringLiteral("LAPAROSCOPIC CHOLECYSTECTOMY PACKAGE")});
    packages.add({QStringLiteral("PKG-CAT"), QStringLiteral("CATARACT SURGERY PACKAGE")});
    TableRows &exec = table(QStringLiteral("BUILD_FILE..tbExecPackageCode"),
                            {QStringLiteral("PackageID"), QStringLiteral("Description")});
    exec.add({QStringLiteral("EXEC-A"), QStringLiteral("EXECUTIVE CHECK-UP A")});
    exec.add({QStringLiteral("EXEC-B"), QStringLiteral("EXECUTIVE CHECK-UP B (WITH STRESS TEST)")});

    TableRows &complaints =
        table(QStringLiteral("BUILD_FILE..tbCoChiefComplaint"),
              {QStringLiteral("ChiefComplaintID"), QStringLiteral("ChiefComplaint")});
    for (std::size_t i = 0; i < kOutpatientReasons.size(); ++i)
        complaints.add({QStringLiteral("CC%1").arg(i + 1, 3, 10, QLatin1Char('0')),
                        kOutpatientReasons[i].complaint.toString()});

    TableRows &labs = table(
        QStringLiteral("BUILD_FILE..tbCoLabExam"),
        {QStringLiteral("LabExamID"), QStringLiteral("LabExam"), QStringLiteral("LabSectionID")});
    labs.add(
        {QStringLiteral("LB001"), QStringLiteral("COMPLETE BLOOD COUNT"), QStringLiteral("HEM")});
    labs.add({QStringLiteral("LB002"), QStringLiteral("PROTHROMBIN TIME"), QStringLiteral("HEM")});
    labs.add({QStringLiteral("LB003"), QStringLiteral("BLOOD TYPING"), QStringLiteral("BB")});
    labs.add({QStringLiteral("LB004"), QStringLiteral("CREATININE"), QStringLiteral("CHEM")});
    labs.add({QStringLiteral("LB005"), QStringLiteral("URINALYSIS"), QStringLiteral("CM")});
    labs.add({QStringLiteral("LB006"), QStringLiteral("HISTOPATHOLOGY, SMALL SPECIMEN"),
              QStringLiteral("HIS")});

    TableRows &vessels = table(QStringLiteral("BUILD_FILE..tbCoVessel"),
                               {QStringLiteral("VesselCode"), QStringLiteral("VesselName")});
    vessels.add({QStringLiteral("V001"), QStringLiteral("MV BITUIN NG SILANGAN")});
    vessels.add({QStringLiteral("V002"), QStringLiteral("MV LAKANDULA STAR")});
    vessels.add({QStringLiteral("V003"), QStringLiteral("MT HABAGAT PIONEER")});
    vessels.add({QStringLiteral("V004"), QStringLiteral("MV ALON MARINA")});

    TableRows &hospitals = table(
        QStringLiteral("BUILD_FILE..tbCoHospital"),
        {QStringLiteral("HospitalID"), QStringLiteral("HospitalName"), QStringLiteral("Address")});
    hospitals.add({QStringLiteral("H01"), QStringLiteral("SAN BARTOLOME DISTRICT HOSPITAL"),
                   QStringLiteral("POBLACION, SAN BARTOLOME CITY")});
    hospitals.add({QStringLiteral("H02"), QStringLiteral("LAGUNA LAKESHORE GENERAL HOSPITAL"),
                   QStringLiteral("BAY, LAGUNA")});
    hospitals.add({QStringLiteral("H03"), QStringLiteral("MALIGAYA CHILDREN'S HOSPITAL"),
                   QStringLiteral("CALAMBA CITY, LAGUNA")});
    hospitals.add({QStringLiteral("H04"), QStringLiteral("SOUTHERN TAGALOG HEART INSTITUTE"),
                   QStringLiteral("TANAUAN CITY, BATANGAS")});

    TableRows &holidays = table(QStringLiteral("BUILD_FILE..tbCoHoliday"),
                                {QStringLiteral("HolidayDate"), QStringLiteral("IsYearly"),
                                 QStringLiteral("HolidayName"), QStringLiteral("HolidayGreeting")});
    static constexpr QStringView yearly[][4] = {
        {u"1", u"1", u"NEW YEAR'S DAY", u"Happy New Year from the OR family!"},
        {u"4", u"9", u"ARAW NG KAGITINGAN", u"Mabuhay ang ating mga bayani!"},
        {u"5", u"1", u"LABOR DAY", u"Thank you for your hard work. Happy Labor Day!"},
        {u"6", u"12", u"INDEPENDENCE DAY", u"Maligayang Araw ng Kalayaan!"},
        {u"8", u"21", u"NINOY AQUINO DAY", u"Have a meaningful holiday."},
        {u"11", u"1", u"ALL SAINTS' DAY", u"Remember and honour our departed loved ones."},
        {u"11", u"30", u"BONIFACIO DAY", u"Maligayang Araw ni Bonifacio!"},
        {u"12", u"8", u"FEAST OF THE IMMACULATE CONCEPTION", u"A blessed feast day to all."},
        {u"12", u"25", u"CHRISTMAS DAY", u"Maligayang Pasko! Merry Christmas from the OR family."},
        {u"12", u"30", u"RIZAL DAY", u"Let us remember Dr. Jose Rizal today."},
    };
    for (const auto &h : yearly)
        holidays.add({QDate(m_today.year(), h[0].toInt(), h[1].toInt()), 1, h[2].toString(),
                      h[3].toString()});

    TableRows &admTypes =
        table(QStringLiteral("PATIENT_DATA..tbAdmissionType"),
              {QStringLiteral("AdmissionTypeID"), QStringLiteral("AdmissionType")});
    static constexpr QStringView types[][2] = {
        {u"1", u"REGULAR"},   {u"2", u"EMERGENCY"}, {u"3", u"ELECTIVE SURGERY"},
        {u"4", u"OBSTETRIC"}, {u"5", u"NEWBORN"},   {u"9", u"EMPLOYEE / DEPENDENT"}};
    for (const auto &t : types)
        admTypes.add({t[0].toString(), t[1].toString()});

    TableRows &phic = table(
        QStringLiteral("MEDICARE..tbAdmPHICTable"),
        {QStringLiteral("PHICCode"), QStringLiteral("PHICDescription"), QStringLiteral("Status")});
    static constexpr QStringView memberships[][2] = {
        {u"EP", u"EMPLOYED - PRIVATE"},   {u"EG", u"EMPLOYED - GOVERNMENT"},
        {u"IP", u"INDIVIDUALLY PAYING"},  {u"OF", u"OVERSEAS FILIPINO WORKER"},
        {u"SP", u"SPONSORED / INDIGENT"}, {u"SC", u"SENIOR CITIZEN"},
        {u"LM", u"LIFETIME MEMBER"},      {u"NH", u"NON-PHIC"}};
    for (const auto &m : memberships)
        phic.add({m[0].toString(), m[1].toString(), m[0] == u"NH" ? 0 : 1});

    TableRows &orRooms =
        table(QStringLiteral("SCHEDULE..tbORRoom"),
              {QStringLiteral("RoomID"), QStringLiteral("RoomName"), QStringLiteral("SortOrder"),
               QStringLiteral("RevenueID"), QStringLiteral("Status")});
    // OR 6 is closed for renovation; the endoscopy suite was added before the status column and
    // still has none, which counts as active.
    static constexpr QStringView orRoomNames[][2] = {
        {u"OR 1", u"Y"}, {u"OR 2", u"Y"}, {u"OR 3", u"Y"},     {u"OR 4", u"Y"}, {u"OR 5", u"Y"},
        {u"CVOR", u"Y"}, {u"DR 1", u"Y"}, {u"ENDOSCOPY", u""}, {u"OR 6", u"X"}};
    int roomId = 0;
    for (const auto &r : orRoomNames) {
        ++roomId;
        orRooms.add({roomId, r[0].toString(), roomId, QStringLiteral("OR"),
                     r[1].isEmpty() ? QVariant() : QVariant(r[1].toString())});
    }

    TableRows &procRooms = table(QStringLiteral("SCHEDULE..tbProcedureRoom"),
                                 {QStringLiteral("Code"), QStringLiteral("RoomID"),
                                  QStringLiteral("RoomName"), QStringLiteral("ProcedureDesc")});
    auto assign = [&](QStringView code, int room, QStringView roomName) {
        procRooms.add(
            {code.toString(), room, roomName.toString(), itemByCode(code).name.toString()});
    };
    for (QStringView code : {u"OR1047", u"OR1048", u"OR1049", u"OR1050", u"OR1051"})
        assign(code, 6, u"CVOR");
    for (QStringView code : {u"OR1020", u"OR1021"})
        assign(code, 7, u"DR 1");
    for (QStringView code : {u"OR1052", u"OR1053", u"OR1054", u"OR1055"})
        assign(code, 8, u"ENDOSCOPY");

    TableRows &board = table(QStringLiteral("SCHEDULE..tbORApplication"),
                             {QStringLiteral("StartTime"), QStringLiteral("DayLength"),
                              QStringLiteral("ScheduleIncrement")});
    board.add({6, 14, 15});
}

void DemoBuilder::addEmployees()
{
    TableRows &staff = table(
        QStringLiteral("Password..tbPasswordMaster"),
        {QStringLiteral("EmployeeID"), QStringLiteral("LastName"), QStringLiteral("FirstName"),
         QStringLiteral("MiddleName"), QStringLiteral("Initial"), QStringLiteral("PasswordHash"),
         QStringLiteral("DeptCode"), QStringLiteral("Designation"), QStringLiteral("StationID"),
         QStringLiteral("Status"), QStringLiteral("DateCreated")});
    TableRows &rights = table(QStringLiteral("STATION..tbNurseUserRights"),
                              {QStringLiteral("EmployeeID"), QStringLiteral("EmployeeRights"),
                               QStringLiteral("UserID"), QStringLiteral("TransDate")});
    const QDateTime hired = at(900, 8 * 60);
    for (const Employee &e : kEmployees) {
        const bool or_ = e.deptCode == u"29";
        staff.add({e.code.toString(), e.lastName.toString(), e.firstName.toString(),
                   e.middleName.toString(), e.initial.toString(), e.passwordHash.toString(),
                   e.deptCode.toString(), e.designation.toString(),
                   or_ ? QStringLiteral("OR") : QStringLiteral("4N"), QStringLiteral("A"), hired});
        if (!e.rights.isEmpty())
            rights.add({e.code.toString(), employeeRights(e), kEmployees[0].code.toString(),
                        hired.addDays(1)});
    }

    TableRows &catalogue =
        table(QStringLiteral("STATION..tbNurseUserSettings"),
              {QStringLiteral("ItemID"), QStringLiteral("Description"), QStringLiteral("Status")});
    for (const AccessRight &r : kAccessRights)
        catalogue.add({r.code.toString(), r.description.toString(), QStringLiteral("A")});
}

void DemoBuilder::addPatients()
{
    constexpr int kPatients = 320;
    qint64 hospNum = 153000;
    for (int i = 0; i < kPatients; ++i) {
        Patient p;
        hospNum += m_rng.between(1, 9);
        p.hospNum = padded(hospNum, 8);
        p.lastName = kSurnames[std::size_t(m_rng.skewed(int(kSurnames.size())))].toString();
        const FirstName &first = m_rng.pick(kFirstNames);
        p.firstName = first.name.toString();
        p.sex = first.sex;
        p.middleName = kSurnames[std::size_t(m_rng.below(int(kSurnames.size())))].toString();
        // A few names that statements must survive: an apostrophe and the letter ñ.
        if (i == 17)
            p.lastName = QStringLiteral("D'ANGELO");
        if (i == 42)
            p.lastName = QStringLiteral("DELA PEÑA");
        if (p.sex == u'M' && m_rng.percent(5))
            p.suffix = m_rng.percent(70) ? QStringLiteral("JR.") : QStringLiteral("III");

        const int bucket = m_rng.below(100);
        p.age = bucket < 8    ? m_rng.between(1, 12)
                : bucket < 12 ? m_rng.between(13, 17)
                : bucket < 42 ? m_rng.between(18, 39)
                : bucket < 70 ? m_rng.between(40, 59)
                              : m_rng.between(60, 89);
        p.birthDate = m_today.addYears(-p.age).addDays(-m_rng.between(0, 364));
        const int createdDaysAgo = m_rng.between(30, 3000);
        p.created = at(createdDaysAgo, m_rng.between(7 * 60, 18 * 60));
        m_patients.append(p);
    }
}

QString DemoBuilder::pickAccount(const QString &hospNum)
{
    const int r = m_rng.below(100);
    if (r < 62)
        return hospNum;
    if (r < 84)
        return kCompanies[std::size_t(m_rng.below(5))].account.toString();
    if (r < 96)
        return kCompanies[std::size_t(5 + m_rng.below(5))].account.toString();
    return kCompanies.back().account.toString();
}

int DemoBuilder::pickCase(const Patient &p)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int c = m_rng.below(int(kCases.size()));
        const SurgicalCase &sc = kCases[std::size_t(c)];
        if ((sc.sex == u' ' || sc.sex == p.sex) && p.age >= sc.minAge && p.age <= sc.maxAge)
            return c;
    }
    return p.age >= 8 ? 0 : -1; // an appendectomy fits nearly everyone
}

QChar DemoBuilder::rateClassOf(const Stay &s) const
{
    if (s.kind != StayKind::Inpatient)
        return s.kind == StayKind::Emergency ? u'I' : u'A';
    for (const Room &r : m_rooms) {
        if (r.id == s.room)
            return r.rateClass;
    }
    return u'A';
}

void DemoBuilder::addStays()
{
    // Everyone's earlier stays, spread over the last two years.
    for (int p = 0; p < m_patients.size(); ++p) {
        const int r = m_rng.below(100);
        const int count = r < 15 ? 0 : r < 65 ? 1 : r < 90 ? 2 : 3;
        QList<int> starts;
        for (int k = 0; k < count; ++k)
            starts << m_rng.between(8, 730);
        std::sort(starts.begin(), starts.end(), std::greater<int>());
        int freeFrom = 100000; // days ago from which the patient is at home again
        for (int daysAgo : std::as_const(starts)) {
            if (daysAgo >= freeFrom - 3)
                continue;
            Stay s;
            s.patient = p;
            const int kind = m_rng.below(100);
            s.kind = kind < 50   ? StayKind::Inpatient
                     : kind < 80 ? StayKind::Outpatient
                                 : StayKind::Emergency;
            s.admitted = at(daysAgo, m_rng.between(6 * 60, 22 * 60));
            if (s.kind == StayKind::Inpatient) {
                // Everyone admitted a week or more ago has gone home by now.
                const int days = std::min(1 + m_rng.skewed(12), daysAgo - 2);
                const int hour = m_rng.between(9, 17);
                s.discharged =
                    QDateTime(s.admitted.date().addDays(days), QTime(hour, m_rng.below(60)));
            } else {
                s.discharged = s.admitted.addSecs(60 * m_rng.between(60, 6 * 60));
            }
            freeFrom = std::max(0, int(s.discharged.date().daysTo(m_today)));
            // Billing closes the account a little before the patient goes home; some recent
            // accounts are still open (the HMO has not yet approved, the bill is being done).
            const bool recent = s.discharged.date().daysTo(m_today) < 30;
            if (!recent || m_rng.percent(75))
                s.billed = s.discharged.addSecs(-60 * m_rng.between(30, 240));
            s.revoked = s.kind != StayKind::Inpatient && m_rng.percent(3);
            m_stays.append(s);
        }
    }

    // Who is in the hospital now: inpatients admitted in the last week, and outpatient and ER
    // visits of today and yesterday that are still open.
    QList<int> order;
    for (int p = 0; p < m_patients.size(); ++p)
        order << p;
    for (int i = int(order.size()) - 1; i > 0; --i)
        std::swap(order[i], order[m_rng.below(i + 1)]);
    QList<int> freeRooms;
    for (int r = 0; r < m_rooms.size(); ++r)
        freeRooms << r;
    for (int i = 0; i < 60; ++i) {
        const int p = order.at(i);
        // A patient discharged only days ago is not back already.
        bool busy = false;
        for (const Stay &s : std::as_const(m_stays))
            busy = busy || (s.patient == p && s.discharged.date().daysTo(m_today) < 7);
        if (busy)
            continue;
        Stay s;
        s.patient = p;
        if (i < 46) {
            s.kind = StayKind::Inpatient;
            const int daysAgo = m_rng.below(7);
            // Today's admissions came in before the morning's work began.
            s.admitted = daysAgo == 0 ? at(0, m_rng.between(30, 9 * 60))
                                      : at(daysAgo, m_rng.between(0, 23 * 60 + 59));
            s.room = m_rooms.at(freeRooms.takeAt(m_rng.below(int(freeRooms.size())))).id;
            // A few final bills are done and the patients only wait to be fetched.
            if (daysAgo >= 3 && m_rng.percent(15))
                s.billed = at(0, m_rng.between(6 * 60, 9 * 60));
        } else {
            s.kind = i < 54 ? StayKind::Emergency : StayKind::Outpatient;
            const int daysAgo = m_rng.below(2);
            s.admitted = at(daysAgo, m_rng.between(60, 9 * 60 + 30));
        }
        m_stays.append(s);
    }

    // Details of every stay, in order of admission so the numbers rise with the dates.
    std::stable_sort(m_stays.begin(), m_stays.end(),
                     [](const Stay &a, const Stay &b) { return a.admitted < b.admitted; });
    qint64 inpatientNo = 48210;
    qint64 outpatientNo = 40115;
    qint64 erNo = 18420;
    const QStringList anesthesiologists = doctorsIn(u"ANESTHESIOLOGY");
    const QStringList internists = doctorsIn(u"INTERNAL MEDICINE") + doctorsIn(u"CARDIOLOGY");
    for (int i = 0; i < m_stays.size(); ++i) {
        Stay &s = m_stays[i];
        const Patient &p = m_patients.at(s.patient);
        s.account = pickAccount(p.hospNum);
        if (s.account != p.hospNum && m_rng.percent(10))
            s.account2 = p.hospNum; // the patient pays what the guarantor does not
        if (s.kind == StayKind::Inpatient) {
            s.idNum = padded(++inpatientNo, 7);
            inpatientNo += m_rng.below(3);
            if (s.room.isEmpty())
                s.room = m_rooms.at(m_rng.below(int(m_rooms.size()))).id;
            const bool surgical = m_rng.percent(75);
            s.surgicalCase = surgical ? pickCase(p) : -1;
            if (s.surgicalCase >= 0) {
                const SurgicalCase &c = kCases[std::size_t(s.surgicalCase)];
                s.diagnosis = c.diagnosis.toString();
                s.complaint = c.complaint.toString();
                s.doctor = m_rng.pick(doctorsIn(c.specialization));
                s.doctor2 = m_rng.pick(anesthesiologists);
                s.cvor = isHeartCase(c) && m_rng.percent(80);
                if (c.procedure == u"OR1018" || c.procedure == u"OR1019")
                    s.package = QStringLiteral("PKG-CS");
                else if (c.procedure == u"OR1004" && m_rng.percent(50))
                    s.package = QStringLiteral("PKG-LC");
            } else {
                s.diagnosis = m_rng.pick(kMedicalDiagnoses).toString();
                s.complaint = QStringLiteral("FOR ADMISSION");
                s.doctor = m_rng.pick(internists);
            }
            const int pr = m_rng.below(100);
            s.precaution = pr < 25   ? QString()
                           : pr < 85 ? QStringLiteral("1")
                                     : QString::number(2 + m_rng.below(4));
            s.cashBasis = m_rng.percent(s.discharged.isValid() ? 8 : 14);
            if (!s.discharged.isValid())
                m_currentInpatients << i;
        } else {
            s.idNum = padded(++outpatientNo, 7) + u'B';
            outpatientNo += m_rng.below(4);
            if (s.kind == StayKind::Emergency)
                s.erNum = QStringLiteral("ER-") + padded(++erNo, 6);
            const OutpatientReason *reason = nullptr;
            do {
                reason = &m_rng.pick(kOutpatientReasons);
            } while (reason->er != (s.kind == StayKind::Emergency));
            s.complaint = reason->complaint.toString();
            s.doctor = m_rng.pick(doctorsIn(u"GENERAL SURGERY"));
            s.precaution = m_rng.percent(10) ? QString::number(2 + m_rng.below(4)) : QString();
            s.cashBasis = m_rng.percent(s.discharged.isValid() ? 10 : 20);
        }
    }
}

void DemoBuilder::addStayRows()
{
    TableRows &master = table(QStringLiteral("PATIENT_DATA..tbMaster"),
                              {QStringLiteral("HospNum"),       QStringLiteral("LastName"),
                               QStringLiteral("FirstName"),     QStringLiteral("MiddleName"),
                               QStringLiteral("Suffix"),        QStringLiteral("Sex"),
                               QStringLiteral("BirthDate"),     QStringLiteral("CivilStatus"),
                               QStringLiteral("BloodType"),     QStringLiteral("HouseStreet"),
                               QStringLiteral("Barangay"),      QStringLiteral("Town"),
                               QStringLiteral("Province"),      QStringLiteral("ZipCode"),
                               QStringLiteral("TelNum"),        QStringLiteral("Nationality"),
                               QStringLiteral("Religion"),      QStringLiteral("Occupation"),
                               QStringLiteral("PhilHealthNum"), QStringLiteral("SeniorCitizenID"),
                               QStringLiteral("DateCreated")});
    for (const Patient &p : std::as_const(m_patients)) {
        const Place &place = m_rng.pick(kPlaces);
        const QString houseNo = QString::number(m_rng.between(1, 450));
        const QString street = houseNo + u' ' + m_rng.pick(kStreets).toString();
        const QString civil = p.age < 20                        ? QStringLiteral("SINGLE")
                              : p.age > 70 && m_rng.percent(40) ? QStringLiteral("WIDOWED")
                              : m_rng.percent(70)               ? QStringLiteral("MARRIED")
                                                                : QStringLiteral("SINGLE");
        QString philHealth;
        if (m_rng.percent(85)) {
            const QString region = padded(m_rng.between(1, 19), 2);
            const QString serial = padded(m_rng.between(0, 999999999), 9);
            philHealth = region + u'-' + serial + u'-' + QString::number(m_rng.below(10));
        }
        const QString senior =
            p.age >= 60 ? QStringLiteral("SC-%1").arg(m_rng.between(10000, 99999)) : QString();
        const int nat = m_rng.below(100);
        const QString nationality = nat < 97   ? QStringLiteral("FILIPINO")
                                    : nat < 98 ? QStringLiteral("AMERICAN")
                                    : nat < 99 ? QStringLiteral("KOREAN")
                                               : QStringLiteral("JAPANESE");
        const QString occupation = p.age < 18    ? QStringLiteral("STUDENT")
                                   : p.age >= 65 ? QStringLiteral("RETIRED")
                                                 : m_rng.pick(kOccupations).toString();
        master.add(
            {p.hospNum,
             p.lastName,
             p.firstName,
             p.middleName,
             p.suffix,
             QString(p.sex),
             p.birthDate,
             civil,
             m_rng.pick(kBloodTypes).toString(),
             street,
             m_rng.pick(kBarangays).toString(),
             place.town.toString(),
             place.province.toString(),
             place.zip.toString(),
             QStringLiteral("09%1").arg(m_rng.between(100000000, 999999999)),
             nationality,
             m_rng.percent(85) ? QStringLiteral("ROMAN CATHOLIC") : QStringLiteral("CHRISTIAN"),
             occupation,
             philHealth,
             senior,
             p.created});
    }

    TableRows &inpatients = table(
        QStringLiteral("PATIENT_DATA..tbPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("DcrDate"), QStringLiteral("BillingDate"), QStringLiteral("AccountNum"),
         QStringLiteral("AccountNumII"), QStringLiteral("RoomID"), QStringLiteral("StationID"),
         QStringLiteral("PrecautionID"), QStringLiteral("isCVOR"), QStringLiteral("AdmittingDr"),
         QStringLiteral("AttendingDr1"), QStringLiteral("AttendingDr2"), QStringLiteral("UserID")});
    TableRows &extension = table(
        QStringLiteral("PATIENT_DATA..tbPatient2"),
        {QStringLiteral("IDNum"), QStringLiteral("OkeyOR"), QStringLiteral("PatientsMed"),
         QStringLiteral("CreditLine"), QStringLiteral("PackageID"), QStringLiteral("transplantID"),
         QStringLiteral("dialysisID"), QStringLiteral("VIP"), QStringLiteral("PatientClass"),
         QStringLiteral("AdmissionTypeID"), QStringLiteral("isSpecial"), QStringLiteral("PHICCode"),
         QStringLiteral("isCashBasis"), QStringLiteral("CashBasisReason")});
    TableRows &history = table(QStringLiteral("PATIENT_DATA..tbPatientHistory"),
                               {QStringLiteral("IDNum"), QStringLiteral("Precautions"),
                                QStringLiteral("ADMDiagnosis"), QStringLiteral("ChiefComplaint"),
                                QStringLiteral("BriefHistory")});
    TableRows &outpatients = table(
        QStringLiteral("PATIENT_DATA..tbOutPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("DcrDate"), QStringLiteral("BillingDate"), QStringLiteral("RecordStatus"),
         QStringLiteral("ERNum"), QStringLiteral("AccountNum"), QStringLiteral("PatientType"),
         QStringLiteral("RateType"), QStringLiteral("PrecautionID"), QStringLiteral("DoctorID1"),
         QStringLiteral("DoctorID2"), QStringLiteral("PHICCode"), QStringLiteral("isCashBasis"),
         QStringLiteral("CashBasisReason"), QStringLiteral("UserID")});
    TableRows &opHistory = table(QStringLiteral("PATIENT_DATA..tbOutpatientHistory"),
                                 {QStringLiteral("IDNum"), QStringLiteral("Precautions"),
                                  QStringLiteral("ChiefComplaints")});
    TableRows &erRequests = table(QStringLiteral("PATIENT_DATA..tbER_Admitting_Communication"),
                                  {QStringLiteral("HospNum"), QStringLiteral("OPDIDNum"),
                                   QStringLiteral("RecordStatus"), QStringLiteral("RequestDate"),
                                   QStringLiteral("UserID")});

    const std::array<QStringView, 4> precautionNotes{
        u"CONTACT PRECAUTION: MRSA ISOLATE FROM WOUND CULTURE",
        u"DROPLET PRECAUTION: INFLUENZA-LIKE ILLNESS", u"AIRBORNE PRECAUTION: RULE OUT PTB",
        u"BLEEDING PRECAUTION: ON ANTICOAGULANT"};
    const std::array<QStringView, 3> cashReasons{u"NO PHILHEALTH, NO DEPOSIT",
                                                 u"PROMISSORY NOTE ON FILE",
                                                 u"HMO LETTER OF AUTHORITY EXPIRED"};
    for (const Stay &s : std::as_const(m_stays)) {
        const Patient &p = m_patients.at(s.patient);
        const bool senior = p.age >= 60;
        const QString phic =
            senior ? QStringLiteral("SC")
            : m_rng.percent(80)
                ? m_rng.pick(std::array<QStringView, 5>{u"EP", u"EG", u"IP", u"OF", u"SP"})
                      .toString()
                : QStringLiteral("NH");
        const QVariant precaution = s.precaution.isEmpty() ? QVariant() : QVariant(s.precaution);
        const QString note = s.precaution.size() == 1 && s.precaution != u"1"
                                 ? precautionNotes[std::size_t(s.precaution.toInt() - 2)].toString()
                                 : QString();
        const QString cashReason = s.cashBasis ? m_rng.pick(cashReasons).toString() : QString();
        const QString clerk =
            QStringLiteral("ADM%1").arg(m_rng.between(1, 6), 2, 10, QLatin1Char('0'));
        if (s.kind == StayKind::Inpatient) {
            QString station;
            for (const Room &r : std::as_const(m_rooms)) {
                if (r.id == s.room)
                    station = r.station;
            }
            inpatients.add({s.idNum, p.hospNum, s.admitted, when(s.discharged), when(s.billed),
                            s.account, s.account2, s.room, station, precaution, s.cvor ? 1 : 0,
                            s.doctor, s.doctor, s.doctor2, clerk});
            const bool hmo = s.account.startsWith(u"11");
            const int admType =
                s.surgicalCase < 0 ? 1
                : kCases[std::size_t(s.surgicalCase)].specialization == u"OBSTETRICS AND GYNECOLOGY"
                    ? 4
                : m_rng.percent(50) ? 3
                                    : 2;
            // HMO stays carry the approved amount of the letter of authority as credit line.
            const QVariant creditLine = hmo                 ? pesos(m_rng.between(6, 40) * 500000)
                                        : m_rng.percent(70) ? pesos(m_rng.between(2, 20) * 500000)
                                                            : QVariant();
            extension.add({s.idNum, s.discharged.isValid() || m_rng.percent(80) ? 1 : 0,
                           m_rng.percent(10) ? 1 : 0, creditLine, s.package, QStringLiteral("0"),
                           m_rng.percent(3) ? QStringLiteral("1") : QStringLiteral("0"),
                           m_rng.percent(3) ? 1 : 0,
                           m_rng.percent(8) ? QStringLiteral("S") : QStringLiteral("P"),
                           QString::number(admType), m_rng.percent(4) ? 1 : 0, phic,
                           s.cashBasis ? 1 : 0, cashReason});
            history.add({s.idNum, note, s.diagnosis, s.complaint,
                         QStringLiteral("%1-year-old %2 came in for %3.")
                             .arg(p.age)
                             .arg(p.sex == u'F' ? QStringLiteral("female") : QStringLiteral("male"))
                             .arg(s.complaint.toLower())});
        } else {
            const bool hmo = s.account.startsWith(u"11");
            outpatients.add(
                {s.idNum, p.hospNum, s.admitted, when(s.discharged), when(s.billed),
                 s.revoked ? QStringLiteral("R") : QString(),
                 s.erNum.isEmpty() ? QVariant() : QVariant(s.erNum), s.account,
                 m_rng.percent(8) ? QStringLiteral("SERVICE") : QStringLiteral("PAY"),
                 hmo ? QStringLiteral("H") : QStringLiteral("A"), precaution, s.doctor, s.doctor,
                 phic, s.cashBasis ? 1 : 0, cashReason,
                 s.kind == StayKind::Emergency ? QStringLiteral("ER01") : QStringLiteral("OPD01")});
            opHistory.add({s.idNum, note, s.complaint});
            // Two of today's ER patients are waiting for a bed.
            if (!s.discharged.isValid() && s.kind == StayKind::Emergency &&
                erRequests.rows.size() < 2)
                erRequests.add({p.hospNum, s.idNum, QString(), s.admitted.addSecs(3600),
                                QStringLiteral("ER01")});
        }
    }
}

void DemoBuilder::addSchedules()
{
    TableRows &sched = table(QStringLiteral("SCHEDULE..tbORScheduleDetails"),
                             {QStringLiteral("TransNum"),      QStringLiteral("IDNum"),
                              QStringLiteral("HospNum"),       QStringLiteral("PatientName"),
                              QStringLiteral("PatientClass"),  QStringLiteral("Age"),
                              QStringLiteral("Sex"),           QStringLiteral("RoomID"),
                              QStringLiteral("ScheduleDate"),  QStringLiteral("StartTime"),
                              QStringLiteral("Length"),        QStringLiteral("Description"),
                              QStringLiteral("ProcedureCode"), QStringLiteral("ProcedureDesc"),
                              QStringLiteral("Category"),      QStringLiteral("DoctorID1"),
                              QStringLiteral("DoctorID2"),     QStringLiteral("RecordStatus"),
                              QStringLiteral("RequestNum"),    QStringLiteral("RequestingStation"),
                              QStringLiteral("RequestDate"),   QStringLiteral("RequestBy"),
                              QStringLiteral("ConfirmedBy"),   QStringLiteral("ConfirmedDate")});

    // Each room's day fills from 7 AM; every booking starts where the room's last one ended.
    QMap<QPair<int, int>, int> nextFree; // (days from today, room) -> minutes into the day
    qint64 transNo = 20431;
    int pending = 0;
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        if (s.surgicalCase < 0)
            continue;
        const SurgicalCase &c = kCases[std::size_t(s.surgicalCase)];
        const Patient &p = m_patients.at(s.patient);
        const Item &proc = itemByCode(c.procedure);
        // Patients admitted days ago were operated on yesterday; the rest are on today's or
        // tomorrow's list, and a few still wait for the OR to confirm the ward's request.
        const int admittedDaysAgo = int(s.admitted.date().daysTo(m_today));
        const bool request = admittedDaysAgo == 0 && pending < 3;
        const int day = admittedDaysAgo >= 2 ? -1 : admittedDaysAgo == 1 ? 0 : 1;
        int room = m_rng.between(1, 5);
        if (isHeartCase(c))
            room = 6;
        else if (c.procedure == u"OR1020" || c.procedure == u"OR1021")
            room = 7;
        else if (c.procedure == u"OR1052" || c.procedure == u"OR1054")
            room = 8;
        int &slot = nextFree[qMakePair(day, room)];
        if (slot == 0)
            slot = 7 * 60;
        const int length = c.minutes + 15 * m_rng.below(3);
        // A ward asks for tomorrow afternoon; the OR gives the room's next free time.
        const QDateTime start =
            request ? QDateTime(m_today.addDays(1), QTime(13 + pending, 0))
                    : QDateTime(m_today.addDays(day), QTime(0, 0).addSecs(slot * 60));
        if (!request)
            slot += length + 30;
        const QString sex = p.sex == u'F' ? QStringLiteral("Female") : QStringLiteral("Male");
        const QString details = QStringLiteral("Patient Name :") + patientName(p) +
                                QStringLiteral("\nGender :") + sex + QStringLiteral("\nAge :") +
                                QString::number(p.age) + QStringLiteral("\nProcedure :") +
                                proc.name.toString() + QStringLiteral("\nSurgeon:") + s.doctor +
                                QStringLiteral("\nAnesthesiologist :") + s.doctor2;
        const QDateTime requested = s.admitted.addSecs(2 * 3600);
        sched.add({padded(++transNo, 8),
                   s.idNum,
                   p.hospNum,
                   patientName(p),
                   QStringLiteral("I"),
                   p.age,
                   QString(p.sex),
                   request ? QVariant() : QVariant(room),
                   start.date(),
                   start,
                   length,
                   details,
                   proc.code.toString(),
                   proc.name.toString(),
                   c.category.toString(),
                   s.doctor,
                   s.doctor2,
                   request ? QStringLiteral("P") : QStringLiteral("C"),
                   QStringLiteral("RQ%1").arg(transNo),
                   QStringLiteral("4N"),
                   requested,
                   QStringLiteral("1401"),
                   request ? QString() : kEmployees[std::size_t(m_rng.below(3))].code.toString(),
                   request ? QVariant() : QVariant(requested.addSecs(3600))});
        if (request)
            ++pending;
    }
}

void DemoBuilder::addCharges()
{
    TableRows &logbook = table(
        QStringLiteral("STATION..tbNurseLogBook"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ReferenceNum"),
         QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
         QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
         QStringLiteral("UserID"), QStringLiteral("StationID"), QStringLiteral("PatientClass"),
         QStringLiteral("RoomID"), QStringLiteral("ChargeDepartment"),
         QStringLiteral("RequestingDoctorID"), QStringLiteral("RecordStatus")});
    TableRows &bills =
        table(QStringLiteral("BILLING..tbBillDailyBill"),
              {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("RefNum"),
               QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
               QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
               QStringLiteral("UserID")});
    TableRows &opBills =
        table(QStringLiteral("BILLING..tbBillOPDailyOut"),
              {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("RefNum"),
               QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
               QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
               QStringLiteral("UserID")});

    // Billing's running charges of the patients still in: room and board for every day so
    // far, and the medicines the pharmacy has issued.
    qint64 billRef = 880100;
    const std::array<std::pair<QStringView, qint64>, 5> medicines{
        {{u"CEFUROXIME 750 MG VIAL", 45000},
         {u"PARACETAMOL 500 MG TABLET", 450},
         {u"OMEPRAZOLE 40 MG VIAL", 38000},
         {u"TRAMADOL 50 MG/ML AMPULE", 12500},
         {u"PLAIN LACTATED RINGER'S 1 L", 9500}}};
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        const QString hospNum = m_patients.at(s.patient).hospNum;
        qint64 roomRate = 0;
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.id == s.room)
                roomRate = r.rate;
        }
        const int days = int(s.admitted.date().daysTo(m_today));
        for (int d = 0; d < days; ++d) {
            bills.add({s.idNum, hospNum, QStringLiteral("RB%1").arg(++billRef),
                       QStringLiteral("RB"), s.room, QStringLiteral("ROOM AND BOARD"), 1.0,
                       pesos(roomRate * 100),
                       QDateTime(s.admitted.date().addDays(d + 1), QTime(0, 5)),
                       QStringLiteral("BILL01")});
            const auto &med = m_rng.pick(medicines);
            const int qty = m_rng.between(1, 4);
            bills.add({s.idNum, hospNum, QStringLiteral("PH%1").arg(++billRef),
                       QStringLiteral("PH"), QStringLiteral("MED%1").arg(m_rng.between(100, 999)),
                       med.first.toString(), double(qty), pesos(med.second * qty),
                       QDateTime(s.admitted.date().addDays(d), QTime(m_rng.between(8, 20), 0)),
                       QStringLiteral("PHA02")});
        }
    }
    for (const Stay &s : std::as_const(m_stays)) {
        if (s.kind != StayKind::Emergency || s.discharged.isValid())
            continue;
        opBills.add({s.idNum, m_patients.at(s.patient).hospNum,
                     QStringLiteral("ER%1").arg(++billRef), QStringLiteral("ER"),
                     QStringLiteral("ERFEE"), QStringLiteral("EMERGENCY ROOM FEE"), 1.0,
                     pesos(150000), s.admitted.addSecs(900), QStringLiteral("ER01")});
    }

    // Charges the OR posted yesterday for the patients it operated on, still waiting for
    // billing; one batch was revoked after a wrong entry.
    qint64 slip = 1238;
    int batches = 0;
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        if (s.surgicalCase < 0 || s.admitted.date().daysTo(m_today) < 2 || batches >= 10)
            continue;
        const SurgicalCase &c = kCases[std::size_t(s.surgicalCase)];
        const QChar letter = rateClassOf(s);
        const QString ref = QStringLiteral("C%1O").arg(slip++);
        const int hour = m_rng.between(10, 18);
        const QDateTime posted(m_today.addDays(-1), QTime(hour, m_rng.below(60)));
        const QString nurse = kEmployees[std::size_t(1 + m_rng.below(2))].code.toString();
        const QString status = batches == 3 ? QStringLiteral("R") : QString();
        const std::array<std::pair<QStringView, int>, 6> lines{{{c.procedure, 1},
                                                                {u"OR1101", 1},
                                                                {u"OS2003", 2},
                                                                {u"OS2014", 1},
                                                                {u"AN4001", 1},
                                                                {u"OS2016", 3}}};
        for (const auto &[code, qty] : lines) {
            const Item &item = itemByCode(code);
            logbook.add({s.idNum, m_patients.at(s.patient).hospNum, ref, item.department.toString(),
                         item.code.toString(), item.name.toString(), double(qty),
                         pesos(rateCentavos(item.rateA, letter) * qty), posted, nurse,
                         QStringLiteral("OR"), QStringLiteral("I"), s.room, QStringLiteral("OR"),
                         s.doctor, status});
        }
        ++batches;
    }

    TableRows &counters = table(QStringLiteral("STATION..tbORChargeSlip"),
                                {QStringLiteral("StationID"), QStringLiteral("ChargeSlip"),
                                 QStringLiteral("IChargeSlip"), QStringLiteral("OChargeSlip"),
                                 QStringLiteral("AssessNum")});
    // The OR's row comes first: the program reads the first row as the OR's.
    counters.add({QStringLiteral("OR"), slip, 20415, 10388, 5120});
    counters.add({QStringLiteral("DR"), 311, 1204, 96, 40});
    counters.add({QStringLiteral("ER"), 7342, 105, 30551, 2210});

    TableRows &notices =
        table(QStringLiteral("STATION..tbNurseDischargeNotice"),
              {QStringLiteral("IDNum"), QStringLiteral("RecordStatus"), QStringLiteral("IsFinal"),
               QStringLiteral("StationID"), QStringLiteral("NoticeDate"),
               QStringLiteral("OrderedDate"), QStringLiteral("UserID")});
    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        if (!s.billed.isValid())
            continue;
        const bool isFinal = notices.rows.size() % 2 == 0;
        notices.add({s.idNum, isFinal ? QStringLiteral("F") : QStringLiteral("P"), isFinal ? 1 : 0,
                     QStringLiteral("OR"), s.billed.addSecs(-1800), s.billed.addSecs(-3600),
                     kEmployees[6].code.toString()});
    }
}

void DemoBuilder::addStationLogs()
{
    TableRows &logs =
        table(QStringLiteral("STATION..tbStationLogs"),
              {QStringLiteral("IdNum"), QStringLiteral("TransDate"), QStringLiteral("Remarks"),
               QStringLiteral("UserID"), QStringLiteral("HostName"), QStringLiteral("StationID")});
    const QString login = QStringLiteral("Log In: Version: ") + QStringLiteral(KESTREL_VERSION);
    for (int day = 3; day >= 1; --day) {
        for (std::size_t e = 0; e < 7; ++e) {
            const QString code = kEmployees[e].code.toString();
            logs.add({code, at(day, m_rng.between(6 * 60, 22 * 60)), login, code,
                      QStringLiteral("OR-PC-0%1").arg(1 + m_rng.below(3)), QStringLiteral("OR")});
        }
    }
    for (const Stay &s : std::as_const(m_stays)) {
        if (s.cvor && !s.discharged.isValid())
            logs.add({s.idNum, s.admitted.addSecs(4 * 3600), QStringLiteral("TAGGED AS CVOR"),
                      kEmployees[0].code.toString(), QStringLiteral("OR-PC-01"),
                      QStringLiteral("OR")});
    }
    std::stable_sort(logs.rows.begin(), logs.rows.end(),
                     [](const QVariantList &a, const QVariantList &b) {
                         return a.at(1).toDateTime() < b.at(1).toDateTime();
                     });
}

// ---------------------------------------------------------------------------------------------
// The OR's year of work behind its reports. Earlier surgical stays and the outpatient
// procedures of the last thirteen months are booked on the board, recorded in the OR record
// and charged to the stay under one charge slip each; yesterday's operations of the patients
// still in were booked and charged above and only get their OR record here.

// Medicines and agents the OR posts from its own stock, in centavos.
struct OrMedicine
{
    QStringView code, name;
    qint64 centavos;
};

constexpr std::array kOrMedicines{
    OrMedicine{u"PH1001", u"CEFAZOLIN 1 G VIAL", 18500},
    OrMedicine{u"PH1002", u"KETOROLAC 30 MG/ML AMPULE", 9500},
    OrMedicine{u"PH1003", u"PROPOFOL 10 MG/ML, 20 ML AMPULE", 42000},
    OrMedicine{u"PH1004", u"BUPIVACAINE 0.5% HEAVY, 4 ML AMPULE", 26000},
    OrMedicine{u"PH1005", u"LIDOCAINE 2%, 50 ML VIAL", 12000},
    OrMedicine{u"PH1006", u"MIDAZOLAM 5 MG/ML AMPULE", 15500},
    OrMedicine{u"PH1007", u"OXYTOCIN 10 IU/ML AMPULE", 6500},
    OrMedicine{u"PH1008", u"SEVOFLURANE, PER 10 ML", 95000},
    OrMedicine{u"PH1009", u"PLAIN LACTATED RINGER'S 1 L", 9500},
};

const OrMedicine &orMedicine(QStringView code)
{
    for (const OrMedicine &m : kOrMedicines) {
        if (m.code == code)
            return m;
    }
    Q_UNREACHABLE();
}

enum class Anaesthesia { General, Regional, Sedation, Local };

struct AnaesthesiaOf
{
    QStringView procedure, type;
    Anaesthesia kind;
};

// Operations done under anything but general endotracheal anaesthesia.
constexpr std::array kAnaesthesiaTypes{
    AnaesthesiaOf{u"OR1006", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1011", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1018", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1019", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1026", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1030", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1033", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1035", u"SPINAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1022", u"COMBINED SPINAL-EPIDURAL ANESTHESIA", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1027", u"BRACHIAL PLEXUS BLOCK", Anaesthesia::Regional},
    AnaesthesiaOf{u"OR1021", u"INTRAVENOUS SEDATION", Anaesthesia::Sedation},
    AnaesthesiaOf{u"OR1052", u"INTRAVENOUS SEDATION", Anaesthesia::Sedation},
    AnaesthesiaOf{u"OR1053", u"INTRAVENOUS SEDATION", Anaesthesia::Sedation},
    AnaesthesiaOf{u"OR1054", u"INTRAVENOUS SEDATION", Anaesthesia::Sedation},
    AnaesthesiaOf{u"OR1009", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1012", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1014", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1020", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1036", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1041", u"LOCAL ANESTHESIA", Anaesthesia::Local},
    AnaesthesiaOf{u"OR1042", u"LOCAL ANESTHESIA", Anaesthesia::Local},
};

AnaesthesiaOf anaesthesiaFor(QStringView procedure)
{
    for (const AnaesthesiaOf &a : kAnaesthesiaTypes) {
        if (a.procedure == procedure)
            return a;
    }
    return {procedure, u"GENERAL ENDOTRACHEAL ANESTHESIA", Anaesthesia::General};
}

// What brings an outpatient to the OR, and what the OR does for it.
struct OutpatientProcedure
{
    QStringView complaint, procedure, diagnosis, specialization;
    int minutes;
};

constexpr std::array kOutpatientProcedures{
    OutpatientProcedure{u"FOR CIRCUMCISION", u"OR1036", u"PHIMOSIS", u"UROLOGY", 30},
    OutpatientProcedure{u"FOR EXCISION OF LIPOMA, BACK", u"OR1012", u"LIPOMA, BACK",
                        u"GENERAL SURGERY", 45},
    OutpatientProcedure{u"FOR UPPER GI ENDOSCOPY", u"OR1052", u"DYSPEPSIA, FOR EVALUATION",
                        u"GENERAL SURGERY", 30},
    OutpatientProcedure{u"FOR COLONOSCOPY", u"OR1053", u"HEMATOCHEZIA, FOR EVALUATION",
                        u"GENERAL SURGERY", 45},
    OutpatientProcedure{u"FOR PTERYGIUM EXCISION", u"OR1042", u"PTERYGIUM, RIGHT EYE",
                        u"OPHTHALMOLOGY", 40},
};

constexpr std::array<QStringView, 8> kOrRoomNames{u"OR 1", u"OR 2", u"OR 3", u"OR 4",
                                                  u"OR 5", u"CVOR", u"DR 1", u"ENDOSCOPY"};

int ageOn(const QDate &birth, const QDate &day)
{
    int years = day.year() - birth.year();
    if (day.month() < birth.month() || (day.month() == birth.month() && day.day() < birth.day()))
        --years;
    return years;
}

int hoursOf(int minutes)
{
    return std::max(1, (minutes + 59) / 60);
}

void DemoBuilder::addOperatingRoomHistory()
{
    DemoRandom rng(m_rng.next());

    struct Operation
    {
        int stay = 0;
        QString procedure, category, diagnosis, surgeon, assistant, anaesthesiologist, refNum;
        int room = 1;
        int minutes = 60; ///< booked on the board
        QDateTime start;
        bool booked = false; ///< already on the board and charged
    };
    QList<Operation> operations;

    auto roomFor = [&rng](QStringView procedure, bool heart) {
        if (heart)
            return 6;
        if (procedure == u"OR1020" || procedure == u"OR1021")
            return 7;
        if (procedure == u"OR1052" || procedure == u"OR1053" || procedure == u"OR1054")
            return 8;
        return rng.between(1, 5);
    };

    // Thirteen months back, so a year's reports and the month before have their cases.
    const QDate earliest = m_today.addDays(-400);
    const QStringList anaesthesiologists = doctorsIn(u"ANESTHESIOLOGY");
    for (int i = 0; i < m_stays.size(); ++i) {
        const Stay &s = m_stays.at(i);
        if (!s.discharged.isValid() || s.revoked || s.admitted.date() < earliest)
            continue;
        Operation op;
        op.stay = i;
        if (s.kind == StayKind::Inpatient) {
            if (s.surgicalCase < 0)
                continue;
            const SurgicalCase &c = kCases[std::size_t(s.surgicalCase)];
            op.procedure = c.procedure.toString();
            op.category = c.category.toString();
            op.diagnosis = s.diagnosis;
            op.surgeon = s.doctor;
            op.anaesthesiologist = s.doctor2;
            op.minutes = c.minutes + 15 * rng.below(3);
            op.room = roomFor(c.procedure, isHeartCase(c));
            // The day after admission when the stay lasted that long, else the day itself;
            // never before the patient has been in for two hours.
            QDate day = s.admitted.date().addDays(1);
            if (day >= s.discharged.date())
                day = s.admitted.date();
            op.start = QDateTime(day, QTime(rng.between(7, 14), 15 * rng.below(4)));
            op.start = std::max(op.start, s.admitted.addSecs(2 * 3600));
            if (rng.percent(40)) {
                const QStringList colleagues = doctorsIn(c.specialization);
                const QString other = rng.pick(colleagues);
                if (other != op.surgeon)
                    op.assistant = other;
            }
        } else {
            if (s.kind != StayKind::Outpatient)
                continue;
            const OutpatientProcedure *what = nullptr;
            for (const OutpatientProcedure &p : kOutpatientProcedures) {
                if (p.complaint == s.complaint)
                    what = &p;
            }
            if (!what)
                continue;
            op.procedure = what->procedure.toString();
            op.category = QStringLiteral("MINOR");
            op.diagnosis = what->diagnosis.toString();
            op.surgeon = what->specialization == u"GENERAL SURGERY"
                             ? s.doctor
                             : rng.pick(doctorsIn(what->specialization));
            if (anaesthesiaFor(what->procedure).kind == Anaesthesia::Sedation)
                op.anaesthesiologist = rng.pick(anaesthesiologists);
            op.minutes = what->minutes;
            op.room = roomFor(what->procedure, false);
            op.start = s.admitted.addSecs(45 * 60);
        }
        operations << op;
    }
    std::stable_sort(operations.begin(), operations.end(),
                     [](const Operation &a, const Operation &b) { return a.start < b.start; });

    // Yesterday's operations of the patients still in, from the board and the logbook.
    const int firstRow = int(m_tables.size());
    const TableRows *board = nullptr;
    const TableRows *logbook = nullptr;
    for (int t = 0; t < firstRow; ++t) {
        if (!board && m_tables.at(t).table == u"SCHEDULE..tbORScheduleDetails")
            board = &m_tables.at(t);
        if (!logbook && m_tables.at(t).table == u"STATION..tbNurseLogBook")
            logbook = &m_tables.at(t);
    }
    Q_ASSERT(board && logbook);
    auto column = [](const TableRows *t, QStringView name) {
        return int(t->columns.indexOf(name.toString()));
    };
    QList<Operation> yesterday;
    for (const QVariantList &row : board->rows) {
        const QDateTime start = row.at(column(board, u"StartTime")).toDateTime();
        if (row.at(column(board, u"RecordStatus")).toString() != u"C" || start.date() >= m_today)
            continue;
        Operation op;
        op.booked = true;
        const QString idNum = row.at(column(board, u"IDNum")).toString();
        for (int i = 0; i < m_stays.size(); ++i) {
            if (m_stays.at(i).idNum == idNum)
                op.stay = i;
        }
        op.procedure = row.at(column(board, u"ProcedureCode")).toString();
        op.category = row.at(column(board, u"Category")).toString();
        op.diagnosis = m_stays.at(op.stay).diagnosis;
        op.surgeon = row.at(column(board, u"DoctorID1")).toString();
        op.anaesthesiologist = row.at(column(board, u"DoctorID2")).toString();
        op.room = row.at(column(board, u"RoomID")).toInt();
        op.minutes = row.at(column(board, u"Length")).toInt();
        op.start = start;
        for (const QVariantList &line : logbook->rows) {
            if (line.at(column(logbook, u"IDNum")).toString() == idNum &&
                line.at(column(logbook, u"ItemID")).toString() == op.procedure)
                op.refNum = line.at(column(logbook, u"ReferenceNum")).toString();
        }
        yesterday << op;
    }

    // Appending a table may move the others, so they are taken by index once all exist.
    table(QStringLiteral("SCHEDULE..tbORScheduleDetails"),
          {QStringLiteral("TransNum"),      QStringLiteral("IDNum"),
           QStringLiteral("HospNum"),       QStringLiteral("PatientName"),
           QStringLiteral("PatientClass"),  QStringLiteral("Age"),
           QStringLiteral("Sex"),           QStringLiteral("RoomID"),
           QStringLiteral("ScheduleDate"),  QStringLiteral("StartTime"),
           QStringLiteral("Length"),        QStringLiteral("Description"),
           QStringLiteral("ProcedureCode"), QStringLiteral("ProcedureDesc"),
           QStringLiteral("Category"),      QStringLiteral("DoctorID1"),
           QStringLiteral("DoctorID2"),     QStringLiteral("RecordStatus"),
           QStringLiteral("RequestNum"),    QStringLiteral("RequestingStation"),
           QStringLiteral("RequestDate"),   QStringLiteral("RequestBy"),
           QStringLiteral("ConfirmedBy"),   QStringLiteral("ConfirmedDate")});
    // The OR record's columns the record window fills for every operation.
    table(QStringLiteral("STATION..tbORMasterFile"),
          QStringLiteral("IdNum HospNum RefNum UserID PatientClass SurgeonID1 SurgeonID2 "
                         "AnestheID Anesthesia SnurseID1 CnurseID1 Procedures ORNumber Category "
                         "Prophylaxis OperationDate PatientIn AnesthesiaDate AnesthesiaTime "
                         "CuttingDate OperationTime1 ClosingDate OperationTime2 AnesDoneDate "
                         "AnesthesiaEndTime OperationDateEnd PatientOut prod psod procnd psoc ot "
                         "SpecificDesc Instrument Sutures BloodLoss PostOPTO")
              .split(u' '));
    table(QStringLiteral("STATION..tbNurseLogBook"),
          {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ReferenceNum"),
           QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
           QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
           QStringLiteral("UserID"), QStringLiteral("StationID"), QStringLiteral("PatientClass"),
           QStringLiteral("RoomID"), QStringLiteral("ChargeDepartment"),
           QStringLiteral("RequestingDoctorID"), QStringLiteral("RecordStatus"),
           QStringLiteral("RevokedBy"), QStringLiteral("RevokedDate")});

    TableRows &sched = m_tables[firstRow];
    TableRows &records = m_tables[firstRow + 1];
    TableRows &charges = m_tables[firstRow + 2];

    // The earlier slips and board numbers run up to the first ones of yesterday's batches.
    Q_ASSERT(operations.size() < 1200);
    qint64 slip = 1238 - operations.size();
    qint64 transNo = 20431 - operations.size();
    const std::array<QStringView, 2> scrubNurses{u"2902", u"2909"};
    const std::array<QStringView, 2> circulatingNurses{u"2903", u"2907"};
    QMap<QPair<QDate, int>, QDateTime> roomFreeAt;
    const QList<Operation> all = operations + yesterday;
    for (Operation op : all) {
        const Stay &s = m_stays.at(op.stay);
        const Patient &p = m_patients.at(s.patient);
        const bool inpatient = s.kind == StayKind::Inpatient;
        const QString patientClass = inpatient ? QStringLiteral("I") : QStringLiteral("O");
        const Item &proc = itemByCode(op.procedure);
        const AnaesthesiaOf anaesthesia = anaesthesiaFor(op.procedure);
        const bool heart = op.room == 6;
        const bool major = op.category == u"MAJOR";

        if (!op.booked) {
            // A room takes one operation at a time: a later booking waits for the room.
            QDateTime &freeAt = roomFreeAt[qMakePair(op.start.date(), op.room)];
            if (freeAt.isValid() && op.start < freeAt)
                op.start = freeAt;
            freeAt = op.start.addSecs(60 * (op.minutes + 30));
            op.refNum = QStringLiteral("C%1O").arg(slip++);
        }

        // What really happened, phase by phase, against the booking.
        const QDateTime in = op.start.addSecs(60 * rng.between(-5, 20));
        const QDateTime anaesthesiaStart = in.addSecs(60 * rng.between(8, 20));
        const bool local = anaesthesia.kind == Anaesthesia::Local;
        const QDateTime cutting =
            anaesthesiaStart.addSecs(60 * (local ? rng.between(5, 10) : rng.between(10, 25)));
        const int operating = std::max(15, op.minutes * rng.between(70, 115) / 100);
        const QDateTime closing = cutting.addSecs(60 * operating);
        const QDateTime anaesthesiaEnd = closing.addSecs(60 * rng.between(5, 15));
        const QDateTime out = anaesthesiaEnd.addSecs(60 * rng.between(5, 15));
        const QString scrub = rng.pick(scrubNurses).toString();
        const QString circulating = rng.pick(circulatingNurses).toString();
        const QString categoryDigit = heart                       ? QStringLiteral("4")
                                      : op.procedure == u"OR1020" ? QStringLiteral("5")
                                      : major                     ? QStringLiteral("3")
                                                                  : QStringLiteral("2");
        const QString technique =
            QStringLiteral("Under %1, patient placed in proper position. Asepsis and antisepsis; "
                           "sterile drapes applied. %2 done. Hemostasis secured; sponge, needle "
                           "and instrument counts correct.")
                .arg(anaesthesia.type.toString().toLower(), proc.name.toString());
        records.add({s.idNum,
                     p.hospNum,
                     op.refNum,
                     circulating,
                     patientClass,
                     op.surgeon,
                     op.assistant,
                     local ? QString() : op.anaesthesiologist,
                     anaesthesia.type.toString(),
                     scrub,
                     circulating,
                     op.procedure,
                     kOrRoomNames[std::size_t(op.room - 1)].toString(),
                     categoryDigit,
                     major ? QStringLiteral("CEFAZOLIN 2 G IV") : QString(),
                     in.date(),
                     in,
                     anaesthesiaStart.date(),
                     anaesthesiaStart,
                     cutting.date(),
                     cutting,
                     closing.date(),
                     closing,
                     anaesthesiaEnd.date(),
                     anaesthesiaEnd,
                     out.date(),
                     out,
                     op.diagnosis,
                     op.diagnosis,
                     QStringLiteral("CONSCIOUS, COHERENT, NOT IN DISTRESS"),
                     heart ? QStringLiteral("INTUBATED, STABLE")
                           : QStringLiteral("AWAKE, STABLE VITAL SIGNS"),
                     technique,
                     proc.name.toString(),
                     QStringLiteral("Y"),
                     QStringLiteral("Y"),
                     major ? QStringLiteral("%1 ML").arg(50 * rng.between(2, 8))
                           : QStringLiteral("MINIMAL"),
                     heart ? QStringLiteral("2") : QStringLiteral("0")});
        if (op.booked)
            continue;

        QString station = QStringLiteral("OPD");
        for (const Room &r : std::as_const(m_rooms)) {
            if (inpatient && r.id == s.room)
                station = r.station;
        }
        const QString sex = p.sex == u'F' ? QStringLiteral("Female") : QStringLiteral("Male");
        const int age = ageOn(p.birthDate, op.start.date());
        const QString details = QStringLiteral("Patient Name :") + patientName(p) +
                                QStringLiteral("\nGender :") + sex + QStringLiteral("\nAge :") +
                                QString::number(age) + QStringLiteral("\nProcedure :") +
                                proc.name.toString() + QStringLiteral("\nSurgeon:") + op.surgeon +
                                QStringLiteral("\nAnesthesiologist :") + op.anaesthesiologist;
        // The ward asks soon after admission; the clinic books its patients two days ahead.
        const QDateTime requested = inpatient ? s.admitted.addSecs(1800) : op.start.addDays(-2);
        ++transNo;
        sched.add({padded(transNo, 8),
                   s.idNum,
                   p.hospNum,
                   patientName(p),
                   patientClass,
                   age,
                   QString(p.sex),
                   op.room,
                   op.start.date(),
                   op.start,
                   op.minutes,
                   details,
                   op.procedure,
                   proc.name.toString(),
                   op.category,
                   op.surgeon,
                   op.anaesthesiologist,
                   QStringLiteral("C"),
                   QStringLiteral("RQ%1").arg(transNo),
                   station,
                   requested,
                   inpatient ? QStringLiteral("1401") : QStringLiteral("OPD01"),
                   kEmployees[std::size_t(rng.below(3))].code.toString(),
                   requested.addSecs(1800)});

        // The charge slip of the operation, posted when the patient left the room; now and
        // then a slip was revoked after a wrong entry.
        const QChar letter = rateClassOf(s);
        const QDateTime posted = out.addSecs(60 * rng.between(10, 40));
        const bool revoked = rng.percent(4);
        const QString room = inpatient ? s.room : QString();
        auto addLine = [&](QStringView department, QStringView code, QStringView name, int qty,
                           qint64 centavos) {
            charges.add({s.idNum, p.hospNum, op.refNum, department.toString(), code.toString(),
                         name.toString(), double(qty), pesos(centavos * qty), posted, circulating,
                         QStringLiteral("OR"), patientClass, room, QStringLiteral("OR"), op.surgeon,
                         revoked ? QStringLiteral("R") : QString(),
                         revoked ? kEmployees[0].code.toString() : QString(),
                         revoked ? QVariant(posted.addSecs(7200)) : QVariant()});
        };
        auto item = [&](QStringView code, int qty) {
            const Item &i = itemByCode(code);
            addLine(i.department, i.code, i.name, qty, rateCentavos(i.rateA, letter));
        };
        auto medicine = [&](QStringView code, int qty) {
            const OrMedicine &m = orMedicine(code);
            addLine(u"PH", m.code, m.name, qty, m.centavos);
        };

        const int hours = hoursOf(int(in.secsTo(out) / 60));
        item(op.procedure, 1);
        if (heart) {
            item(u"OR1108", hours);
        } else if (major) {
            item(u"OR1101", 1);
            if (hours > 1)
                item(u"OR1102", hours - 1);
        } else {
            item(u"OR1103", 1);
        }
        if (!local)
            item(u"OR1104", 1);

        if (major) {
            item(u"OS2014", 1);
            item(u"OS2003", 2);
            item(u"OS2013", 2);
            item(u"OS2012", 1);
            item(u"OS2016", 3);
        } else {
            item(u"OS2015", 1);
            item(u"OS2006", 1);
            item(u"OS2016", 2);
        }
        if (op.procedure == u"OR1002" || op.procedure == u"OR1004") {
            item(u"OS2030", 3);
            item(u"OS2031", 1);
        }
        if (op.procedure == u"OR1006")
            item(u"OS2029", 1);
        if (op.procedure == u"OR1018" || op.procedure == u"OR1019")
            item(u"OS2002", 3);

        switch (anaesthesia.kind) {
        case Anaesthesia::General:
            item(u"AN4001", 1);
            if (hours > 1)
                item(u"AN4002", hours - 1);
            item(u"AN4005", 1);
            item(u"AN4007", 1);
            item(u"AN4008", 1);
            item(u"AN4009", 1);
            medicine(u"PH1003", 1);
            medicine(u"PH1008", hours);
            break;
        case Anaesthesia::Regional:
            item(op.procedure == u"OR1022" ? u"AN4004" : u"AN4003", 1);
            item(u"AN4008", 1);
            item(u"AN4009", 1);
            medicine(u"PH1004", 1);
            break;
        case Anaesthesia::Sedation:
            item(u"AN4009", 1);
            item(u"OX5003", 1);
            medicine(u"PH1006", 1);
            break;
        case Anaesthesia::Local:
            item(u"AN4009", 1);
            medicine(u"PH1005", 1);
            break;
        }
        if (!local)
            item(u"OX5001", hours);

        if (heart) {
            item(u"OE3006", 1);
            item(u"OE3010", 1);
        } else if (major) {
            item(u"OE3003", 1);
        }
        if (op.procedure == u"OR1002" || op.procedure == u"OR1004")
            item(u"OE3002", 1);
        if (op.procedure == u"OR1026" || op.procedure == u"OR1027" || op.procedure == u"OR1030") {
            item(u"OE3001", 1);
            item(u"OE3007", 1);
        }
        if (op.procedure == u"OR1041" || op.procedure == u"OR1042")
            item(u"OE3005", 1);
        if (op.room == 8)
            item(u"OE3009", 1);
        if (in.secsTo(out) >= 3 * 3600)
            item(u"OE3008", 1);

        if (major) {
            medicine(u"PH1001", 2);
            medicine(u"PH1002", 1);
            medicine(u"PH1009", 1);
        }
        if (op.procedure == u"OR1018" || op.procedure == u"OR1019")
            medicine(u"PH1007", 2);
    }
}

// ---------------------------------------------------------------------------------------------
// What the OR's forms and monitoring reports read besides the charges: the laboratory's results
// for the patients still in, the stock card of the OR's own supplies and medicines, and the log
// entries of the month's confirmed schedules and laboratory requests.

// A test as the laboratory reports it. Numeric tests draw a result between low and high (now and
// then outside, flagged); the others report `normal`.
struct LabTest
{
    QStringView section, name, unit, range;
    double low, high;
    int decimals;
    QStringView normal;
};

constexpr std::array kLabTests{
    LabTest{u"HEM", u"HEMOGLOBIN", u"g/L", u"M: 140-170 / F: 120-150", 120, 170, 0, u""},
    LabTest{u"HEM", u"HEMATOCRIT", u"L/L", u"M: 0.40-0.54 / F: 0.37-0.47", 0.37, 0.54, 2, u""},
    LabTest{u"HEM", u"RBC COUNT", u"x10^12/L", u"4.0 - 5.5", 4.0, 5.5, 1, u""},
    LabTest{u"HEM", u"WBC COUNT", u"x10^9/L", u"5.0 - 10.0", 5.0, 10.0, 1, u""},
    LabTest{u"HEM", u"NEUTROPHILS", u"", u"0.50 - 0.70", 0.50, 0.70, 2, u""},
    LabTest{u"HEM", u"LYMPHOCYTES", u"", u"0.20 - 0.40", 0.20, 0.40, 2, u""},
    LabTest{u"HEM", u"MONOCYTES", u"", u"0.02 - 0.08", 0.02, 0.08, 2, u""},
    LabTest{u"HEM", u"EOSINOPHILS", u"", u"0.01 - 0.04", 0.01, 0.04, 2, u""},
    LabTest{u"HEM", u"PLATELET COUNT", u"x10^9/L", u"150 - 400", 150, 400, 0, u""},
    LabTest{u"HEM", u"PROTHROMBIN TIME", u"sec", u"11.0 - 13.5", 11.0, 13.5, 1, u""},
    LabTest{u"HEM", u"INR", u"", u"0.8 - 1.2", 0.8, 1.2, 2, u""},
    LabTest{u"HEM", u"APTT", u"sec", u"25 - 35", 25, 35, 1, u""},
    LabTest{u"CHEM", u"FASTING BLOOD SUGAR", u"mmol/L", u"4.1 - 5.9", 4.1, 5.9, 1, u""},
    LabTest{u"CHEM", u"BLOOD UREA NITROGEN", u"mmol/L", u"2.5 - 6.4", 2.5, 6.4, 1, u""},
    LabTest{u"CHEM", u"CREATININE", u"umol/L", u"53 - 115", 53, 115, 0, u""},
    LabTest{u"CHEM", u"SODIUM", u"mmol/L", u"135 - 145", 135, 145, 0, u""},
    LabTest{u"CHEM", u"POTASSIUM", u"mmol/L", u"3.5 - 5.1", 3.5, 5.1, 1, u""},
    LabTest{u"SERO", u"HBSAG SCREENING", u"", u"NONREACTIVE", 0, 0, 0, u"NONREACTIVE"},
    LabTest{u"CM", u"URINE COLOR", u"", u"YELLOW", 0, 0, 0, u"YELLOW"},
    LabTest{u"CM", u"URINE TRANSPARENCY", u"", u"CLEAR", 0, 0, 0, u"CLEAR"},
    LabTest{u"CM", u"URINE PH", u"", u"5.0 - 8.0", 5.0, 7.5, 1, u""},
    LabTest{u"CM", u"SPECIFIC GRAVITY", u"", u"1.005 - 1.030", 1.005, 1.030, 3, u""},
    LabTest{u"CM", u"URINE PROTEIN", u"", u"NEGATIVE", 0, 0, 0, u"NEGATIVE"},
    LabTest{u"CM", u"URINE SUGAR", u"", u"NEGATIVE", 0, 0, 0, u"NEGATIVE"},
    LabTest{u"CM", u"PUS CELLS", u"/hpf", u"0 - 5", 0, 5, 0, u""},
    LabTest{u"CM", u"RED BLOOD CELLS", u"/hpf", u"0 - 2", 0, 2, 0, u""},
};

void DemoBuilder::addLaboratoryResults()
{
    DemoRandom rng(m_rng.next());
    TableRows &results = table(
        QStringLiteral("LABORATORY..tbLabResult"),
        {QStringLiteral("IdNum"), QStringLiteral("HospNum"), QStringLiteral("RequestNum"),
         QStringLiteral("SectionID"), QStringLiteral("TestName"), QStringLiteral("Result"),
         QStringLiteral("Unit"), QStringLiteral("NormalRange"), QStringLiteral("Flag"),
         QStringLiteral("Specimen"), QStringLiteral("StationID"), QStringLiteral("RequestedBy"),
         QStringLiteral("RequestDate"), QStringLiteral("IsAMPickUp"), QStringLiteral("ResultDate"),
         QStringLiteral("MedTech")});

    // Blood types as the patient master has them, so the result agrees with the chart.
    QMap<QString, QString> bloodTypes;
    for (const TableRows &t : std::as_const(m_tables)) {
        if (t.table != u"PATIENT_DATA..tbMaster")
            continue;
        const qsizetype hosp = t.columns.indexOf(QStringLiteral("HospNum"));
        const qsizetype blood = t.columns.indexOf(QStringLiteral("BloodType"));
        for (const QVariantList &row : t.rows)
            bloodTypes.insert(row.at(hosp).toString(), row.at(blood).toString());
    }

    // Results come out in the early morning's run at the latest; what was asked for after it
    // is still being worked on.
    const QDateTime lastRun(m_today, QTime(8, 30));
    qint64 requestNo = 2611000;
    const std::array<QStringView, 3> medTechs{u"LAB03", u"LAB05", u"LAB08"};
    auto request = [&](const Stay &s, const QString &station, const QString &by,
                       const QDateTime &asked, bool amPickUp, QStringView section,
                       const QList<QStringView> &tests) {
        const Patient &p = m_patients.at(s.patient);
        const QString number = QStringLiteral("LB%1").arg(++requestNo);
        const QDateTime released = asked.addSecs(60 * rng.between(90, 240));
        const bool done = released <= lastRun;
        const QString tech = rng.pick(medTechs).toString();
        for (QStringView name : tests) {
            const LabTest *test = nullptr;
            for (const LabTest &t : kLabTests) {
                if (t.section == section && t.name == name)
                    test = &t;
            }
            Q_ASSERT(test);
            QString value, flag;
            if (done && !test->normal.isEmpty()) {
                value = test->normal.toString();
            } else if (done) {
                double low = test->low, high = test->high;
                if (name == u"HEMOGLOBIN" || name == u"HEMATOCRIT") {
                    // The women's range is the lower one.
                    if (p.sex == u'F')
                        high = name == u"HEMOGLOBIN" ? 150 : 0.47;
                    else
                        low = name == u"HEMOGLOBIN" ? 140 : 0.40;
                }
                double v = low + (high - low) * rng.below(1001) / 1000.0;
                if (rng.percent(12)) {
                    const bool up = rng.percent(60);
                    v = up ? high + (high - low) * rng.between(5, 40) / 100.0
                           : std::max(0.0, low - (high - low) * rng.between(5, 30) / 100.0);
                    flag = up ? QStringLiteral("H") : QStringLiteral("L");
                }
                value = QString::number(v, 'f', test->decimals);
            }
            const QString specimen =
                section == u"CM" ? QStringLiteral("URINE") : QStringLiteral("BLOOD");
            results.add({s.idNum, p.hospNum, number, section.toString(), name.toString(), value,
                         test->unit.toString(), test->range.toString(), flag, specimen, station, by,
                         asked, amPickUp ? 1 : 0, done ? QVariant(released) : QVariant(),
                         done ? tech : QString()});
        }
    };
    // Tests whose result is a finding, not a number.
    auto finding = [&](const Stay &s, const QString &station, const QDateTime &asked,
                       QStringView section, QStringView name, QStringView specimen,
                       QStringView result, QStringView normal, bool abnormal) {
        const Patient &p = m_patients.at(s.patient);
        const QDateTime released = asked.addDays(2);
        const bool done = released <= lastRun;
        results.add(
            {s.idNum, p.hospNum, QStringLiteral("LB%1").arg(++requestNo), section.toString(),
             name.toString(), done ? result.toString() : QString(), QString(), normal.toString(),
             done && abnormal ? QStringLiteral("H") : QString(), specimen.toString(), station,
             QStringLiteral("1401"), asked, 0, done ? QVariant(released) : QVariant(),
             done ? rng.pick(medTechs).toString() : QString()});
    };

    const QList<QStringView> cbc{u"HEMOGLOBIN", u"HEMATOCRIT",  u"RBC COUNT",
                                 u"WBC COUNT",  u"NEUTROPHILS", u"LYMPHOCYTES",
                                 u"MONOCYTES",  u"EOSINOPHILS", u"PLATELET COUNT"};
    const QList<QStringView> urinalysis{u"URINE COLOR",      u"URINE TRANSPARENCY", u"URINE PH",
                                        u"SPECIFIC GRAVITY", u"URINE PROTEIN",      u"URINE SUGAR",
                                        u"PUS CELLS",        u"RED BLOOD CELLS"};
    const QList<QStringView> chemistry{u"FASTING BLOOD SUGAR", u"BLOOD UREA NITROGEN",
                                       u"CREATININE", u"SODIUM", u"POTASSIUM"};
    const QList<QStringView> coagulation{u"PROTHROMBIN TIME", u"INR", u"APTT"};

    for (int index : std::as_const(m_currentInpatients)) {
        const Stay &s = m_stays.at(index);
        QString ward = QStringLiteral("4N");
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.id == s.room)
                ward = r.station;
        }
        // The ward's admission work-up.
        const QDateTime admission = s.admitted.addSecs(40 * 60);
        request(s, ward, QStringLiteral("1401"), admission, false, u"HEM", cbc);
        request(s, ward, QStringLiteral("1401"), admission, false, u"CM", urinalysis);
        request(s, ward, QStringLiteral("1401"), admission, false, u"CHEM", chemistry);
        if (s.surgicalCase < 0) {
            finding(s, ward, admission, u"MICRO", u"BLOOD CULTURE AND SENSITIVITY", u"BLOOD",
                    u"NO GROWTH AFTER 48 HOURS", u"NO GROWTH", false);
            continue;
        }
        const SurgicalCase &c = kCases[std::size_t(s.surgicalCase)];
        // The OR's pre-operative work-up: clotting times, blood typing and hepatitis B screen.
        const QDateTime preOp = s.admitted.addSecs(75 * 60);
        request(s, QStringLiteral("OR"), QStringLiteral("2903"), preOp, false, u"HEM", coagulation);
        request(s, QStringLiteral("OR"), QStringLiteral("2903"), preOp, false, u"SERO",
                {u"HBSAG SCREENING"});
        const Patient &p = m_patients.at(s.patient);
        results.add({s.idNum, p.hospNum, QStringLiteral("LB%1").arg(++requestNo),
                     QStringLiteral("HEM"), QStringLiteral("BLOOD TYPE"),
                     bloodTypes.value(p.hospNum), QString(), QString(), QString(),
                     QStringLiteral("BLOOD"), QStringLiteral("OR"), QStringLiteral("2903"), preOp,
                     0, preOp.addSecs(3600), rng.pick(medTechs).toString()});
        if (c.procedure == u"OR1014")
            finding(s, QStringLiteral("OR"), preOp, u"MICRO", u"WOUND CULTURE AND SENSITIVITY",
                    u"WOUND SWAB", u"MODERATE GROWTH OF STAPHYLOCOCCUS AUREUS", u"NO GROWTH", true);
        // Patients on today's and tomorrow's list get a fresh count and potassium, collected
        // on the laboratory's morning round of the OR.
        if (s.admitted.date().daysTo(m_today) <= 1) {
            const QDateTime round(m_today, QTime(5, rng.between(0, 45)));
            request(s, QStringLiteral("OR"), QStringLiteral("2909"), round, true, u"HEM",
                    {u"HEMOGLOBIN", u"HEMATOCRIT", u"WBC COUNT", u"PLATELET COUNT"});
            request(s, QStringLiteral("OR"), QStringLiteral("2909"), round, true, u"CHEM",
                    {u"POTASSIUM"});
        }
    }
}

void DemoBuilder::addStockCard()
{
    // The OR keeps two stocks of its own: medicines and anaesthetic agents ("OM") and supplies
    // ("OS"). Every posted line of them took the item out of its stock, and a revoked line
    // put it back under a credit memo.
    TableRows &locations = table(QStringLiteral("INVENTORY..tbInvLocation"),
                                 {QStringLiteral("LocationID"), QStringLiteral("Location"),
                                  QStringLiteral("InventoryType")});
    locations.add({QStringLiteral("OM"), QStringLiteral("OR MEDICINES"), QStringLiteral("D")});
    locations.add({QStringLiteral("OS"), QStringLiteral("OR SUPPLIES"), QStringLiteral("C")});

    QList<QVariantList> card;
    qint64 creditMemo = 70410;
    for (const TableRows &t : std::as_const(m_tables)) {
        if (t.table != u"STATION..tbNurseLogBook")
            continue;
        auto at = [&t](const QVariantList &row, QStringView name) {
            return row.at(t.columns.indexOf(name.toString()));
        };
        for (const QVariantList &line : t.rows) {
            const QString department = at(line, u"RevenueID").toString();
            const QString item = at(line, u"ItemID").toString();
            QString location;
            if (department == u"OS")
                location = QStringLiteral("OS");
            else if (department == u"PH" && item.startsWith(u"PH1"))
                location = QStringLiteral("OM");
            if (location.isEmpty())
                continue;
            const QDateTime posted = at(line, u"TransDate").toDateTime();
            const QVariantList taken = {at(line, u"IDNum"),
                                        at(line, u"HospNum"),
                                        item,
                                        location,
                                        at(line, u"ReferenceNum"),
                                        QString(),
                                        QStringLiteral("I"),
                                        at(line, u"Quantity"),
                                        at(line, u"Amount"),
                                        posted,
                                        at(line, u"UserID"),
                                        QString()};
            card << taken;
            if (at(line, u"RecordStatus").toString() == u"R") {
                QVariantList back = taken;
                back[5] = QStringLiteral("CM%1").arg(++creditMemo);
                back[6] = QStringLiteral("C");
                back[9] = posted.addSecs(7200);
                back[10] = kEmployees[0].code.toString();
                back[11] = QStringLiteral("REVOKED CHARGE");
                card << back;
            }
        }
    }
    std::stable_sort(card.begin(), card.end(), [](const QVariantList &a, const QVariantList &b) {
        return a.at(9).toDateTime() < b.at(9).toDateTime();
    });
    TableRows &stock = table(
        QStringLiteral("INVENTORY..tbInvStockCard"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ItemID"),
         QStringLiteral("LocationID"), QStringLiteral("RefNum"), QStringLiteral("CreditMemoNum"),
         QStringLiteral("TransType"), QStringLiteral("Quantity"), QStringLiteral("Amount"),
         QStringLiteral("TransDate"), QStringLiteral("UserID"), QStringLiteral("Remarks")});
    stock.rows = card;
}

void DemoBuilder::addRequestLogs()
{
    // The log entries the OR's clerks and nurses left this month: operations confirmed on the
    // board and laboratory requests sent from the OR.
    QList<QVariantList> entries;
    const QDateTime monthAgo(m_today.addDays(-30), QTime(0, 0));
    for (const TableRows &t : std::as_const(m_tables)) {
        auto at = [&t](const QVariantList &row, QStringView name) {
            return row.at(t.columns.indexOf(name.toString()));
        };
        if (t.table == u"SCHEDULE..tbORScheduleDetails") {
            for (const QVariantList &row : t.rows) {
                const QDateTime confirmed = at(row, u"ConfirmedDate").toDateTime();
                if (at(row, u"RecordStatus").toString() != u"C" || confirmed < monthAgo)
                    continue;
                entries << QVariantList{at(row, u"IDNum"), confirmed,
                                        QString(QStringLiteral("OR SCHEDULE CONFIRMED: ") +
                                                at(row, u"TransNum").toString() + u' ' +
                                                at(row, u"ProcedureDesc").toString()),
                                        at(row, u"ConfirmedBy"), QStringLiteral("OR-PC-01")};
            }
        } else if (t.table == u"LABORATORY..tbLabResult") {
            QString last;
            for (const QVariantList &row : t.rows) {
                const QString number = at(row, u"RequestNum").toString();
                if (at(row, u"StationID").toString() != u"OR" || number == last)
                    continue;
                last = number;
                entries << QVariantList{
                    at(row, u"IdNum"), at(row, u"RequestDate"),
                    QString(QStringLiteral("SEND REQUEST: LABORATORY ") + number),
                    at(row, u"RequestedBy"), QStringLiteral("OR-PC-02")};
            }
        }
    }
    addOrStationLogs(std::move(entries));
}

} // namespace

QList<DemoLogin> demoLogins()
{
    // Demo passwords, printed for the README and the guided tour. The database keeps only
    // their hashes (kEmployees above).
    const std::array<std::pair<QStringView, QStringView>, 10> passwords{{{u"2901", u"orsupervisor"},
                                                                         {u"2902", u"scrubnurse"},
                                                                         {u"2903", u"circnurse"},
                                                                         {u"2904", u"ortech"},
                                                                         {u"2905", u"orclerk"},
                                                                         {u"2906", u"anesnurse"},
                                                                         {u"2907", u"recovery"},
                                                                         {u"2908", u"trainee"},
                                                                         {u"2909", u"nightshift"},
                                                                         {u"1401", u"wardnurse"}}};
    QList<DemoLogin> logins;
    for (const Employee &e : kEmployees) {
        QString password;
        for (const auto &[code, pw] : passwords) {
            if (code == e.code)
                password = pw.toString();
        }
        logins.append({e.code.toString(), password,
                       e.lastName.toString() + QStringLiteral(", ") + e.firstName.toString() +
                           u' ' + e.middleName.toString(),
                       e.designation.toString()});
    }
    return logins;
}

Result<void> createDemoHospital(Database &db, const QDate &today, quint64 seed)
{
    if (!today.isValid())
        return failure(QStringLiteral("The demo hospital needs a valid date for today."));
    DemoBuilder builder(today, seed);
    const QList<TableRows> tables = builder.build();

    Transaction tx = db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    for (const TableRows &t : tables) {
        if (auto ok = writeRows(db, t); !ok)
            return ok;
    }
    if (auto ok = db.exec(u"insert into PASSWORD..tbPasswordKey (ScrambleKey) values (:key)",
                          {{QStringLiteral("key"), demoScrambleKey()}});
        !ok)
        return tl::unexpected(ok.error());
    return tx.commit();
}

QString demoScrambleKey()
{
    return QStringLiteral("KESTRELORDEMO");
}

// The OR medicines on the national formulary list, and the dialysis ware that belongs to the
// dialysis package with its case rate. Draws nothing from the random stream, so every table
// built before it keeps its rows.
void DemoBuilder::addFormularyAndDialysisWare()
{
    TableRows &formulary = table(QStringLiteral("BUILD_FILE..tbCoPNFItem"),
                                 {QStringLiteral("ItemID"), QStringLiteral("Description")});
    // Propofol is left off: the hospital buys it outside the list.
    for (const OrMedicine &m : kOrMedicines) {
        if (!m.name.startsWith(u"PROPOFOL"))
            formulary.add({m.code.toString(), m.name.toString()});
    }

    TableRows &ware = table(
        QStringLiteral("CAPD..tbcapdware_Invent"),
        {QStringLiteral("TransType"), QStringLiteral("ItemID"), QStringLiteral("Description")});
    static constexpr QStringView dialysisWare[][2] = {
        {u"CAPD001", u"PERITONEAL DIALYSIS SOLUTION 1.5%, 2 L"},
        {u"CAPD002", u"PERITONEAL DIALYSIS SOLUTION 2.5%, 2 L"},
        {u"CAPD003", u"TRANSFER SET, 6 MONTHS"},
    };
    for (const auto &w : dialysisWare)
        ware.add({QStringLiteral("ZPACKAGE AND CASERATE"), w[0].toString(), w[1].toString()});
    ware.add({QStringLiteral("REGULAR"), QStringLiteral("CAPD101"),
              QStringLiteral("MINICAP DISCONNECT CAP")});
}

// The receivable accounts charges go to, the PD First dialysis benefit, and the medicines the
// wards have given (or not yet given) to the patients in the hospital now.
void DemoBuilder::addReceivableCodesAndWardMedicines()
{
    TableRows &codes = table(QStringLiteral("BUILD_FILE..tbCoARCode"),
                             {QStringLiteral("RevenueID"), QStringLiteral("PatientClass"),
                              QStringLiteral("Guarantor"), QStringLiteral("TransType"),
                              QStringLiteral("ARCode")});
    // Inpatient receivables are 1131-, outpatient 1132-; a company's share ends in 2, a credit
    // for a return carries the suffix R.
    for (const Revenue &r : kRevenueCodes) {
        for (const QString &cls : {QStringLiteral("I"), QStringLiteral("O")}) {
            for (const QString &payer : {QStringLiteral("P"), QStringLiteral("C")}) {
                const QString code = QStringLiteral("%1-%2-%3")
                                         .arg(cls == u"I" ? QStringLiteral("1131") : QStringLiteral("1132"), r.id.toString(),
                                              payer == u"P" ? QStringLiteral("1") : QStringLiteral("2"));
                codes.add({r.id.toString(), cls, payer, QStringLiteral("1"), code});
                codes.add({r.id.toString(), cls, payer, QStringLiteral("2"), QString(code + u'R')});
            }
        }
    }

    table(QStringLiteral("BUILD_FILE..tbCoAdmPackage"),
          {QStringLiteral("PackageID"), QStringLiteral("Package"), QStringLiteral("IsZPDFirst")})
        .add({QStringLiteral("PKG-PDF"), QStringLiteral("PD FIRST Z-BENEFIT PACKAGE"), 1});

    TableRows &medicines = table(QStringLiteral("STATION..tbNursePatientMedicines"),
                                 {QStringLiteral("IDNum"), QStringLiteral("ItemID"),
                                  QStringLiteral("RequestNum"), QStringLiteral("Quantity"),
                                  QStringLiteral("QtyAdministered"), QStringLiteral("RequestDate"),
                                  QStringLiteral("RecordStatus")});
    // Each of the first patients in the hospital has two medicines: the first given in full,
    // the second with a dose or two still to give.
    const int wards = std::min<int>(int(m_currentInpatients.size()), 6);
    for (int n = 0; n < wards; ++n) {
        const Stay &stay = m_stays.at(m_currentInpatients.at(n));
        const OrMedicine &given = kOrMedicines.at(std::size_t(n) % kOrMedicines.size());
        const OrMedicine &pending = kOrMedicines.at(std::size_t(n + 1) % kOrMedicines.size());
        const QString request = QStringLiteral("RQ%1").arg(26120 + n, 6, 10, QChar(u'0'));
        medicines.add({stay.idNum, given.code.toString(), request, 3, 3, at(1, 8 * 60),
                       QString()});
        medicines.add({stay.idNum, pending.code.toString(), request, 4, 4 - (n % 2 + 1),
                       at(0, 6 * 60), QString()});
    }
}

// More of the admitting office's small master files, for the code look-ups: hospitals the OR
// refers patients to (several in San Bartolome, whose names begin alike), the ships calling
// at the port whose seafarers come to the hospital, the insurance membership categories and
// admission types added since. Draws nothing from the random stream.
void DemoBuilder::addReferralsVesselsAndAdmittingCodes()
{
    TableRows &hospitals = table(
        QStringLiteral("BUILD_FILE..tbCoHospital"),
        {QStringLiteral("HospitalID"), QStringLiteral("HospitalName"), QStringLiteral("Address")});
    static constexpr QStringView referrals[][3] = {
        {u"H05", u"SAN BARTOLOME DOCTORS HOSPITAL", u"RIZAL AVENUE, SAN BARTOLOME CITY"},
        {u"H06", u"SAN ROQUE MATERNITY AND GENERAL HOSPITAL", u"SAN ROQUE, SAN BARTOLOME CITY"},
        {u"H07", u"SAN ISIDRO LABRADOR MEDICAL CENTER", u"PIER 3 ROAD, SAN BARTOLOME CITY"},
        {u"H08", u"DR. AMPARO REYES-MANALO MEMORIAL HOSPITAL", u"STO. NINO, LIPA CITY"},
        {u"H09", u"LIWAYWAY KIDNEY AND DIALYSIS CENTER", u"CALAMBA CITY, LAGUNA"},
    };
    for (const auto &h : referrals)
        hospitals.add({h[0].toString(), h[1].toString(), h[2].toString()});

    TableRows &vessels = table(QStringLiteral("BUILD_FILE..tbCoVessel"),
                               {QStringLiteral("VesselCode"), QStringLiteral("VesselName")});
    static constexpr QStringView ships[][2] = {
        {u"V005", u"MV DALAMPASIGAN EXPRESS"}, {u"V006", u"MV LAKANDULA TRADER"},
        {u"V007", u"MT TALA NG DAGAT"},        {u"V008", u"LCT SAN BARTOLOME II"},
        {u"V009", u"MV PERLAS NG TIMOG"},
    };
    for (const auto &v : ships)
        vessels.add({v[0].toString(), v[1].toString()});

    TableRows &phic = table(
        QStringLiteral("MEDICARE..tbAdmPHICTable"),
        {QStringLiteral("PHICCode"), QStringLiteral("PHICDescription"), QStringLiteral("Status")});
    phic.add({QStringLiteral("OS"), QStringLiteral("OVERSEAS FILIPINO WORKER - SEA-BASED"), 1});
    phic.add({QStringLiteral("KM"), QStringLiteral("KASAMBAHAY (DOMESTIC WORKER)"), 1});
    phic.add({QStringLiteral("NP"), QStringLiteral("NON-PAYING MEMBER (OLD CATEGORY)"), 0});

    // The charity code of the old admitting system is no longer given.
    TableRows &admTypes = table(QStringLiteral("PATIENT_DATA..tbAdmissionType"),
                                {QStringLiteral("AdmissionTypeID"),
                                 QStringLiteral("AdmissionType"), QStringLiteral("Status")});
    admTypes.add({QStringLiteral("6"), QStringLiteral("DAY SURGERY"), QStringLiteral("A")});
    admTypes.add(
        {QStringLiteral("7"), QStringLiteral("TRANSFER FROM OTHER HOSPITAL"), QStringLiteral("A")});
    admTypes.add({QStringLiteral("0"), QStringLiteral("CHARITY (OLD CODE)"), QStringLiteral("X")});
}

void DemoBuilder::addOrStationLogs(QList<QVariantList> entries)
{
    std::stable_sort(entries.begin(), entries.end(),
                     [](const QVariantList &a, const QVariantList &b) {
                         return a.at(1).toDateTime() < b.at(1).toDateTime();
                     });
    TableRows &logs =
        table(QStringLiteral("STATION..tbStationLogs"),
              {QStringLiteral("IdNum"), QStringLiteral("TransDate"), QStringLiteral("Remarks"),
               QStringLiteral("UserID"), QStringLiteral("HostName"), QStringLiteral("StationID")});
    for (QVariantList &e : entries) {
        e << QStringLiteral("OR");
        logs.add(std::move(e));
    }
}

// The OR's check of the confirmed operations, and what its staff did to the OR records. An OR
// nurse checks a scheduled patient when he is brought in, so every operation that began
// before nine this morning is checked; the later ones of today and tomorrow's still wait. Of
// the operations done more than two weeks ago, some records were printed, some surgical
// memos too, and now and then a signatory was changed before printing.
void DemoBuilder::addOperationChecksAndRecordUpdates()
{
    DemoRandom rng(m_rng.next());
    const std::array<QStringView, 4> nurses{u"2902", u"2903", u"2907", u"2909"};
    const QDateTime checkedBefore(m_today, QTime(9, 0));
    for (TableRows &t : m_tables) {
        if (t.table != u"SCHEDULE..tbORScheduleDetails")
            continue;
        const int status = int(t.columns.indexOf(QStringLiteral("RecordStatus")));
        const int start = int(t.columns.indexOf(QStringLiteral("StartTime")));
        t.columns << QStringLiteral("ORNotified") << QStringLiteral("ORNotifiedUser")
                  << QStringLiteral("ORNotifiedDate");
        for (QVariantList &row : t.rows) {
            const QDateTime begins = row.at(start).toDateTime();
            if (row.at(status).toString() == u"C" && begins < checkedBefore)
                row << QStringLiteral("Y") << rng.pick(nurses).toString()
                    << QVariant(begins.addSecs(-60 * rng.between(10, 40)));
            else
                row << QString() << QString() << QVariant();
        }
    }

    const TableRows *records = nullptr;
    for (const TableRows &t : m_tables) {
        if (t.table == u"STATION..tbORMasterFile")
            records = &t;
    }
    Q_ASSERT(records);
    const int idNum = int(records->columns.indexOf(QStringLiteral("IdNum")));
    const int user = int(records->columns.indexOf(QStringLiteral("UserID")));
    const int out = int(records->columns.indexOf(QStringLiteral("PatientOut")));
    const QDateTime recentFrom(m_today.addDays(-14), QTime(0, 0));
    QList<QVariantList> entries;
    for (const QVariantList &record : records->rows) {
        const QDateTime left = record.at(out).toDateTime();
        if (left >= recentFrom || !rng.percent(30))
            continue;
        const QString stay = record.at(idNum).toString();
        const QString nurse = record.at(user).toString();
        const QString host = QStringLiteral("OR-PC-0%1").arg(1 + rng.below(3));
        QDateTime when = left.addSecs(60 * rng.between(30, 180));
        if (rng.percent(15)) {
            entries.append({stay, when, QStringLiteral("Edit Surgeon Signatory"),
                            kEmployees[0].code.toString(), host});
            when = when.addSecs(60 * rng.between(5, 30));
        }
        entries.append({stay, when, QStringLiteral("PRINT CLINICAL OPERATION"), nurse, host});
        if (rng.percent(40))
            entries.append({stay, when.addSecs(60 * rng.between(2, 20)),
                            QStringLiteral("PRINT SURGICAL MEMORANDUM"), nurse, host});
    }
    addOrStationLogs(std::move(entries));
}


// What the pricing rules read: the drug master with each location's stock and prices, prices
// agreed with companies, packages, the OR's markups, HMO and RUV rates, the exams of the
// laboratory, X-ray and ultrasound, and a few patients admitted this morning whose stays call
// for each rule (an HMO visit priced at rate H, the special classes, a foreigner, ER visits, a
// walk-in, an employee's dependent, an HMO patient in a private room, and a mother whose tubal
// ligation the delivery room already charged as her second operation). Draws nothing from the
// random stream.
void DemoBuilder::addPricingData()
{
    struct StockItem
    {
        QStringView code, name, description, generic, classification, route;
        qint64 centavos;
        QStringView locations[2];
    };
    // The OR's medicines are stocked by the pharmacy and the OR's own medicine cabinet; the
    // supplies by the central supply and the OR's supply room.
    QList<StockItem> items;
    for (const OrMedicine &m : kOrMedicines)
        items.append({m.code, m.name, u"", u"", u"ANESTHETICS AND OR MEDICINES", u"IV", m.centavos,
                      {u"PHA", u"OM"}});
    static constexpr StockItem supplies[] = {
        {u"CS3001", u"IV CANNULA G18", u"WITH INJECTION PORT", u"INTRAVENOUS CATHETER",
         u"IV SUPPLIES", u"", 9500, {u"CSR", u"OS"}},
        {u"CS3002", u"IV CANNULA G22", u"WITH INJECTION PORT", u"INTRAVENOUS CATHETER",
         u"IV SUPPLIES", u"", 9500, {u"CSR", u"OS"}},
        {u"CS3003", u"MACRODRIP IV SET", u"15 DROPS/ML", u"INFUSION SET", u"IV SUPPLIES", u"",
         7800, {u"CSR", u"OS"}},
        {u"CS3004", u"DISPOSABLE SYRINGE 10 ML", u"WITH NEEDLE G23", u"SYRINGE",
         u"SYRINGES AND NEEDLES", u"", 1200, {u"CSR", u"OS"}},
        {u"CS3005", u"SPINAL NEEDLE G25", u"QUINCKE TIP", u"SPINAL NEEDLE",
         u"SYRINGES AND NEEDLES", u"", 18500, {u"CSR", u"OS"}},
        {u"CS3006", u"MICROPORE TAPE 1 INCH", u"PER ROLL", u"SURGICAL TAPE", u"DRESSINGS", u"",
         4500, {u"CSR", u"OS"}},
        {u"CS3007", u"ELASTIC BANDAGE 4 INCHES", u"PER ROLL", u"ELASTIC BANDAGE", u"DRESSINGS",
         u"", 8500, {u"CSR", u"OS"}},
        {u"CS3008", u"STERILE COTTON BALLS", u"PACK OF 100", u"ABSORBENT COTTON", u"DRESSINGS",
         u"", 6000, {u"CSR", u"OS"}},
    };
    for (const StockItem &s : supplies)
        items.append(s);

    TableRows &master = table(QStringLiteral("INVENTORY..tbInvMaster"),
                              {QStringLiteral("ItemID"), QStringLiteral("ItemName"),
                               QStringLiteral("Description"), QStringLiteral("GenericName"),
                               QStringLiteral("ClassificationName"), QStringLiteral("Route"),
                               QStringLiteral("AntiBioticClassID"), QStringLiteral("Unrestricted"),
                               QStringLiteral("Status")});
    TableRows &stock = table(QStringLiteral("INVENTORY..tbInvent"),
                             {QStringLiteral("ItemID"), QStringLiteral("LocationID"),
                              QStringLiteral("OnHand"), QStringLiteral("SellingPriceIn"),
                              QStringLiteral("SellingPriceOut"), QStringLiteral("AverageCost")});
    for (qsizetype i = 0; i < items.size(); ++i) {
        const StockItem &s = items.at(i);
        // The generic name is the medicine's name up to its strength.
        QString generic = s.generic.toString();
        if (generic.isEmpty())
            generic = s.name.toString().section(u' ', 0, 0);
        const bool antibiotic = s.code == u"PH1001";
        master.add({s.code.toString(), s.name.toString(), s.description.toString(), generic,
                    s.classification.toString(), s.route.toString(),
                    antibiotic ? QStringLiteral("CEPH1") : QString(), i % 3 == 0 ? 1 : 0,
                    QStringLiteral("A")});
        // Outpatients pay a tenth more; the hospital bought at seven tenths of the price.
        const qint64 out = (s.centavos * 11 + 5) / 10;
        const qint64 cost = (s.centavos * 7 + 5) / 10;
        for (int l = 0; l < 2; ++l) {
            const int onHand = l == 0 ? 200 + int(i) * 15 : 12 + int(i % 5) * 4;
            stock.add({s.code.toString(), s.locations[l].toString(), double(onHand),
                       pesos(s.centavos), pesos(out), pesos(cost)});
        }
    }
    // Discontinued, and one the OR's cabinet has run out of.
    master.add({QStringLiteral("PH1010"), QStringLiteral("THIOPENTAL 500 MG VIAL"), QString(),
                QStringLiteral("THIOPENTAL"), QStringLiteral("ANESTHETICS AND OR MEDICINES"),
                QStringLiteral("IV"), QString(), 0, QStringLiteral("I")});
    master.add({QStringLiteral("PH1011"), QStringLiteral("EPHEDRINE 50 MG/ML AMPULE"), QString(),
                QStringLiteral("EPHEDRINE"), QStringLiteral("ANESTHETICS AND OR MEDICINES"),
                QStringLiteral("IV"), QString(), 0, QStringLiteral("A")});
    stock.add({QStringLiteral("PH1011"), QStringLiteral("OM"), 0.0, pesos(8500), pesos(9350),
               pesos(5950)});

    TableRows &agreed = table(QStringLiteral("INVENTORY..tbInvCompanyPrice"),
                              {QStringLiteral("ItemID"), QStringLiteral("AccountNum"),
                               QStringLiteral("CompanyPrice")});
    agreed.add({QStringLiteral("PH1001"), QStringLiteral("1102"), pesos(16500)});
    agreed.add({QStringLiteral("PH1002"), QStringLiteral("1102"), pesos(8500)});
    agreed.add({QStringLiteral("CS3005"), QStringLiteral("1102"), pesos(16000)});
    agreed.add({QStringLiteral("PH1001"), QStringLiteral("2101"), pesos(17500)});

    TableRows &packages = table(
        QStringLiteral("INVENTORY..tbInvPackage"),
        {QStringLiteral("PackageID"), QStringLiteral("Package"), QStringLiteral("RateA"),
         QStringLiteral("RateB"), QStringLiteral("RateC"), QStringLiteral("RateD"),
         QStringLiteral("RateE")});
    packages.add({QStringLiteral("OPK-CIRC"), QStringLiteral("CIRCUMCISION PACKAGE"),
                  pesos(450000), pesos(480000), pesos(520000), pesos(560000), pesos(600000)});
    packages.add({QStringLiteral("OPK-LIPO"), QStringLiteral("EXCISION OF LIPOMA PACKAGE"),
                  pesos(850000), pesos(900000), pesos(975000), pesos(1050000), pesos(1150000)});

    table(QStringLiteral("STATION..tbCoMarkUp"), {QStringLiteral("Markup")}).add({15.0});
    TableRows &orMarkups = table(QStringLiteral("STATION..tbORMarkUp"),
                                 {QStringLiteral("Description"), QStringLiteral("Markup"),
                                  QStringLiteral("Operation"), QStringLiteral("Status"),
                                  QStringLiteral("IsDefault"), QStringLiteral("RegFrom"),
                                  QStringLiteral("RegTo")});
    const QDate yearStart(m_today.year(), 1, 1);
    const QDate yearEnd(m_today.year(), 12, 31);
    orMarkups.add({QStringLiteral("AFTER OFFICE HOURS"), 0.25, QStringLiteral("*"),
                   QStringLiteral("A"), 1, yearStart, yearEnd});
    orMarkups.add({QStringLiteral("STAT / EMERGENCY CASE"), 0.3, QStringLiteral("*"),
                   QStringLiteral("A"), 0, yearStart, yearEnd});
    orMarkups.add({QStringLiteral("ISOLATION CASE HANDLING"), 1500.0, QStringLiteral("+"),
                   QStringLiteral("A"), 0, yearStart, yearEnd});
    orMarkups.add({QStringLiteral("HOLIDAY SURCHARGE (OLD RATE)"), 0.5, QStringLiteral("*"),
                   QStringLiteral("I"), 0, yearStart.addYears(-2), yearEnd.addYears(-2)});
    TableRows &oldMarkups = table(QStringLiteral("STATION..tbMarkUp"),
                                  {QStringLiteral("MarkupName"), QStringLiteral("MarkUp")});
    oldMarkups.add({QStringLiteral("REGULAR"), 1.0});
    oldMarkups.add({QStringLiteral("STAT / EMERGENCY"), 1.3});
    oldMarkups.add({QStringLiteral("HOLIDAY"), 1.5});

    // HMOs pay by room class for the common operations and the first hour of the OR.
    TableRows &hmo = table(QStringLiteral("BUILD_FILE..tbCoHMORate"),
                           {QStringLiteral("RevenueID"), QStringLiteral("ItemID"),
                            QStringLiteral("RoomClassID"), QStringLiteral("HMORate")});
    static constexpr std::pair<QChar, int> hmoClasses[] = {
        {u'A', 100}, {u'B', 105}, {u'C', 110}, {u'D', 120}, {u'E', 130}, {u'I', 102}};
    for (QStringView code : {u"OR1001", u"OR1002", u"OR1004", u"OR1005", u"OR1009", u"OR1012",
                             u"OR1018", u"OR1023", u"OR1036", u"OR1101"}) {
        const Item &item = itemByCode(code);
        const qint64 base = rateCentavos(item.rateA, u'H');
        for (const auto &[cls, percent] : hmoClasses)
            hmo.add({item.department.toString(), item.code.toString(), QString(cls),
                     pesos(base * percent / 100)});
    }

    // Relative units of the procedures the OR prices by the scale; the rest keep the list.
    TableRows &ruv = table(QStringLiteral("BUILD_FILE..tbCoProcedureRUV"),
                           {QStringLiteral("OtherRevenueID"), QStringLiteral("RUV")});
    static constexpr std::pair<QStringView, double> units[] = {
        {u"OR1001", 60},  {u"OR1002", 85},  {u"OR1003", 80},  {u"OR1004", 110},
        {u"OR1005", 50},  {u"OR1006", 70},  {u"OR1007", 95},  {u"OR1010", 100},
        {u"OR1018", 90},  {u"OR1019", 95},  {u"OR1022", 105}, {u"OR1026", 130},
        {u"OR1033", 100}, {u"OR1038", 45},  {u"OR1041", 90},  {u"OR1043", 250}};
    for (const auto &[code, value] : units)
        ruv.add({code.toString(), value});
    TableRows &worth = table(QStringLiteral("BUILD_FILE..tbCoRUVConversion"),
                             {QStringLiteral("RoomClassID"), QStringLiteral("PesoPerUnit")});
    static constexpr std::pair<QChar, qint64> perUnit[] = {
        {u'A', 32000}, {u'B', 35000}, {u'C', 40000}, {u'D', 45000}, {u'E', 50000}, {u'H', 38000}};
    for (const auto &[cls, centavos] : perUnit)
        worth.add({QString(cls), pesos(centavos)});

    // Surgeons' fees for HMO visits, priced at the visit's rate type.
    TableRows &fees =
        table(QStringLiteral("BUILD_FILE..tbCoDoctorBill"),
              {QStringLiteral("DoctorID"), QStringLiteral("RoomClassID"),
               QStringLiteral("Description"), QStringLiteral("Amount"), QStringLiteral("Status")});
    for (const QString &doctor : doctorsIn(u"GENERAL SURGERY"))
        fees.add({doctor, QStringLiteral("H"), QStringLiteral("PROFESSIONAL FEE"),
                  pesos(rateCentavos(15000, u'H')), 1});

    TableRows &labs = table(QStringLiteral("BUILD_FILE..tbCoLabExam"),
                            {QStringLiteral("LabExamID"), QStringLiteral("LabExam"),
                             QStringLiteral("LabSectionID"), QStringLiteral("IsProcedure"),
                             QStringLiteral("OpenQuantity"), QStringLiteral("MaxQty"),
                             QStringLiteral("IsFixedRate")});
    labs.add({QStringLiteral("LB101"), QStringLiteral("BLOOD CULTURE AND SENSITIVITY"),
              QStringLiteral("MIC"), 1, 1, 3, 0});
    labs.add({QStringLiteral("LB102"), QStringLiteral("ARTERIAL BLOOD GAS"),
              QStringLiteral("CHEM"), 1, 1, QVariant(), 0});
    labs.add({QStringLiteral("LB103"), QStringLiteral("FROZEN SECTION"), QStringLiteral("HIS"),
              1, 0, 2, 1});
    TableRows &xrays = table(QStringLiteral("BUILD_FILE..tbCoXrayExam"),
                             {QStringLiteral("XrayExamID"), QStringLiteral("XrayExam"),
                              QStringLiteral("IsProcedure"), QStringLiteral("OpenQuantity"),
                              QStringLiteral("MaxQty"), QStringLiteral("IsFixedRate")});
    xrays.add({QStringLiteral("XR001"), QStringLiteral("CHEST PA"), 0, 0, QVariant(), 1});
    xrays.add({QStringLiteral("XR002"), QStringLiteral("PORTABLE CHEST AP"), 0, 0, QVariant(), 0});
    xrays.add(
        {QStringLiteral("XR010"), QStringLiteral("C-ARM INTRAOPERATIVE FLUOROSCOPY"), 1, 1, 4, 0});
    TableRows &ultrasounds = table(QStringLiteral("BUILD_FILE..tbCoUltraExam"),
                                   {QStringLiteral("UltraExamID"), QStringLiteral("UltraExam"),
                                    QStringLiteral("IsProcedure"), QStringLiteral("OpenQuantity"),
                                    QStringLiteral("MaxQty"), QStringLiteral("IsFixedRate")});
    ultrasounds.add(
        {QStringLiteral("US001"), QStringLiteral("WHOLE ABDOMEN ULTRASOUND"), 0, 0, QVariant(), 1});
    ultrasounds.add({QStringLiteral("US010"), QStringLiteral("ULTRASOUND-GUIDED ASPIRATION"), 1, 1,
                     QVariant(), 0});

    addPricingPatients();
}

DemoBuilder::Numbering DemoBuilder::numbering() const
{
    Numbering n;
    for (const Patient &p : std::as_const(m_patients))
        n.hospNum = std::max(n.hospNum, p.hospNum.toLongLong());
    for (const Stay &s : std::as_const(m_stays)) {
        if (s.kind == StayKind::Inpatient) {
            n.inpatientNo = std::max(n.inpatientNo, s.idNum.toLongLong());
            if (!s.discharged.isValid())
                n.occupied.insert(s.room);
        } else {
            n.outpatientNo = std::max(n.outpatientNo, s.idNum.chopped(1).toLongLong());
            n.erNo = std::max(n.erNo, s.erNum.mid(3).toLongLong());
        }
    }
    return n;
}

// The patients of addPricingData(), admitted or seen this morning. Their numbers follow the
// hospital's last ones, and inpatients get rooms nobody is in.
void DemoBuilder::addPricingPatients()
{
    Numbering numbers = numbering();
    qint64 &hospNum = numbers.hospNum;
    qint64 &inpatientNo = numbers.inpatientNo;
    qint64 &outpatientNo = numbers.outpatientNo;
    qint64 &erNo = numbers.erNo;
    QSet<QString> &occupied = numbers.occupied;
    auto freeRoom = [&](QChar rateClass) {
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.rateClass == rateClass && !occupied.contains(r.id)) {
                occupied.insert(r.id);
                return r.id;
            }
        }
        Q_UNREACHABLE();
    };

    struct PricedPatient
    {
        QStringView lastName, firstName, middleName;
        QChar sex;
        int age;
        QStringView nationality;
        StayKind kind;
        QStringView account; ///< "" for the patient's own hospital number
        QChar roomClass;     ///< inpatients
        int isSpecial;
        QStringView admissionType, rateType, complaint;
    };
    static constexpr PricedPatient patients[] = {
        {u"MANANSALA", u"ROSEMARIE", u"DIZON", u'F', 34, u"FILIPINO", StayKind::Outpatient,
         u"1101", u' ', 0, u"", u"H", u"FOR EXCISION OF LIPOMA, BACK"},
        {u"GUEVARRA", u"TEOFILO", u"LAXAMANA", u'M', 58, u"FILIPINO", StayKind::Inpatient, u"",
         u'A', 9, u"1", u"", u"ACUTE APPENDICITIS"},
        {u"BAYLON", u"CONCHITA", u"REYES", u'F', 47, u"FILIPINO", StayKind::Outpatient, u"",
         u' ', 1, u"", u"A", u"FOR REMOVAL OF SUTURES"},
        {u"HARTLEY", u"GRAHAM", u"", u'M', 61, u"AUSTRALIAN", StayKind::Inpatient, u"", u'B', 0,
         u"3", u"", u"INGUINAL HERNIA, RIGHT, REDUCIBLE"},
        {u"LUMANLAN", u"ARVIN", u"PINEDA", u'M', 26, u"FILIPINO", StayKind::Emergency, u"", u' ',
         0, u"", u"A", u"LACERATED WOUND, LEFT HAND"},
        {u"SALONGA", u"JENALYN", u"CUSTODIO", u'F', 19, u"FILIPINO", StayKind::Outpatient,
         u"4394", u' ', 0, u"", u"A", u"FOR WOUND DRESSING"},
        {u"ESTACIO", u"WILMA", u"ABAD", u'F', 41, u"FILIPINO", StayKind::Inpatient, u"", u'A', 0,
         u"9", u"", u"CHOLELITHIASIS"},
        {u"VALENZUELA", u"RONALDO", u"SISON", u'M', 52, u"FILIPINO", StayKind::Inpatient, u"1102",
         u'C', 0, u"3", u"", u"BENIGN PROSTATIC HYPERPLASIA"},
        {u"AGUINALDO", u"MARISSA", u"TOLENTINO", u'F', 31, u"FILIPINO", StayKind::Inpatient, u"",
         u'B', 0, u"4", u"", u"PREGNANCY UTERINE 39 WEEKS, CEPHALOPELVIC DISPROPORTION"},
        {u"CAPISTRANO", u"EFREN", u"MAGNO", u'M', 44, u"FILIPINO", StayKind::Emergency, u"1103",
         u' ', 0, u"", u"H", u"ABDOMINAL PAIN"},
    };

    TableRows &master = table(
        QStringLiteral("PATIENT_DATA..tbMaster"),
        {QStringLiteral("HospNum"), QStringLiteral("LastName"), QStringLiteral("FirstName"),
         QStringLiteral("MiddleName"), QStringLiteral("Sex"), QStringLiteral("BirthDate"),
         QStringLiteral("CivilStatus"), QStringLiteral("Town"), QStringLiteral("Province"),
         QStringLiteral("Nationality"), QStringLiteral("DateCreated")});
    TableRows &inpatients = table(
        QStringLiteral("PATIENT_DATA..tbPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("AccountNum"), QStringLiteral("RoomID"), QStringLiteral("StationID"),
         QStringLiteral("AdmittingDr"), QStringLiteral("AttendingDr1"), QStringLiteral("UserID")});
    TableRows &extension =
        table(QStringLiteral("PATIENT_DATA..tbPatient2"),
              {QStringLiteral("IDNum"), QStringLiteral("OkeyOR"), QStringLiteral("CreditLine"),
               QStringLiteral("PatientClass"), QStringLiteral("AdmissionTypeID"),
               QStringLiteral("isSpecial"), QStringLiteral("PHICCode")});
    TableRows &history = table(QStringLiteral("PATIENT_DATA..tbPatientHistory"),
                               {QStringLiteral("IDNum"), QStringLiteral("ADMDiagnosis"),
                                QStringLiteral("ChiefComplaint")});
    TableRows &outpatients = table(
        QStringLiteral("PATIENT_DATA..tbOutPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("ERNum"), QStringLiteral("AccountNum"), QStringLiteral("PatientType"),
         QStringLiteral("RateType"), QStringLiteral("isSpecial"), QStringLiteral("DoctorID1"),
         QStringLiteral("PHICCode"), QStringLiteral("UserID")});
    TableRows &opHistory = table(QStringLiteral("PATIENT_DATA..tbOutpatientHistory"),
                                 {QStringLiteral("IDNum"), QStringLiteral("ChiefComplaints")});

    const QString surgeon = doctorsIn(u"GENERAL SURGERY").first();
    Stay mother;
    int minutes = 5 * 60;
    for (const PricedPatient &pp : patients) {
        Patient p;
        p.hospNum = padded(++hospNum, 8);
        p.lastName = pp.lastName.toString();
        p.firstName = pp.firstName.toString();
        p.middleName = pp.middleName.toString();
        p.sex = pp.sex;
        p.age = pp.age;
        p.birthDate = QDate(m_today.year() - pp.age, 3 + p.hospNum.right(1).toInt(), 14);
        p.created = at(0, minutes);
        m_patients.append(p);
        master.add({p.hospNum, p.lastName, p.firstName, p.middleName, QString(p.sex), p.birthDate,
                    QStringLiteral("MARRIED"), QStringLiteral("SAN BARTOLOME CITY"),
                    QStringLiteral("LAGUNA"), pp.nationality.toString(), p.created});

        Stay s;
        s.patient = int(m_patients.size()) - 1;
        s.kind = pp.kind;
        s.admitted = at(0, minutes + 10);
        minutes += 20;
        s.account = pp.account.isEmpty() ? p.hospNum : pp.account.toString();
        s.doctor = surgeon;
        s.complaint = pp.complaint.toString();
        if (pp.kind == StayKind::Inpatient) {
            s.idNum = padded(++inpatientNo, 7);
            s.room = freeRoom(pp.roomClass);
            QString station;
            for (const Room &r : std::as_const(m_rooms)) {
                if (r.id == s.room)
                    station = r.station;
            }
            inpatients.add({s.idNum, p.hospNum, s.admitted, s.account, s.room, station, surgeon,
                            surgeon, QStringLiteral("ADM01")});
            extension.add({s.idNum, 1, pesos(10000000), QStringLiteral("P"),
                           pp.admissionType.toString(), pp.isSpecial, QStringLiteral("EP")});
            history.add({s.idNum, s.complaint, s.complaint});
            m_currentInpatients << int(m_stays.size());
            if (pp.admissionType == u"4")
                mother = s;
        } else {
            s.idNum = padded(++outpatientNo, 7) + u'B';
            if (pp.kind == StayKind::Emergency)
                s.erNum = QStringLiteral("ER-") + padded(++erNo, 6);
            outpatients.add({s.idNum, p.hospNum, s.admitted,
                             s.erNum.isEmpty() ? QVariant() : QVariant(s.erNum), s.account,
                             QStringLiteral("PAY"), pp.rateType.toString(), pp.isSpecial,
                             surgeon, QStringLiteral("EP"),
                             pp.kind == StayKind::Emergency ? QStringLiteral("ER01")
                                                            : QStringLiteral("OPD01")});
            opHistory.add({s.idNum, s.complaint});
        }
        m_stays.append(s);
    }

    // The delivery room did the mother's cesarean section at dawn and charged the tubal
    // ligation after it as her second operation.
    const Item &ligation = itemByCode(u"OR1023");
    table(QStringLiteral("STATION..tbNurseLogBook"),
          {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ReferenceNum"),
           QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
           QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
           QStringLiteral("UserID"), QStringLiteral("StationID"), QStringLiteral("PatientClass"),
           QStringLiteral("RoomID"), QStringLiteral("ChargeDepartment"),
           QStringLiteral("isSecORProc"), QStringLiteral("RecordStatus")})
        .add({mother.idNum, m_patients.at(mother.patient).hospNum, QStringLiteral("C312D"),
              ligation.department.toString(), ligation.code.toString(), ligation.name.toString(),
              1.0, pesos(rateCentavos(ligation.rateA, u'B') / 2), at(0, 7 * 60 + 40),
              kEmployees[0].code.toString(), QStringLiteral("DR"), QStringLiteral("I"),
              mother.room, QStringLiteral("DR"), QStringLiteral("1"), QString()});
}

// The list of operations the charge window offers when the OR tags a procedure line: every OR
// procedure the hospital prices, under its own code.
void DemoBuilder::addChargeEntryData()
{
    TableRows &procedures = table(QStringLiteral("BUILD_FILE..tbCoORProcedures"),
                                  {QStringLiteral("ItemID"), QStringLiteral("ItemName")});
    for (const Item &i : kItems) {
        if (i.kind == ItemKind::Procedure && i.department == u"OR")
            procedures.add({i.code.toString(), i.name.toString()});
    }
}

// Five patients who share the surname MAGBANUA, as whole clans of a town do: the patient list
// found by that name shows every way a row is drawn. ADELINA is an ordinary inpatient;
// ERNESTO is in for his heart operation (tagged CVOR) as a cash-basis patient and was here
// last year, discharged and billed; KRISTINE JOY is a child on droplet precaution; LEONORA's
// final bill was done this morning; ROMULO came to the clinic today as a cash-basis patient and
// JAYSON to the ER. Their numbers follow the hospital's last ones, and inpatients get rooms
// nobody is in. Draws nothing from the random stream.
void DemoBuilder::addPatientListNamesakes()
{
    Numbering numbers = numbering();
    qint64 &hospNum = numbers.hospNum;
    qint64 &inpatientNo = numbers.inpatientNo;
    qint64 &outpatientNo = numbers.outpatientNo;
    qint64 &erNo = numbers.erNo;
    QSet<QString> &occupied = numbers.occupied;

    struct Namesake
    {
        QStringView firstName, middleName;
        QChar sex;
        int age;
        StayKind kind;
        int admittedDaysAgo, admittedMinute;
        QStringView precaution;
        bool cvor, billedToday, cashBasis;
        QStringView cashReason, diagnosis, specialization;
    };
    static constexpr Namesake namesakes[] = {
        {u"ADELINA", u"SORIANO", u'F', 67, StayKind::Inpatient, 3, 14 * 60 + 20, u"1", false, false,
         false, u"", u"CATARACT, LEFT EYE, MATURE", u"GENERAL SURGERY"},
        {u"ERNESTO", u"DIZON", u'M', 58, StayKind::Inpatient, 2, 9 * 60 + 5, u"", true, false, true,
         u"HMO LETTER OF AUTHORITY EXPIRED", u"CORONARY ARTERY DISEASE, THREE-VESSEL, FOR BYPASS",
         u"THORACIC AND CARDIOVASCULAR SURGERY"},
        {u"KRISTINE JOY", u"VILLANUEVA", u'F', 8, StayKind::Inpatient, 1, 21 * 60 + 40, u"3", false,
         false, false, u"", u"ACUTE APPENDICITIS", u"PEDIATRIC SURGERY"},
        {u"LEONORA", u"CRUZ", u'F', 49, StayKind::Inpatient, 5, 11 * 60, u"2", false, true, false,
         u"", u"SYMPTOMATIC UTERINE MYOMA", u"OBSTETRICS AND GYNECOLOGY"},
        {u"ROMULO", u"PASCUAL", u'M', 40, StayKind::Outpatient, 0, 8 * 60 + 15, u"", false, false,
         true, u"NO PHILHEALTH, NO DEPOSIT", u"FOR EXCISION OF LIPOMA, BACK", u"GENERAL SURGERY"},
        {u"JAYSON", u"TOLENTINO", u'M', 22, StayKind::Emergency, 0, 2 * 60 + 50, u"", false, false,
         false, u"", u"LACERATED WOUND, LEFT HAND", u"GENERAL SURGERY"},
    };

    TableRows &master =
        table(QStringLiteral("PATIENT_DATA..tbMaster"),
              {QStringLiteral("HospNum"), QStringLiteral("LastName"), QStringLiteral("FirstName"),
               QStringLiteral("MiddleName"), QStringLiteral("Sex"), QStringLiteral("BirthDate"),
               QStringLiteral("CivilStatus"), QStringLiteral("HouseStreet"),
               QStringLiteral("Barangay"), QStringLiteral("Town"), QStringLiteral("Province"),
               QStringLiteral("Nationality"), QStringLiteral("DateCreated")});
    TableRows &inpatients = table(
        QStringLiteral("PATIENT_DATA..tbPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("DcrDate"), QStringLiteral("BillingDate"), QStringLiteral("AccountNum"),
         QStringLiteral("RoomID"), QStringLiteral("StationID"), QStringLiteral("PrecautionID"),
         QStringLiteral("isCVOR"), QStringLiteral("AdmittingDr"), QStringLiteral("AttendingDr1"),
         QStringLiteral("UserID")});
    TableRows &extension =
        table(QStringLiteral("PATIENT_DATA..tbPatient2"),
              {QStringLiteral("IDNum"), QStringLiteral("OkeyOR"), QStringLiteral("PatientClass"),
               QStringLiteral("AdmissionTypeID"), QStringLiteral("PHICCode"),
               QStringLiteral("isCashBasis"), QStringLiteral("CashBasisReason")});
    TableRows &history = table(QStringLiteral("PATIENT_DATA..tbPatientHistory"),
                               {QStringLiteral("IDNum"), QStringLiteral("ADMDiagnosis"),
                                QStringLiteral("ChiefComplaint")});
    TableRows &outpatients =
        table(QStringLiteral("PATIENT_DATA..tbOutPatient"),
              {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
               QStringLiteral("ERNum"), QStringLiteral("AccountNum"), QStringLiteral("PatientType"),
               QStringLiteral("RateType"), QStringLiteral("DoctorID1"), QStringLiteral("DoctorID2"),
               QStringLiteral("PHICCode"), QStringLiteral("isCashBasis"),
               QStringLiteral("CashBasisReason"), QStringLiteral("UserID")});
    TableRows &opHistory = table(QStringLiteral("PATIENT_DATA..tbOutpatientHistory"),
                                 {QStringLiteral("IDNum"), QStringLiteral("ChiefComplaints")});

    auto stationOf = [this](const QString &roomId) {
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.id == roomId)
                return r.station;
        }
        return QString();
    };
    auto freeRoom = [&] {
        for (const Room &r : std::as_const(m_rooms)) {
            if (!occupied.contains(r.id)) {
                occupied.insert(r.id);
                return r.id;
            }
        }
        return QString();
    };
    auto addAdmission = [&](Stay &s, const Patient &p, const Namesake &n) {
        s.idNum = padded(++inpatientNo, 7);
        inpatients.add({s.idNum, p.hospNum, s.admitted, when(s.discharged), when(s.billed),
                        p.hospNum, s.room, stationOf(s.room),
                        n.precaution.isEmpty() ? QVariant() : QVariant(n.precaution.toString()),
                        n.cvor && !s.discharged.isValid() ? 1 : 0, s.doctor, s.doctor,
                        QStringLiteral("ADM02")});
        const bool cash = n.cashBasis && !s.discharged.isValid();
        extension.add({s.idNum, 1, QStringLiteral("P"), QStringLiteral("2"), QStringLiteral("IP"),
                       cash ? 1 : 0, cash ? n.cashReason.toString() : QString()});
        history.add({s.idNum, n.diagnosis.toString(), n.diagnosis.toString()});
    };

    for (const Namesake &n : namesakes) {
        Patient p;
        p.hospNum = padded(++hospNum, 8);
        p.lastName = QStringLiteral("MAGBANUA");
        p.firstName = n.firstName.toString();
        p.middleName = n.middleName.toString();
        p.sex = n.sex;
        p.age = n.age;
        p.birthDate = QDate(m_today.year() - n.age, 1 + int(hospNum % 12), 9);
        p.created = at(400 + n.age, 10 * 60);
        m_patients.append(p);
        master.add({p.hospNum, p.lastName, p.firstName, p.middleName, QString(p.sex), p.birthDate,
                    n.age < 18 ? QStringLiteral("SINGLE") : QStringLiteral("MARRIED"),
                    QStringLiteral("%1 RIZAL STREET").arg(10 + int(hospNum % 90)),
                    QStringLiteral("POBLACION"), QStringLiteral("SAN BARTOLOME CITY"),
                    QStringLiteral("LAGUNA"), QStringLiteral("FILIPINO"), p.created});

        Stay s;
        s.patient = int(m_patients.size()) - 1;
        s.kind = n.kind;
        s.admitted = at(n.admittedDaysAgo, n.admittedMinute);
        s.doctor = doctorsIn(n.specialization).first();
        s.account = p.hospNum;
        s.diagnosis = n.diagnosis.toString();
        if (n.kind == StayKind::Inpatient) {
            // ERNESTO was first admitted for his heart a year ago; that stay is long billed.
            if (n.cvor) {
                Stay earlier = s;
                earlier.admitted = at(372, 7 * 60 + 30);
                earlier.discharged = at(366, 15 * 60);
                earlier.billed = at(366, 11 * 60 + 45);
                earlier.room = m_rooms.constFirst().id;
                addAdmission(earlier, p, n);
                m_stays.append(earlier);
            }
            s.room = freeRoom();
            if (n.billedToday)
                s.billed = at(0, 7 * 60 + 30);
            s.cvor = n.cvor;
            s.cashBasis = n.cashBasis;
            addAdmission(s, p, n);
            m_currentInpatients << int(m_stays.size());
        } else {
            s.idNum = padded(++outpatientNo, 7) + u'B';
            if (n.kind == StayKind::Emergency)
                s.erNum = QStringLiteral("ER-") + padded(++erNo, 6);
            s.cashBasis = n.cashBasis;
            outpatients.add(
                {s.idNum, p.hospNum, s.admitted, s.erNum.isEmpty() ? QVariant() : QVariant(s.erNum),
                 p.hospNum, QStringLiteral("PAY"), QStringLiteral("A"), s.doctor, s.doctor,
                 QStringLiteral("IP"), n.cashBasis ? 1 : 0, n.cashReason.toString(),
                 n.kind == StayKind::Emergency ? QStringLiteral("ER01") : QStringLiteral("OPD01")});
            opHistory.add({s.idNum, s.diagnosis});
        }
        m_stays.append(s);
    }
}

} // namespace kestrel::hospitaldb
