// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/modEncryption.h"

#include <QRandomGenerator>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {
const QString kKey = u"KESTRELORDEMO"_s;
}

class tst_Scramble : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void knownValues_data();
    void knownValues();
    void roundTrips();
};

void tst_Scramble::knownValues_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty text is the offset alone") << "E" << "" << "5B";
    // (65 + 91) % 255 = 156, XOR 'K' (75) = 215.
    QTest::newRow("one letter") << "E" << "A" << "5BD7";
    // (228 + 91) % 255 = 64, XOR 'K' = 11: a value below 16 is blank-padded, not zero-padded.
    QTest::newRow("blank-padded value") << "E" << QString(QChar(228)) << "5B B";
    // The second character uses the first one's value as its offset and the key's 'E'.
    // (66 + 215) % 255 = 26, XOR 'E' (69) = 95.
    QTest::newRow("offset chains") << "E" << "AB" << "5BD75F";
    QTest::newRow("lower-case mode is no mode") << "e" << "A" << "";
    QTest::newRow("unknown mode") << "X" << "A" << "";
    QTest::newRow("unscramble blank-padded") << "D" << "5B B" << QString(QChar(228));
    QTest::newRow("unscramble garbage") << "D" << "ZZ12" << "";
}

void tst_Scramble::knownValues()
{
    QFETCH(QString, mode);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Scramble(mode, kKey, text), expected);
}

void tst_Scramble::roundTrips()
{
    QRandomGenerator rng(20261205);
    QString all;
    for (int code = 1; code <= 254; ++code)
        all += QChar(code);
    QCOMPARE(Scramble(u"D", kKey, Scramble(u"E", kKey, all)), all);
    for (int n = 0; n < 500; ++n) {
        QString text;
        const int length = rng.bounded(0, 40);
        for (int i = 0; i < length; ++i)
            text += QChar(rng.bounded(1, 255));
        const QString scrambled = Scramble(u"E", kKey, text);
        QCOMPARE(scrambled.size(), 2 + 2 * text.size());
        QCOMPARE(Scramble(u"D", kKey, scrambled), text);
    }

    // Callers trim the scrambled text before sending it; a leading blank of the first pair
    // must not break unscrambling, and neither must the key's wrap-around.
    const QString password = u"orsupervisor-and-more"_s;
    const QString scrambled = Scramble(u"E", kKey, password).trimmed();
    QCOMPARE(Scramble(u"D", kKey, scrambled), password);
    QVERIFY(Scramble(u"D", u"ANOTHERKEYXYZ"_s, scrambled) != password);
}

QTEST_GUILESS_MAIN(tst_Scramble)
#include "tst_scramble.moc"
