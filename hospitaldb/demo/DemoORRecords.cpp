// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR records as the OR's people left them: the doctors log in under codes of their own and,
// like the OR nurses, have a signature on file; most past records are signed by the five people
// of the operation, the last days' are not yet, a few are half signed, and the latest
// operations have their sponge and instrument counts, one of them a count that did not close.
#include "hospitaldb/demo/DemoBuilder.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace kestrel::hospitaldb::demo {

namespace {

// The password every demo doctor logs in with, "doctor", as its Argon2id hash.
constexpr QStringView kDoctorPasswordHash =
    u"$argon2id$v=19$m=65536,t=2,p=1$fsL3h9oDk/eob9g/yMMczw$"
    u"Sh5oOZPm4EfJCMc8ePyqw+PRzcGje66OFjK1YnNyJtw";

// The OR nurses who scrub and circulate, and so sign.
constexpr std::array<QStringView, 4> kSigningNurses{u"2902", u"2903", u"2907", u"2909"};

// The operations of the last two days wait for their signatures.
constexpr int kUnsignedDays = 2;
// The latest operations whose counts were kept, and which of them did not close.
constexpr int kCountedOperations = 6;
constexpr int kDiscrepancyOperation = 2;

// A doctor logs in under his own code with a 9 in front.
QString doctorLogin(const QString &doctorId)
{
    return u'9' + doctorId;
}

// A signature as a scanned one looks: a pen stroke of loops, one for each letter of the name,
// the same for the same name every time. No font is needed, so it draws without a display.
QByteArray signatureImage(const QString &name)
{
    static QHash<QString, QByteArray> drawn;
    if (const auto found = drawn.constFind(name); found != drawn.cend())
        return *found;
    QImage image(240, 80, QImage::Format_Grayscale8);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        QPainterPath stroke(QPointF(12, 48));
        const QString letters = name.simplified().remove(u' ').left(16);
        const double step = 210.0 / std::max<qsizetype>(letters.size(), 1);
        double x = 12;
        for (const QChar c : letters) {
            const int u = c.unicode();
            const double rise = 14 + u % 23;
            const double loop = 4 + u % 7;
            stroke.cubicTo(x + step * 0.2, 48 - rise, x + step + loop, 48 - rise * 0.6,
                           x + step * 0.7, 40 + u % 11);
            x += step;
        }
        stroke.quadTo(x, 64, std::min(x + 10, 232.0), 56);
        painter.drawPath(stroke);
        painter.drawLine(QPointF(20, 66), QPointF(std::min(x, 220.0), 62));
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    drawn.insert(name, png);
    return png;
}

TableRows *tableNamed(std::deque<TableRows> &tables, QStringView name)
{
    for (TableRows &t : tables) {
        if (t.table == name)
            return &t;
    }
    return nullptr;
}

// The RVS code the insurer knows an operation by: the scale's entry that names the same
// operation, by the first word of the procedure list's name for it.
QString rvsFor(const QString &procedureName, const TableRows *scale)
{
    if (!scale)
        return {};
    const QString word = procedureName.section(u',', 0, 0).section(u' ', 0, 0).trimmed();
    if (word.size() < 5)
        return {};
    const int code = int(scale->columns.indexOf(QStringLiteral("RVSCode")));
    const int text = int(scale->columns.indexOf(QStringLiteral("RVSDescription")));
    for (const QVariantList &row : scale->rows) {
        if (row.at(text).toString().contains(word, Qt::CaseInsensitive))
            return row.at(code).toString();
    }
    return {};
}

} // namespace

