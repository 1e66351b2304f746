// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "orrecord/ORRecordEntry.h"

#include <QHash>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTimeEdit;

namespace kestrel {

/// "Operation Procedures Entry": the OR record of one operation. The reduced layout (the one
/// with the sponge and instrument count grids) is the same window without the anaesthesia
/// sheet, printing the record of the operation instead of the anaesthesia record.
class frmChart : public QWidget
{
    Q_OBJECT

public:
    frmChart(Session &session, ORRecordEntry::Layout layout, QWidget *parent = nullptr);

    ORRecordEntry &presenter() { return m_presenter; }
    /// Opens the record of a posted OR procedure; false when it cannot be read.
    bool open(const OROpening &opening);

    /// The widget that edits `column` (tests and the focus after a refusal).
    QWidget *fieldOf(const QString &column) const;
    /// Runs the look-up of a code field as Enter does.
    void lookUp(const QString &column);

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Lookup
    {
        QString column;
        QString list;       ///< DOCTOR, NURSE, OR, EA or RVS
        QLineEdit *code = nullptr;
        QLabel *name = nullptr;
    };
    struct MomentEdit
    {
        ORMoment moment;
        QDateEdit *date = nullptr;
        QTimeEdit *time = nullptr;
    };

    QWidget *buildHeader();
    QWidget *buildStaff();
    QWidget *buildTimes();
    QWidget *buildNarrative();
    QWidget *buildOtherInfo();
    QWidget *buildCounts();
    QWidget *buildButtons();
    /// Day and time editors of `moments`, each under its caption.
    QGridLayout *momentEdits(const QList<std::pair<QString, ORMoment>> &moments, QWidget *page);
    /// Captioned fields laid `perLine` pairs of caption and field a line, or, when `down`,
    /// `perLine` lines a column.
    static void captioned(QGridLayout *grid, const QList<std::pair<QWidget *, QString>> &fields,
                          int perLine, bool down);
    QLineEdit *lookupField(const QString &column, const QString &list, QWidget *parent);
    QLineEdit *textField(const QString &column);
    QButtonGroup *options(const QString &column, const QStringList &captions,
                          const QStringList &values, QWidget *parent);
    void showRecord();
    void collect();
    void showSignatures();
    void showCounts();
    void collectCounts();
    void focusRefusal();
    void doSave();

    ORRecordEntry m_presenter;
    bool m_showing = false;
    QHash<QString, QLabel *> m_header;
    QLabel *m_procedureCaption = nullptr;
    QList<Lookup> m_lookups;
    QList<MomentEdit> m_moments;
    QHash<QString, QLineEdit *> m_texts;
    QHash<QString, QPlainTextEdit *> m_memos;
    QHash<QString, QButtonGroup *> m_options;
    QHash<QString, QStringList> m_optionValues;
    QCheckBox *m_spongeComplete = nullptr;
    QComboBox *m_room = nullptr;
    QComboBox *m_category = nullptr;
    QLabel *m_rvsDescription = nullptr;
    QLabel *m_rvsPoints = nullptr;
    QLabel *m_techniqueWarning = nullptr;
    QTabWidget *m_tabs = nullptr;
    QTableWidget *m_sponges = nullptr;
    QTableWidget *m_otherCounts = nullptr;
    QLabel *m_discrepancy = nullptr;
    QHash<ORRole, QPushButton *> m_signatures;
    QPushButton *m_save = nullptr;
};

} // namespace kestrel
