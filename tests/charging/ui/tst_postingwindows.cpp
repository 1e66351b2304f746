// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The small windows of charge posting, offscreen on the demo hospital: "Enter Requesting
// Doctor" and the charge slip sequence.
#include "charging/ChargeEntryFixture.h"
#include "charging/ui/frmChargeSlipVerification.h"
#include "charging/ui/frmRequestingDoctor.h"
#include "shell/db/Database.h"
#include "support/TestDatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace kestrel;

class tst_PostingWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void requestingDoctorPickedOrTyped();
    void sequenceWindowSetsTheNextNumber();
};

void tst_PostingWindows::requestingDoctorPickedOrTyped()
{
    KESTREL_OPEN_DEMO(db);
    test::RecordingNotifier notifier;
    test::ScriptedCodePickList pickList;
    ComponentContext context(notifier);
    context.codePickList = &pickList;
    clsCodeLookup lookup(context);
    lookup.setConnection(&db);

    frmRequestingDoctor window(&lookup);
    QCOMPARE(window.windowTitle(), QStringLiteral("Enter Requesting Doctor"));
    auto *name = window.findChild<QLineEdit *>(QStringLiteral("txtRequestingDoctor"));
    auto *pick = window.findChild<QPushButton *>(QStringLiteral("cmdReqDoc"));
    QVERIFY(name && pick && window.findChild<QPushButton *>(QStringLiteral("cmdOK")));

    // Typed by hand: a name in capitals and no doctor's code.
    QTest::keyClicks(name, QStringLiteral("dr. santos"));
    QCOMPARE(window.doctor().code, QString());
    QCOMPARE(window.doctor().name, QStringLiteral("DR. SANTOS"));

    // Picked from the list, filtered by what was typed.
    name->clear();
    QTest::keyClicks(name, QStringLiteral("nepo"));
    pickList.codes.enqueue(QStringLiteral("1102"));
    pick->click();
    QCOMPARE(pickList.shown.size(), 1);
    QCOMPARE(pickList.shown.first().typedText, QStringLiteral("NEPO"));
    QCOMPARE(window.doctor().code, QStringLiteral("1102"));
    QCOMPARE(window.doctor().name, QStringLiteral("NEPOMUCENO, ALFREDO"));
    QCOMPARE(name->text(), QStringLiteral("NEPOMUCENO, ALFREDO"));

    // Without the look-up only a typed name can be given.
    frmRequestingDoctor bare(nullptr);
    QVERIFY(!bare.findChild<QPushButton *>(QStringLiteral("cmdReqDoc"))->isEnabled());
}

void tst_PostingWindows::sequenceWindowSetsTheNextNumber()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2901"));
    QVERIFY(db.exec(u"update STATION..tbORChargeSlip set ChargeSlip = 88001 "
                    u"where StationID = 'OR'"));
    QVERIFY(db.exec(u"insert into BILLING..tbCashAssessment (RefNum) values ('C88010O')"));

    frmChargeSlipVerification window(f.session, nullptr);
    auto *slip = window.findChild<QLineEdit *>(QStringLiteral("txtChargeSlip"));
    auto *station = window.findChild<QLabel *>(QStringLiteral("lblStation"));
    auto *save = window.findChild<QToolButton *>(QStringLiteral("imgSave"));
    auto *search = window.findChild<QToolButton *>(QStringLiteral("imgSearch"));
    QVERIFY(slip && station && save && search);
    QCOMPARE(slip->text(), QStringLiteral("88001"));
    QCOMPARE(station->text(), QStringLiteral("OR"));
    QVERIFY(!search->isEnabled());
    QVERIFY(save->isEnabled());

    slip->clear();
    QVERIFY(!save->isEnabled());
    // Letters never reach the field.
    QTest::keyClicks(slip, QStringLiteral("88a010"));
    QCOMPARE(slip->text(), QStringLiteral("88010"));
    save->click();
    QCOMPARE(f.notifier.lastText(), QStringLiteral("Available Charge Slip Number : 88011"));
    QCOMPARE(slip->text(), QStringLiteral("88011"));
    auto counter = db.scalar(u"select ChargeSlip from STATION..tbORChargeSlip "
                             u"where StationID = 'OR'");
    QVERIFY(counter);
    QCOMPARE(counter->toLongLong(), qint64(88011));
}

QTEST_MAIN(tst_PostingWindows)
#include "tst_postingwindows.moc"
