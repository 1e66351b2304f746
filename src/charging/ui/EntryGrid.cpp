// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/EntryGrid.h"

#include "charging/ChargeEntryGrid.h"
#include "charging/ChargeEntryLine.h"
#include "core/ui/KeyFilter.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include <iterator>

namespace kestrel {

namespace {

// Twips are 1/1440 inch: fifteen to a pixel at 96 dots per inch.
int pixels(int twips)
{
    return qRound(twips / 15.0);
}

// Widths of the charge entry grid's shown columns, in twips.
constexpr int kChargeEntryWidths[] = {300, 700, 1300, 4200, 700, 1300, 1400};

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

EntryGrid::EntryGrid(QAbstractItemModel &model, EntryGridRules &rules, QWidget *parent)
    : QTableView(parent)
    , m_model(model)
    , m_rules(rules)
{
    setModel(&model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);

    m_editor = new QLineEdit(viewport());
    m_editor->setObjectName(QStringLiteral("txtEntry"));
    m_editor->setFrame(false);
    m_editor->hide();
    m_editor->installEventFilter(this);
    installUpperCase(m_editor);

    connect(this, &QTableView::clicked, this, [this](const QModelIndex &index) {
        editCell({index.row() + 1, index.column()});
    });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &EntryGrid::placeEditor);
    connect(&m_model, &QAbstractItemModel::modelReset, this, &EntryGrid::placeEditor);
}

bool EntryGrid::isEditing() const
{
    return !m_editor->isHidden();
}

GridCell EntryGrid::currentCell() const
{
    if (isEditing())
        return m_editing;
    const QModelIndex index = currentIndex();
    return index.isValid() ? GridCell{index.row() + 1, index.column()} : GridCell{};
}

QModelIndex EntryGrid::indexOf(GridCell cell) const
{
    return m_model.index(cell.row - 1, cell.column);
}

QRect EntryGrid::editorGeometry(const QRect &cell)
{
    return QRect(cell.left() + pixels(25), cell.top() + pixels(25), cell.width() - pixels(20),
                 cell.height());
}

bool EntryGrid::editCell(GridCell cell)
{
    const QModelIndex index = indexOf(cell);
    if (!index.isValid() || !m_rules.mayEdit(cell))
        return false;
    setCurrentIndex(index);
    scrollTo(index);
    m_editing = cell;
    const int length = m_rules.maxLength(cell.column);
    m_editor->setMaxLength(length > 0 ? length : 32767);
    m_editor->setText(index.data().toString());
    m_editor->show();
    placeEditor();
    m_editor->raise();
    m_editor->setFocus();
    m_editor->selectAll();
    if (m_prompt)
        m_prompt->setText(m_rules.prompt(cell.column));
    return true;
}

void EntryGrid::cancelEdit()
{
    m_editor->hide();
    m_editing = {};
    setFocus();
}

void EntryGrid::placeEditor()
{
    if (!isEditing())
        return;
    const QModelIndex index = indexOf(m_editing);
    if (!index.isValid()) {
        cancelEdit();
        return;
    }
    m_editor->setGeometry(editorGeometry(visualRect(index)));
}

void EntryGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    placeEditor();
}

void EntryGrid::enterPressed()
{
    const GridCell cell = m_editing;
    const CellAnswer answer = m_rules.acceptCell(cell, m_editor->text());
    if (answer == CellAnswer::Accept) {
        m_editor->hide();
        const std::optional<GridCell> next = m_rules.nextCell(cell, m_model.columnCount());
        if (!next || !editCell(*next)) {
            m_editing = {};
            setCurrentIndex(indexOf(cell));
            setFocus();
        }
        return;
    }
    // A refused cell keeps the editor while it may still be edited; a line the refusal
    // emptied may not, and the editor leaves it.
    if (!m_rules.mayEdit(cell)) {
        cancelEdit();
        return;
    }
    if (answer == CellAnswer::RefuseAndEmpty)
        m_editor->clear();
    else
        m_editor->setText(indexOf(cell).data().toString());
    placeEditor();
    m_editor->setFocus();
    m_editor->selectAll();
}

bool EntryGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (isEnter(key)) {
            enterPressed();
            return true;
        }
        if (key == Qt::Key_Escape) {
            cancelEdit();
            return true;
        }
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            const auto direction =
                key == Qt::Key_Up ? EntryGridRules::Direction::Up : EntryGridRules::Direction::Down;
            if (const std::optional<GridCell> to = m_rules.verticalMove(m_editing, direction))
                editCell(*to);
            return true;
        }
    }
    return QTableView::eventFilter(watched, event);
}

void EntryGrid::keyPressEvent(QKeyEvent *event)
{
    const GridCell cell = currentCell();
    if (isEnter(event->key()) || event->key() == Qt::Key_F2) {
        editCell(cell);
        return;
    }
    // Typing on the grid opens the editor with what was typed.
    const QString typed = event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && editCell(cell)) {
        m_editor->clear();
        m_editor->insert(typed);
        return;
    }
    QTableView::keyPressEvent(event);
}

void showChargeEntryColumns(EntryGrid &grid)
{
    static_assert(std::size(kChargeEntryWidths) == ChargeEntryGrid::kShownColumns);
    for (int c = 0; c < ChargeEntryLine::ColumnCount; ++c) {
        if (c < ChargeEntryGrid::kShownColumns)
            grid.setColumnWidth(c, pixels(kChargeEntryWidths[c]));
        else
            grid.setColumnHidden(c, true);
    }
    grid.setMinimumHeight(pixels(3000));
}

QTreeWidget *makeDepartmentList(QWidget *parent)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QStringLiteral("lvwDepartments"));
    list->setHeaderLabels({QStringLiteral("Code"), QStringLiteral("Department")});
    list->setRootIsDecorated(false);
    list->setColumnWidth(0, pixels(700));
    list->setMinimumWidth(pixels(3300));
    list->setFocusPolicy(Qt::NoFocus);
    return list;
}

} // namespace kestrel
