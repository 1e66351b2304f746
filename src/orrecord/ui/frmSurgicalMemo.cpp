// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/ui/frmSurgicalMemo.h"

#include "core/Notifier.h"
#include "core/Session.h"
#include "core/ui/KeyFilter.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QTimeEdit>

namespace kestrel {

namespace {

const QString kDayFormat = QStringLiteral("MM/dd/yyyy");
const QString kTimeFormat = QStringLiteral("hh:mm:ss AP");
// An editor at its minimum shows blank: the memo keeps no day or time there.
const QDate kNoDay(1900, 1, 1);

} // namespace

frmSurgicalMemo::frmSurgicalMemo(Session &session, QWidget *parent)
    : frmChart(session, ORRecordEntry::Layout::SurgicalMemo, parent)
    , m_memo(session, presenter())
{
    setWindowTitle(QStringLiteral("Surgical Procedures Entry"));
    setObjectName(QStringLiteral("frmSurgicalMemo"));
    m_tabs = findChild<QTabWidget *>();

    // The case number and the anaesthetic agent join the operation's page.
    if (QWidget *operation = m_tabs->widget(0)) {
        addCaptioned(operation,
                     {{field(QStringLiteral("CaseNumber"), QStringLiteral("CaseNumber"), operation),
                       QStringLiteral("Case No.")},
                      {field(QStringLiteral("AnestheticAgent"), QStringLiteral("AnestheticAgent"),
                             operation),
                       QStringLiteral("Anesthetic Agent")}},
                     2);
    }
    if (QWidget *page = tabPage(QStringLiteral("Blood And Fluids")))
        addCaptioned(page,
                     {{field(QStringLiteral("TotalFluids"), QStringLiteral("txtFluids"), page),
                       QStringLiteral("Fluids")},
                      {field(QStringLiteral("BloodLoss"), QStringLiteral("txtBloodLoss"), page),
                       QStringLiteral("Calculated Blood Loss")},
                      {field(QStringLiteral("BloodProducts"), QStringLiteral("txtBloodProd"), page),
                       QStringLiteral("Blood Replacment")}},
                     1);
    if (QWidget *page = tabPage(QStringLiteral("Sutures And Instruments")))
        buildCounts(page);
    if (QWidget *page = tabPage(QStringLiteral("Pre-OP Vital Signs")))
        buildVitalSigns(page);
    if (QWidget *page = tabPage(QStringLiteral("For Cesarian Section")))
        buildCesarean(page);
    // After the record's own fields are shown.
    connect(&presenter(), &ORRecordEntry::changed, this, &frmSurgicalMemo::showMemo);
}

QWidget *frmSurgicalMemo::tabPage(const QString &caption) const
{
    for (int i = 0; i < m_tabs->count(); ++i) {
        if (m_tabs->tabText(i) == caption)
            return m_tabs->widget(i);
    }
    return nullptr;
}

void frmSurgicalMemo::setColumn(const QString &column, const QString &value)
{
    if (m_filling)
        return;
    presenter().edit().setText(column, value);
    // The record window's own field of the same column says the same.
    if (auto *same = qobject_cast<QLineEdit *>(fieldOf(column)); same && same->text() != value)
        same->setText(value);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(fieldOf(column));
             memo && memo->toPlainText() != value)
        memo->setPlainText(value);
}

QLineEdit *frmSurgicalMemo::field(const QString &column, const QString &name, QWidget *parent)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    installUpperCase(edit);
    connect(edit, &QLineEdit::textChanged, this,
            [this, column](const QString &text) { setColumn(column, text); });
    m_fields << Field{column, edit};
    return edit;
}

void frmSurgicalMemo::addCaptioned(QWidget *page,
                                   const QList<std::pair<QWidget *, QString>> &fields, int perLine)
{
    auto *grid = new QGridLayout;
    for (int i = 0; i < fields.size(); ++i) {
        grid->addWidget(new QLabel(fields.at(i).second, page), i / perLine, (i % perLine) * 2);
        grid->addWidget(fields.at(i).first, i / perLine, (i % perLine) * 2 + 1);
    }
    if (auto *box = qobject_cast<QBoxLayout *>(page->layout()))
        box->addLayout(grid);
    else if (auto *outer = qobject_cast<QGridLayout *>(page->layout()))
        outer->addLayout(grid, outer->rowCount(), 0, 1, outer->columnCount());
}

