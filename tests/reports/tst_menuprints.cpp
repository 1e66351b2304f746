// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The small windows of the main window's menus: the claim signature form with its doctor's
// accreditation, the stock monitoring print and the selected stay's personal information.
#include "patients/PersonalInfo.h"
#include "reports/MenuPrints.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

class tst_MenuPrints : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void csfChecksTheDoctorsAccreditation_data();
    void csfChecksTheDoctorsAccreditation();
    void stockMonitoringNeedsARevenue();
    void personalInfoOfAStay();
};

void tst_MenuPrints::csfChecksTheDoctorsAccreditation_data()
{
    QTest::addColumn<QString>("doctors");
    QTest::addColumn<QString>("message");
    QTest::newRow("none") << u"coalesce(PhilHealthNum, '') = ''"_s
                          << u"Doctor %1 is not PhilHealth accredited."_s;
    QTest::newRow("expired") << u"PhilHealthNum <> '' and PHICExpireDate < :today"_s
                             << u"PhilHealth accreditation of doctor %1 expired last 12/31/2025."_s;
    QTest::newRow("valid") << u"PhilHealthNum <> '' and PHICExpireDate >= :today"_s << QString();
}

void tst_MenuPrints::csfChecksTheDoctorsAccreditation()
{
    QFETCH(QString, doctors);
    QFETCH(QString, message);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    QVERIFY(db.loadServerDate());
    f.session.CurrentPatient.IdNum = u"K-TEST"_s;
    const QString sql =
        u"select DoctorID, LastName from BUILD_FILE..tbCoDoctor where "_s + doctors + u" order by DoctorID"_s;
    const auto doctor = db.selectOne(sql,
                                     {{u"today"_s, test::fixtureToday()}});
    QVERIFY(doctor && *doctor);
    const QString id = (*doctor)->trimmed(u"DoctorID");
    const QString name = (*doctor)->trimmed(u"LastName");

    test::RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s},
                          display, f.notifier);
    CsfDoctors csf(f.session, &reports, CsfDoctors::Form::Template);
    QVERIFY(!csf.print()); // no doctor chosen yet
    csf.setDoctor(id, name);
    QCOMPARE(csf.print(), message.isEmpty());
    if (message.isEmpty()) {
        QVERIFY2(f.notifier.boxes().isEmpty(), qPrintable(f.notifier.lastText()));
        QCOMPARE(display.shown().size(), 1);
        QCOMPARE(display.shown().last().options.title, u"PhilHealth CSF Template"_s);
    } else {
        QCOMPARE(f.notifier.lastText(), message.arg(name));
        QVERIFY(display.shown().isEmpty());
    }
}

void tst_MenuPrints::stockMonitoringNeedsARevenue()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    test::RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s},
                          display, f.notifier);
    StockMonitoring stock(f.session, &reports);
    QVERIFY(!stock.print());
    QCOMPARE(f.notifier.lastText(), u"Please select revenue to view stock monitoring."_s);
    stock.setRevenue(u"OS"_s);
    QVERIFY(stock.print());
    QCOMPARE(display.shown().size(), 1);
    QVERIFY(display.last()->html().contains(u"STOCKS MONITORING"_s));
}

void tst_MenuPrints::personalInfoOfAStay()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    CurrentPatientRecord &stay = f.session.CurrentPatient;
    const auto room = db.selectOne(u"select RoomID, Description from BUILD_FILE..tbCoRoom "
                                   u"order by RoomID"_s);
    QVERIFY(room && *room);
    stay.IdNum = u"K0100001"_s;
    stay.RoomID = (*room)->trimmed(u"RoomID");
    stay.RoomClassID = u"B"_s;
    stay.RoomRate = *Money::parse(u"3500.5");
    stay.AdmissionDate = QDateTime(QDate(2026, 11, 28), QTime(20, 5, 9));
    const auto inpatient = PersonalInfo(f.session).rows();
    QVERIFY(inpatient);
    QStringList shown;
    for (const auto &[caption, value] : *inpatient)
        shown << caption + u'=' + value;
    QVERIFY(shown.contains(u"Date Admitted=11/28/2026 08:05:09 PM"_s));
    QVERIFY(shown.contains(u"Room Class / Rate=B / 3,500.50"_s));
    const QString roomRow = u"Room="_s + stay.RoomID + u" - "_s + (*room)->trimmed(u"Description");
    QVERIFY2(std::any_of(shown.begin(), shown.end(),
                         [&](const QString &row) { return row.startsWith(roomRow); }),
             qPrintable(shown.join(u" | "_s)));

    // An emergency visit says so, with its ER number.
    const auto visit = db.selectOne(u"select IDNum, ERNum from PATIENT_DATA..tbOutPatient "
                                    u"where ERNum <> '' order by IDNum"_s);
    QVERIFY(visit && *visit);
    stay.IdNum = (*visit)->trimmed(u"IDNum");
    const auto er = PersonalInfo(f.session).rows();
    QVERIFY(er);
    const QString emergency = u"EMERGENCY ("_s + (*visit)->trimmed(u"ERNum") + u')';
    QVERIFY(er->contains(QPair{u"Visit"_s, emergency}));
}

QTEST_MAIN(tst_MenuPrints)
#include "tst_menuprints.moc"
