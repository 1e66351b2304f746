// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patient profile window: its header and the tab it opens on are read at once, every
// other tab only when it is first shown.
#include "core/db/Database.h"
#include "core/settings/HospitalSettings.h"
#include "patients/PatientListFixture.h"
#include "profile/ui/frmFinal.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
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

    // The profile tab is read when it is shown, not before.
    auto *allergy = window.findChild<QCheckBox *>(u"chkAllergy(8)"_s);
    QVERIFY(allergy);
    QVERIFY(!window.presenter().isTabLoaded(PatientProfile::ProfileTab));
    QVERIFY(!allergy->isChecked());
    window.findChild<QTabWidget *>(u"SSTab1"_s)->setCurrentIndex(PatientProfile::ProfileTab);
    QVERIFY(window.presenter().isTabLoaded(PatientProfile::ProfileTab));
    QVERIFY(allergy->isChecked());
    QVERIFY(!window.presenter().isTabLoaded(PatientProfile::ResultsTab));
    QCOMPARE(window.findChild<QPushButton *>(u"cmdNextPatient(5)"_s)->text(), u"&Post Charges"_s);
    QVERIFY(!window.findChild<QPushButton *>(u"cmdNextPatient(8)"_s));

    if (const QString dir = qEnvironmentVariable("KESTREL_PROFILE_SHOT"); !dir.isEmpty()) {
        window.findChild<QTabWidget *>(u"SSTab1"_s)->setCurrentIndex(0);
        window.resize(1280, 860);
        window.grab().save(dir);
    }
}

QTEST_MAIN(tst_ProfileWindow)
#include "tst_profilewindow.moc"