void frmSurgicalMemo::buildCounts(QWidget *page)
{
    addCaptioned(page,
                 {{field(QStringLiteral("SuturesText"), QStringLiteral("txtSutures"), page),
                   QStringLiteral("Sutures")}},
                 1);
    // The OR that counts sponges in a grid keeps no count boxes.
    if (presenter().session().hospital.clientname.trimmed().compare(u"KAVIR",
                                                                    Qt::CaseInsensitive) == 0) {
        m_grid = new QTableWidget(0, 9, page);
        m_grid->setObjectName(QStringLiteral("grdSponges"));
        m_grid->setHorizontalHeaderLabels(
            {QStringLiteral("EntryNum"), QStringLiteral("SPONGE"), QStringLiteral("INITIAL COUNT"),
             QStringLiteral("FIRST COUNT\nOn Table"), QStringLiteral("On Floor"),
             QStringLiteral("Total"), QStringLiteral("SECOND COUNT\nOn Table"),
             QStringLiteral("On Floor"), QStringLiteral("Total")});
        m_grid->setColumnHidden(0, true);
        m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
        connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
            if (m_filling)
                return;
            if (!m_memo.enterSponge(item->row(), item->column(), item->text()))
                presenter().session().notifier().message(
                    QStringLiteral("Please enter the number counted."),
                    QStringLiteral("Notification"), Notifier::Icon::Critical);
            showSponges();
        });
        static_cast<QBoxLayout *>(page->layout())->addWidget(m_grid, 1);
        QList<std::pair<QWidget *, QString>> counters;
        for (int i = 0; i < 2; ++i) {
            m_counters[i] = new QLineEdit(page);
            m_counters[i]->setObjectName(QStringLiteral("txtCounterStaff%1").arg(i));
            installUpperCase(m_counters[i]);
            connect(m_counters[i], &QLineEdit::textChanged, this, [this, i](const QString &t) {
                if (!m_filling)
                    m_memo.setCounterStaff(i, t);
            });
            counters.append({m_counters[i], QStringLiteral("Counted by")});
        }
        addCaptioned(page, counters, 2);
        return;
    }
    auto *box = new QGroupBox(QStringLiteral("Surgical Counts"), page);
    auto *grid = new QGridLayout(box);
    grid->addWidget(new QLabel(QStringLiteral("Initial"), box), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Final"), box), 0, 2);
    int row = 1;
    for (const auto &[caption, column, name] :
         {std::tuple{QStringLiteral("Instruments"), QStringLiteral("Instruments"),
                     QStringLiteral("Instrument")},
          {QStringLiteral("Sponge 4x4"), QStringLiteral("Sponge4"), QStringLiteral("Sponge4")},
          {QStringLiteral("Sponge 8x4"), QStringLiteral("Sponge8"), QStringLiteral("Sponge8")},
          {QStringLiteral("Peanuts"), QStringLiteral("Peanuts"), QStringLiteral("Peanuts")},
          {QStringLiteral("Visceral Pack"), QStringLiteral("VisceralPack"),
           QStringLiteral("VisceralPack")},
          {QStringLiteral("Needles"), QStringLiteral("Needles"), QStringLiteral("Needles")}}) {
        const bool instruments = column == u"Instruments";
        grid->addWidget(new QLabel(caption, box), row, 0);
        grid->addWidget(field(instruments ? QStringLiteral("InstrumentsInitial") : column,
                              u"txt" + name + u"Initial", box),
                        row, 1);
        grid->addWidget(field(instruments ? QStringLiteral("InstrumentsFinal") : column + u"Final",
                              u"txt" + name + u"Final", box),
                        row++, 2);
    }
    static_cast<QBoxLayout *>(page->layout())->addWidget(box);
}

