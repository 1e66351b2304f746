// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "orrecord/SurgicalMemo.h"
#include "orrecord/ui/frmChart.h"

class QDateEdit;
class QTimeEdit;

namespace kestrel {

/// "Surgical Procedures Entry": the OR record window laid out as a surgical memorandum, with
/// the case number, the counts (boxes, or the sponge grid where the OR counts in one), the
/// anaesthetic agent, the pre-operative vital signs and the caesarean section's tab.
class frmSurgicalMemo : public frmChart
{
    Q_OBJECT

public:
    explicit frmSurgicalMemo(Session &session, QWidget *parent = nullptr);

    SurgicalMemo &memo() { return m_memo; }

private:
    struct Field
    {
        QString column;
        QLineEdit *edit = nullptr;
    };
    struct DayOrTime
    {
        QString column;
        QDateEdit *date = nullptr;
        QTimeEdit *time = nullptr;
    };

    QWidget *tabPage(const QString &caption) const;
    QLineEdit *field(const QString &column, const QString &name, QWidget *parent);
    void addCaptioned(QWidget *page, const QList<std::pair<QWidget *, QString>> &fields,
                      int perLine);
    void buildCounts(QWidget *page);
    void buildVitalSigns(QWidget *page);
    void buildCesarean(QWidget *page);
    void showMemo();
    void showSponges();
    void setColumn(const QString &column, const QString &value);

    SurgicalMemo m_memo;
    QTabWidget *m_tabs = nullptr;
    QList<Field> m_fields;
    QList<DayOrTime> m_daysAndTimes;
    QHash<QString, QButtonGroup *> m_choices;
    QHash<QString, QStringList> m_choiceValues;
    QTableWidget *m_grid = nullptr;
    QLineEdit *m_counters[2] = {nullptr, nullptr};
    bool m_filling = false;
};

} // namespace kestrel
