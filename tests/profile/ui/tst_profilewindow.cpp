// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patient profile window: its header and the tab it opens on are read at once, every
// other tab (and every department's result list) only when it is first shown; the trend chart
// beside the readings prints.
#include "core/db/Database.h"
#include "core/settings/HospitalSettings.h"
#include "patients/PatientListFixture.h"
#include "profile/ui/VitalSignsChart.h"
#include "profile/ui/frmFinal.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

class tst_ProfileWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void tabsAreReadWhenFirstShown();
};

void tst_ProfileWindow::tabsAreReadWhenFirstShown()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(test::addListPatients(db));
    QVERIFY(db.exec(u"insert into STATION..tbNurseVitalSigns (IDNUM, TRANSDATE, BP, TEMPERATURE) "
                    u"values ('K0100001', :at, '120/80', '37')",
                    {{"at", test::fixtureNow().addSecs(-600)}}));
    QVERIFY(db.exec(u"insert into PATIENT_DATA..tbMasterAllergies (Hospnum, AllergyID1) "
                    u"values ('K0000001', 'M2')"));
    test::MainWindowFixture f(db, u"2901"_s);
    LoadHospitalSettings(db, f.session.hospital, f.session.settings);

    frmFinal window(f.session);
    WindowRequest request;
    request.values = {{"HospNum", u"K0000001"_s}, {"IdNum", u"K0100001"_s}, {"Tab", 0}};
    QVERIFY(window.open(request));
    QCOMPARE(window.windowTitle(), u"Clinical Procedures"_s);
    QCOMPARE(window.findChild<QLineEdit *>(u"txtId"_s)->text(), u"K0100001"_s);
    QCOMPARE(window.findChild<QLineEdit *>(u"txtPatient"_s)->text(),
             u"BATUMBAKAL, JUAN MARASIGAN"_s);
    QVERIFY(window.findChild<QLineEdit *>(u"txtId"_s)->isReadOnly());
    auto *vitals = window.findChild<QTableWidget *>(u"mshflexProcessed(3)"_s);
    QCOMPARE(vitals->rowCount(), 1);
    QCOMPARE(vitals->item(0, 1)->text(), u"120/80"_s);
    // Beside it the trend: no saturation was taken, so five lines.
    auto *chart = window.findChild<VitalSignsChart *>(u"chtVitalSigns"_s);
    QCOMPARE(chart->lineCount(), 5);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(u"trend.pdf"_s);
    {
        QPdfWriter writer(pdf);
        chart->print(writer, u"Vital Signs"_s);
    }
    QVERIFY(QFileInfo(pdf).size() > 1000);

    // The profile tab is read when it is shown, not before.
    auto *allergy = window.findChild<QCheckBox *>(u"chkAllergy(8)"_s);
    QVERIFY(allergy);
    QVERIFY(!window.presenter().isTabLoaded(PatientProfile::ProfileTab));
    QVERIFY(!allergy->isChecked());
    window.findChild<QTabWidget *>(u"SSTab1"_s)->setCurrentIndex(PatientProfile::ProfileTab);
    QVERIFY(window.presenter().isTabLoaded(PatientProfile::ProfileTab));
    QVERIFY(allergy->isChecked());
    QVERIFY(!window.presenter().isTabLoaded(PatientProfile::ResultsTab));

    // The X-ray list is read when its tab is shown; a reading not yet written shows blank.
    QVERIFY(db.exec(u"insert into STATION..tbNurseDiagResult (DepartmentID, IdNum, TransNum, "
                    u"ExamName, TransDate, Interpretation) values ('XR', 'K0100001', 'XR1', "
                    u"'CHEST PA', :at, 'CLEAR LUNGS'), ('XR', 'K0100001', 'XR2', 'CHEST PA', "
                    u":later, null)",
                    {{"at", test::fixtureNow().addDays(-1)}, {"later", test::fixtureNow()}}));
    auto *xray = window.findChild<QTableWidget *>(u"mshflexXray"_s);
    window.findChild<QTabWidget *>(u"SSTab1"_s)->setCurrentIndex(PatientProfile::ResultsTab);
    QCOMPARE(xray->rowCount(), 0);
    window.findChild<QTabWidget *>(u"tabResults"_s)->setCurrentIndex(1);
    QCOMPARE(xray->rowCount(), 2);
    xray->setCurrentCell(0, 0);
    QCOMPARE(window.findChild<QPlainTextEdit *>(u"txtXrayInterp"_s)->toPlainText(),
             u"CLEAR LUNGS"_s);
    xray->setCurrentCell(1, 0);
    QCOMPARE(window.findChild<QPlainTextEdit *>(u"txtXrayInterp"_s)->toPlainText(), u""_s);
    QCOMPARE(window.findChild<QPushButton *>(u"cmdNextPatient(5)"_s)->text(), u"&Post Charges"_s);
    QVERIFY(!window.findChild<QPushButton *>(u"cmdNextPatient(8)"_s));

    // On a 1280-pixel screen the whole column of action buttons shows, none cut short.
    QVERIFY2(window.minimumSizeHint().width() <= 1260,
             qPrintable(QString::number(window.minimumSizeHint().width())));
    window.resize(1260, 760);
    window.show();
    for (auto *b : window.findChildren<QPushButton *>()) {
        if (!b->objectName().startsWith(u"cmdNextPatient"_s))
            continue;
        QVERIFY2(b->mapTo(&window, QPoint(b->width(), 0)).x() <= window.width() &&
                     b->width() >= b->sizeHint().width(),
                 qPrintable(b->text()));
    }

    if (const QString dir = qEnvironmentVariable("KESTREL_PROFILE_SHOT"); !dir.isEmpty()) {
        window.findChild<QTabWidget *>(u"SSTab1"_s)->setCurrentIndex(0);
        window.resize(1280, 860);
        window.grab().save(dir);
    }
}

QTEST_MAIN(tst_ProfileWindow)
#include "tst_profilewindow.moc"
