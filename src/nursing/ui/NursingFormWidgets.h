// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/NursingForm.h"

#include <QWidget>

#include <functional>

class QAbstractButton;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace kestrel {

class clsCodeLookup;

namespace nursing {

/// A line edit whose text turns to upper case as it is typed, `maxLength` at most.
QLineEdit *upperCaseLine(const QString &objectName, int maxLength = 250);
/// The same for a text box of several lines.
QPlainTextEdit *upperCaseText(const QString &objectName);
/// Turns what is typed into `edit` to upper case, keeping the cursor where it was.
void typeUpperCase(QLineEdit *edit);
void typeUpperCase(QPlainTextEdit *edit);

/// The doctor search of the forms: the doctors whose code or name begins with what `edit`
/// holds; the one picked is written into `edit` as "LastName, FirstName". False when the user
/// picked none (or there is no search).
bool pickDoctor(clsCodeLookup *lookup, QLineEdit *edit);
/// A line for a doctor: typing and Enter (or the button beside it) open the doctor search.
QWidget *doctorLine(clsCodeLookup *lookup, QLineEdit *edit);

/// The texts of a row of line edits, in order (one ":;" answer group).
QStringList textsOf(const QList<QLineEdit *> &edits);
/// Gives the n-th value to the n-th line edit.
void fillLines(const QList<QLineEdit *> &edits, const QStringList &values);

/// A YES/NO option pair (`optYesNo`): neither is ticked until the nurse answers.
class YesNoPair : public QWidget
{
    Q_OBJECT

public:
    explicit YesNoPair(const QString &objectName, QWidget *parent = nullptr);
    /// "YES", "NO" or empty.
    QString value() const;
    void setValue(const QString &value);

Q_SIGNALS:
    void answered(const QString &value);

private:
    QRadioButton *m_yes;
    QRadioButton *m_no;
};

/// The answers of a row of YES/NO pairs, in order (one ":;" answer group).
QStringList answersOf(const QList<YesNoPair *> &pairs);
/// Gives the n-th answer to the n-th pair.
void fillAnswers(const QList<YesNoPair *> &pairs, const QStringList &values);

/// The buttons every form of the pattern has, "&Save", "&Delete", "&Print" and "&Close", bound
/// to the form's presenter. `take` copies what the window holds into the presenter before an
/// action; `show` fills the window from the presenter after a delete.
class FormButtons : public QWidget
{
    Q_OBJECT

public:
    FormButtons(NursingForm &form, QWidget *window, std::function<void()> take,
                std::function<void()> show, QWidget *parent = nullptr);

    QPushButton *saveButton() const { return m_save; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *printButton() const { return m_print; }

    /// The window asks to close: what it holds is offered for saving. False keeps it open.
    bool closeRequested();

protected:
    /// The form's window closing, however asked (its button, the work area, the main window
    /// closing), is held open when the nurse keeps what she typed.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    NursingForm &m_form;
    std::function<void()> m_take;
    std::function<void()> m_show;
    QPushButton *m_save;
    QPushButton *m_delete;
    QPushButton *m_print;
};

/// Lays `window` out as a long form: its filled `page`, scrolled, above the form's `buttons`
/// (placed last, so that Tab reaches them after the page's fields).
void placeScrolledForm(QWidget *window, QWidget *page, FormButtons *buttons);

/// The head of the forms filled before an operation: the patient's name and a read-only line
/// beside it (the room, the age), the surgeon and the anesthesiologist (from the doctor
/// search), and the date, time and operation scheduled. The edits are the record's
/// "Surgeon", "Anesthesiologist", "DateSched", "TimeSched" and "Operation".
class OperationHeader : public QWidget
{
    Q_OBJECT

public:
    /// `besideCaption` and `besideName` label and name the line beside the patient's name;
    /// `operationCaption` labels the operation.
    OperationHeader(clsCodeLookup *doctors, const QString &besideCaption, const QString &besideName,
                    const QString &operationCaption, QWidget *parent = nullptr);

    void showPatient(const QString &name, const QString &beside);
    /// Copies the edits into `record`.
    void takeInto(FormRecord &record) const;
    /// Shows the record's values in the edits.
    void fillFrom(const FormRecord &record);

private:
    QLineEdit *m_patient;
    QLineEdit *m_beside;
    QLineEdit *m_surgeon;
    QLineEdit *m_anesthesiologist;
    QLineEdit *m_dateSched;
    QLineEdit *m_timeSched;
    QLineEdit *m_operation;
};

} // namespace nursing
} // namespace kestrel
