// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/components/clsKeyFilter.h"
#include "shell/components/ui/KeyFilter.h"

#include <QLineEdit>
#include <QTest>

using namespace kestrel;

class tst_KeyFilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void allUppers_data();
    void allUppers();
    void isNumber_data();
    void isNumber();
    void lineEditsFilterTyping_data();
    void lineEditsFilterTyping();
    void pastedTextIsJudgedWhole_data();
    void pastedTextIsJudgedWhole();
};

void tst_KeyFilter::allUppers_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::newRow("a") << int('a') << int('A');
    QTest::newRow("m") << int('m') << int('M');
    QTest::newRow("z") << int('z') << int('Z');
    QTest::newRow("capital stays") << int('Q') << int('Q');
    QTest::newRow("n with tilde") << int(0xF1) << int(0xD1);
    QTest::newRow("e acute") << int(0xE9) << int(0xC9);
    QTest::newRow("sharp s has no one-letter capital") << int(0xDF) << int(0xDF);
    QTest::newRow("digit") << int('7') << int('7');
    QTest::newRow("space") << int(' ') << int(' ');
    QTest::newRow("comma") << int(',') << int(',');
    QTest::newRow("apostrophe") << int('\'') << int('\'');
    QTest::newRow("backspace") << 8 << 8;
    QTest::newRow("enter") << 13 << 13;
    QTest::newRow("nothing") << 0 << 0;
    QTest::newRow("beyond the basic plane") << 0x1D41A << 0x1D41A;
}

void tst_KeyFilter::allUppers()
{
    QFETCH(int, key);
    QFETCH(int, expected);
    QCOMPARE(clsKeyFilter::AllUppers(key), expected);
}

void tst_KeyFilter::isNumber_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    for (char d = '0'; d <= '9'; ++d)
        QTest::newRow(qPrintable(QStringLiteral("digit %1").arg(QLatin1Char(d))))
            << int(d) << int(d);
    QTest::newRow("backspace") << 8 << 8;
    QTest::newRow("letter") << int('a') << 0;
    QTest::newRow("capital") << int('B') << 0;
    QTest::newRow("minus") << int('-') << 0;
    QTest::newRow("point") << int('.') << 0;
    QTest::newRow("space") << int(' ') << 0;
    QTest::newRow("enter") << 13 << 0;
    QTest::newRow("tab") << 9 << 0;
    QTest::newRow("arabic-indic three") << 0x0663 << 0;
    QTest::newRow("fullwidth five") << 0xFF15 << 0;
}

void tst_KeyFilter::isNumber()
{
    QFETCH(int, key);
    QFETCH(int, expected);
    QCOMPARE(clsKeyFilter::IsNumber(key), expected);
}

using Installer = void (*)(QLineEdit *);
Q_DECLARE_METATYPE(Installer)

void tst_KeyFilter::lineEditsFilterTyping_data()
{
    QTest::addColumn<Installer>("install");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("upper case") << &installUpperCase << QStringLiteral("dela cruz-2b")
                                << QStringLiteral("DELA CRUZ-2B");
    QTest::newRow("upper case, n with tilde")
        << &installUpperCase << QStringLiteral("peña") << QStringLiteral("PEÑA");
    QTest::newRow("digits only") << &installDigitsOnly << QStringLiteral("12a3-4.5")
                                 << QStringLiteral("12345");
    QTest::newRow("letters upper, digits refused")
        << &installLettersUpper << QStringLiteral("santos2 jr") << QStringLiteral("SANTOS JR");
}

void tst_KeyFilter::lineEditsFilterTyping()
{
    QFETCH(Installer, install);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit edit;
    install(&edit);
    // Key by key, as a keyboard sends them; letters beyond ASCII come with their own key code.
    for (QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
    QCOMPARE(edit.text(), shown);
    // Backspace still takes the last character away.
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), shown.chopped(1));
}

void tst_KeyFilter::pastedTextIsJudgedWhole_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("kept");
    QTest::newRow("upper case") << int(KeyFilterValidator::Rule::UpperCase)
                                << QStringLiteral("or1047 lap chole") << true
                                << QStringLiteral("OR1047 LAP CHOLE");
    QTest::newRow("digits only, clean") << int(KeyFilterValidator::Rule::DigitsOnly)
                                        << QStringLiteral("2901") << true << QStringLiteral("2901");
    QTest::newRow("digits only, with a dash")
        << int(KeyFilterValidator::Rule::DigitsOnly) << QStringLiteral("29-01") << false
        << QStringLiteral("29-01");
    QTest::newRow("letters upper")
        << int(KeyFilterValidator::Rule::LettersUpper) << QStringLiteral("de la cruz") << true
        << QStringLiteral("DE LA CRUZ");
    QTest::newRow("letters upper, with a digit")
        << int(KeyFilterValidator::Rule::LettersUpper) << QStringLiteral("cruz 3rd") << false
        << QStringLiteral("cruz 3rd");
}

void tst_KeyFilter::pastedTextIsJudgedWhole()
{
    QFETCH(int, rule);
    QFETCH(QString, pasted);
    QFETCH(bool, accepted);
    QFETCH(QString, kept);
    KeyFilterValidator validator{KeyFilterValidator::Rule(rule)};
    QString text = pasted;
    int pos = int(text.size());
    const QValidator::State state = validator.validate(text, pos);
    QCOMPARE(state == QValidator::Acceptable, accepted);
    QCOMPARE(text, kept);
    QCOMPARE(pos, int(pasted.size()));
}

QTEST_MAIN(tst_KeyFilter)
#include "tst_keyfilter.moc"