void frmSurgicalMemo::buildVitalSigns(QWidget *page)
{
    auto *box = new QGroupBox(QStringLiteral("Pre-OP Vital Signs"), page);
    new QVBoxLayout(box);
    addCaptioned(
        box,
        {{field(QStringLiteral("PreOPBP"), QStringLiteral("txtVSBP"), box), QStringLiteral("BP")},
         {field(QStringLiteral("PreOPRR"), QStringLiteral("txtVSRR"), box), QStringLiteral("RR")},
         {field(QStringLiteral("PreOPTemp"), QStringLiteral("txtVSTemp"), box),
          QStringLiteral("Temp")},
         {field(QStringLiteral("PreOPHR"), QStringLiteral("txtVSHR"), box), QStringLiteral("HR")},
         {field(QStringLiteral("PreOPO2Sat"), QStringLiteral("txtVSO2Sat"), box),
          QStringLiteral("O2 Sat")},
         {field(QStringLiteral("PreOPWt"), QStringLiteral("txtVSWT"), box), QStringLiteral("WT")}},
        3);
    static_cast<QBoxLayout *>(page->layout())->addWidget(box);
}

void frmSurgicalMemo::buildCesarean(QWidget *page)
{
    auto *box = new QGroupBox(page);
    new QVBoxLayout(box);
    const auto dayOrTime = [&](const QString &column, const QString &name, bool day) {
        DayOrTime d{column, nullptr, nullptr};
        QWidget *editor = nullptr;
        if (day) {
            d.date = new QDateEdit(box);
            d.date->setDisplayFormat(kDayFormat);
            d.date->setMinimumDate(kNoDay);
            d.date->setSpecialValueText(QStringLiteral(" "));
            d.date->setCalendarPopup(true);
            connect(d.date, &QDateEdit::dateChanged, this, [this, column](const QDate &v) {
                setColumn(column, v == kNoDay ? QString() : v.toString(kDayFormat));
            });
            editor = d.date;
        } else {
            d.time = new QTimeEdit(box);
            d.time->setDisplayFormat(QStringLiteral("hh:mm AP"));
            d.time->setSpecialValueText(QStringLiteral(" "));
            connect(d.time, &QTimeEdit::timeChanged, this, [this, column](const QTime &v) {
                setColumn(column, v == QTime(0, 0) ? QString() : v.toString(kTimeFormat));
            });
            editor = d.time;
        }
        editor->setObjectName(name);
        m_daysAndTimes << d;
        return editor;
    };
    addCaptioned(
        box,
        {{dayOrTime(QStringLiteral("Menarche"), QStringLiteral("dtpMenarche"), true),
          QStringLiteral("Menarche")},
         {dayOrTime(QStringLiteral("LMP"), QStringLiteral("dtpLMP"), true), QStringLiteral("LMP")},
         {dayOrTime(QStringLiteral("TimeOfInduction"), QStringLiteral("dtpTimeOfInduction"), false),
          QStringLiteral("Time of Induction")},
         {dayOrTime(QStringLiteral("Babyout"), QStringLiteral("dtpBabyOutTime"), false),
          QStringLiteral("Baby Out")},
         {dayOrTime(QStringLiteral("PlacentaOut"), QStringLiteral("dtpPlacentaOutTime"), false),
          QStringLiteral("Placenta Out")}},
        2);
    QList<std::pair<QWidget *, QString>> history;
    for (const char *c : {"Gravida", "Para", "Abortion", "Living", "FDIU", "StillBirth"})
        history.append({field(QString::fromLatin1(c), u"txt" + QString::fromLatin1(c), box),
                        QString::fromLatin1(c)});
    addCaptioned(box, history, 3);
    addCaptioned(
        box,
        {{field(QStringLiteral("Gender"), QStringLiteral("txtGender"), box),
          QStringLiteral("Gender")},
         {field(QStringLiteral("BirthWeight"), QStringLiteral("txtBirthWt"), box),
          QStringLiteral("Birth Weight")},
         {field(QStringLiteral("BodyLength"), QStringLiteral("txtBodyLt"), box),
          QStringLiteral("Body Length")},
         {field(QStringLiteral("ApgarScore"), QStringLiteral("txtAPGARScore"), box),
          QStringLiteral("APGAR Score")},
         {field(QStringLiteral("SMAnd"), QStringLiteral("txtAnd"), box), QStringLiteral("and")}},
        3);
    const auto choice = [&](const QString &column, const QString &name, const QStringList &captions,
                            const QStringList &values) {
        auto *row = new QWidget(box);
        row->setObjectName(name);
        auto *line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        auto *group = new QButtonGroup(row);
        for (int i = 0; i < captions.size(); ++i) {
            auto *b = new QRadioButton(captions.at(i), row);
            group->addButton(b, i);
            line->addWidget(b);
        }
        line->addStretch();
        connect(group, &QButtonGroup::idToggled, this, [this, column, values](int id, bool on) {
            if (on)
                setColumn(column, values.value(id));
        });
        m_choices.insert(column, group);
        m_choiceValues.insert(column, values);
        return row;
    };
    addCaptioned(
        box,
        {{choice(QStringLiteral("PresentationCBF"), QStringLiteral("optP1"),
                 {QStringLiteral("Cephalic"), QStringLiteral("Breech"), QStringLiteral("Footling")},
                 {QStringLiteral("C"), QStringLiteral("B"), QStringLiteral("F")}),
          QStringLiteral("Presentation")},
         {choice(QStringLiteral("PresentationDS"), QStringLiteral("optP2"),
                 {QStringLiteral("Duncan"), QStringLiteral("Schultz")},
                 {QStringLiteral("D"), QStringLiteral("S")}),
          QStringLiteral("Placenta")}},
        1);
    static_cast<QBoxLayout *>(page->layout())->addWidget(box);
}