void DemoBuilder::addORRecordSignatures()
{
    DemoRandom rng(m_rng.next());
    TableRows *doctors = tableNamed(m_tables, u"BUILD_FILE..tbCoDoctor");
    TableRows *records = tableNamed(m_tables, u"STATION..tbORMasterFile");
    TableRows *items = tableNamed(m_tables, u"BUILD_FILE..tbCoOtherRevenue");
    const TableRows *scale = tableNamed(m_tables, u"BUILD_FILE..tbCoRVS");
    Q_ASSERT(doctors && records && items);

    // Each doctor's login, with the same department as the OR's nurses so that he can sign in
    // the OR's windows, and everybody's signature on file.
    QList<QVariantList> staff, signatures;
    const auto column = [](const TableRows *t, const char *name) {
        return int(t->columns.indexOf(QString::fromLatin1(name)));
    };
    doctors->columns << QStringLiteral("UserID");
    const QDateTime hired = at(900, 8 * 60);
    for (QVariantList &d : doctors->rows) {
        const QString id = d.at(column(doctors, "DoctorID")).toString();
        const QString last = d.at(column(doctors, "LastName")).toString();
        const QString first = d.at(column(doctors, "FirstName")).toString();
        const QString middle = d.at(column(doctors, "MiddleName")).toString();
        d << doctorLogin(id);
        const QString designation =
            d.at(column(doctors, "Specialization")).toString() == u"ANESTHESIOLOGY"
                ? QStringLiteral("ANESTHESIOLOGIST")
                : QStringLiteral("DOCTOR");
        staff.append({doctorLogin(id), last, first, middle,
                      QString(first.left(1) + middle.left(1) + last.left(1)),
                      kDoctorPasswordHash.toString(), QStringLiteral("29"), designation,
                      QString(), id, QStringLiteral("A"), hired});
        signatures.append({QStringLiteral("tbCoDoctor"), QStringLiteral("Signature"),
                           doctorLogin(id), signatureImage(first + u' ' + last)});
    }
    for (QStringView nurse : kSigningNurses)
        signatures.append({QStringLiteral("tbCoDoctor"), QStringLiteral("Signature"),
                           nurse.toString(), signatureImage(u"NURSE " + nurse.toString())});
    TableRows &logins = table(QStringLiteral("Password..tbPasswordMaster"),
                              {QStringLiteral("EmployeeID"), QStringLiteral("LastName"),
                               QStringLiteral("FirstName"), QStringLiteral("MiddleName"),
                               QStringLiteral("Initial"), QStringLiteral("PasswordHash"),
                               QStringLiteral("DeptCode"), QStringLiteral("Designation"),
                               QStringLiteral("StationID"), QStringLiteral("DoctorID"),
                               QStringLiteral("Status"), QStringLiteral("DateCreated")});
    logins.rows = staff;
    TableRows &images = table(QStringLiteral("BUILD_FILE..tbDBImage"),
                              {QStringLiteral("TableName"), QStringLiteral("FieldName"),
                               QStringLiteral("IDKey"), QStringLiteral("Image")});
    images.rows = signatures;

    QHash<QString, QString> procedureNames;
    for (const QVariantList &row : items->rows)
        procedureNames.insert(row.at(column(items, "OtherRevenueID")).toString(),
                              row.at(column(items, "OtherRevenue")).toString());

    // Who signed each role: the person of the role, at a time after the patient went out.
    struct Role
    {
        const char *person, *signer, *signedAt;
    };
    constexpr Role kRoles[] = {{"SurgeonID1", "SurgeonSignID", "SurgeonDateSign"},
                               {"SurgeonID2", "ASurgeonSignID", "ASurgeonDateSign"},
                               {"AnestheID", "AnestSignID", "AnesDateSign"},
                               {"CnurseID1", "CNurseSignID", "CnurseDateSign"},
                               {"SnurseID1", "SNurseSignID", "SnurseDateSign"}};
    QList<int> persons;
    for (const Role &r : kRoles)
        persons << column(records, r.person);
    const int procedure = column(records, "Procedures");
    const int out = column(records, "PatientOut");
    const int idNum = column(records, "IdNum");
    const int nurse = column(records, "CnurseID1");
    records->columns << QStringLiteral("PHICCode") << QStringLiteral("SpongeCount");
    for (const Role &r : kRoles)
        records->columns << QString::fromLatin1(r.signer) << QString::fromLatin1(r.signedAt);

    const QDateTime signedFrom(m_today.addDays(-kUnsignedDays), QTime(0, 0));
    QList<int> latest;
    for (int i = 0; i < records->rows.size(); ++i) {
        QVariantList &row = records->rows[i];
        const QDateTime left = row.at(out).toDateTime();
        row << rvsFor(procedureNames.value(row.at(procedure).toString()), scale);
        latest << i;
        row << QStringLiteral("Y");
        // Most records are signed whole; some wait for the anaesthesiologist or for everybody.
        const int draw = rng.below(100);
        const bool none = left >= signedFrom || draw < 12;
        const bool half = !none && draw < 22;
        for (int k = 0; k < int(std::size(kRoles)); ++k) {
            const QString person = row.at(persons.at(k)).toString();
            const bool doctor = k < 3;
            const bool signs = !none && !person.isEmpty() && !(half && k == 2);
            const QDateTime signedAt = left.addSecs(60 * rng.between(10, doctor ? 240 : 60));
            row << (signs ? QVariant(doctor ? doctorLogin(person) : person) : QVariant())
                << (signs ? QVariant(signedAt) : QVariant());
        }
    }

    // The counts of the latest operations: sponges, then instruments, needles and sutures. One
    // operation came out a peanut short.
    TableRows &counts = table(
        QStringLiteral("STATION..tbSpongeCount"),
        QStringLiteral("IdNum Column1 Column2 Column3 Column4 Column5 Column6 Column7 RowNumber "
                       "OperatingNum Type CountedBy CountedAt Discrepancy")
            .split(u' '));
    std::sort(latest.begin(), latest.end(), [&](int a, int b) {
        return records->rows.at(a).at(out).toDateTime() > records->rows.at(b).at(out).toDateTime();
    });
    const int spongeFlag = int(records->columns.indexOf(QStringLiteral("SpongeCount")));
    const QStringList sponges{QStringLiteral("ABDOMINAL PACK"), QStringLiteral("CHERRIES"),
                              QStringLiteral("PEANUTS")};
    const QStringList others{QStringLiteral("INSTRUMENT COUNT"), QStringLiteral("NEEDLE COUNT"),
                             QStringLiteral("SUTURES")};
    for (int n = 0; n < std::min<int>(kCountedOperations, int(latest.size())); ++n) {
        const int index = latest.at(n);
        QVariantList &record = records->rows[index];
        // The records go in in this order, numbered from one.
        const qint64 operatingNum = index + 1;
        const QString stay = record.at(idNum).toString();
        const QString countedBy = record.at(nurse).toString();
        const QDateTime countedAt = record.at(out).toDateTime().addSecs(-10 * 60);
        const bool short_ = n == kDiscrepancyOperation;
        if (short_)
            record[spongeFlag] = QStringLiteral("N");
        for (int row = 0; row < sponges.size(); ++row) {
            const int first = rng.between(5, 10), added = rng.between(0, 5);
            const int back = first + added - (short_ && row == 2 ? 1 : 0);
            const int floor = rng.between(0, std::min(back, 3));
            counts.add({stay, sponges.at(row), QString::number(first), QString::number(added),
                        QString::number(first + added), QString::number(back - floor),
                        QString::number(floor), QString::number(back), row + 1, operatingNum,
                        QStringLiteral("1"), countedBy, countedAt,
                        back != first + added ? 1 : 0});
        }
        for (int row = 0; row < others.size(); ++row) {
            const int before = rng.between(10, 40), added = rng.between(0, 6);
            counts.add({stay, others.at(row), QString::number(before), QString::number(added),
                        QString::number(before + added), QString::number(before + added),
                        QString(), QString(), row + 1, operatingNum, QStringLiteral("2"),
                        countedBy, countedAt, 0});
        }
    }
}

} // namespace kestrel::hospitaldb::demo