void frmSurgicalMemo::showMemo()
{
    m_filling = true;
    const ORRecord &r = presenter().record();
    for (const Field &f : std::as_const(m_fields)) {
        if (f.edit->text() != r.text(f.column))
            f.edit->setText(r.text(f.column));
    }
    for (const DayOrTime &d : std::as_const(m_daysAndTimes)) {
        const QString text = r.text(d.column).trimmed();
        if (d.date) {
            const QDate day = QDate::fromString(text, kDayFormat);
            d.date->setDate(day.isValid() ? day : kNoDay);
        } else {
            const QTime time = QTime::fromString(text, kTimeFormat);
            d.time->setTime(time.isValid() ? time : QTime(0, 0));
        }
    }
    for (auto it = m_choices.cbegin(); it != m_choices.cend(); ++it) {
        const int chosen = m_choiceValues.value(it.key()).indexOf(r.text(it.key()).trimmed());
        it.value()->setExclusive(false);
        for (QAbstractButton *b : it.value()->buttons())
            b->setChecked(it.value()->id(b) == chosen);
        it.value()->setExclusive(true);
    }
    if (QWidget *cesarean = tabPage(QStringLiteral("For Cesarian Section")))
        m_tabs->setTabEnabled(m_tabs->indexOf(cesarean), m_memo.isCesarean());
    for (int i = 0; i < 2; ++i) {
        if (m_counters[i])
            m_counters[i]->setText(m_memo.counterStaff(i));
    }
    m_filling = false;
    showSponges();
}

void frmSurgicalMemo::showSponges()
{
    if (!m_grid)
        return;
    const bool was = m_filling;
    m_filling = true;
    const QList<SpongeRow> &rows = m_memo.sponges();
    m_grid->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const SpongeRow &s = rows.at(row);
        QStringList cells{s.entryNum ? QString::number(s.entryNum) : QString(), s.sponge};
        for (int c : s.counts)
            cells << (s.isEmpty() ? QString() : QString::number(c));
        for (int column = 0; column < cells.size(); ++column) {
            auto *item = m_grid->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                m_grid->setItem(row, column, item);
            }
            item->setText(cells.at(column));
        }
    }
    m_filling = was;
}

} // namespace kestrel
