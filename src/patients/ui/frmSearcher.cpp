// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/ui/frmSearcher.h"

#include "patients/SearcherList.h"
#include "core/ui/KeyFilter.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kestrel {

namespace {

// The grid's column widths in twips: the row marker, the description, the code.
constexpr int kColumnTwips[] = {200, 4150, 2000};

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QLabel *titleLabel(const QString &name, const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont big = label->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.6);
    label->setFont(big);
    return label;
}

} // namespace

frmSearcher::frmSearcher(SearcherList &list, QWidget *parent)
    : QDialog(parent)
    , m_list(list)
{
    setObjectName(QStringLiteral("frmSearcher"));
    setModal(true);
    m_list.open();
    buildUi();
    bind();
    m_search->setText(m_list.Criteria());
    showRows();
}

void frmSearcher::buildUi()
{
    setWindowTitle(m_list.SearchCaption());
    auto *layout = new QVBoxLayout(this);

    // The caption is drawn twice, the grey copy a little lower and to the right: a shadow.
    auto *title = new QGridLayout;
    QLabel *shadow = titleLabel(QStringLiteral("lblSTitle"), m_list.SearchCaption(), this);
    shadow->setStyleSheet(QStringLiteral("color: #808080"));
    shadow->setContentsMargins(2, 2, 0, 0);
    QLabel *caption = titleLabel(QStringLiteral("lblTitle"), m_list.SearchCaption(), this);
    caption->setStyleSheet(QStringLiteral("color: #000080"));
    caption->setContentsMargins(0, 0, 2, 2);
    title->addWidget(shadow, 0, 0);
    title->addWidget(caption, 0, 0);
    layout->addLayout(title);

    auto *hospital = new QLabel(m_list.hospitalName(), this);
    hospital->setObjectName(QStringLiteral("lblHospital"));
    layout->addWidget(hospital);

    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("txtSearchStr"));
    installUpperCase(m_search);
    layout->addWidget(m_search);

    auto *frame = new QGroupBox(QStringLiteral("Records List"), this);
    frame->setObjectName(QStringLiteral("fraRecords"));
    auto *frameLayout = new QVBoxLayout(frame);
    m_grid = new QTableWidget(frame);
    m_grid->setObjectName(QStringLiteral("grdDispWindow"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    // The row marker column is narrower than a header section may be by default.
    m_grid->horizontalHeader()->setMinimumSectionSize(kColumnTwips[0] / 15);
    frameLayout->addWidget(m_grid);
    layout->addWidget(frame, 1);

    m_select = new QPushButton(QStringLiteral("SELECT"), this);
    m_select->setObjectName(QStringLiteral("cmdSelect"));
    m_select->setAutoDefault(false);
    m_cancel = new QPushButton(QStringLiteral("CANCEL"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    m_cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_select);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    int width = 0;
    for (int twips : kColumnTwips)
        width += twips / 15;
    setMinimumSize(width + 60, 420);
}

void frmSearcher::bind()
{
    for (QWidget *w : {static_cast<QWidget *>(m_search), static_cast<QWidget *>(m_grid),
                       static_cast<QWidget *>(m_select), static_cast<QWidget *>(m_cancel)})
        w->installEventFilter(this);
    connect(m_select, &QPushButton::clicked, this, &frmSearcher::select);
    connect(m_cancel, &QPushButton::clicked, this, &frmSearcher::reject);
    connect(m_grid, &QTableWidget::cellDoubleClicked, this, &frmSearcher::select);
    connect(m_grid, &QTableWidget::currentCellChanged, this, [this](int row) {
        // The user moving in the grid shows the highlighted description in the search box.
        if (!m_filling && row >= 0)
            m_search->setText(m_list.descriptionAt(row));
    });
}

bool frmSearcher::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && watched == m_search) {
        // After the click that gave the focus has placed the cursor.
        QTimer::singleShot(0, m_search, &QLineEdit::selectAll);
    } else if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->text() == u"'")
            return true;
        if (key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        if (watched == m_search && key->key() == Qt::Key_Down) {
            enterGrid();
            return true;
        }
        if (isEnter(key->key())) {
            if (watched == m_search)
                refresh(m_search->text());
            else if (watched == m_grid)
                select();
            else
                focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSearcher::refresh(const QString &typed)
{
    m_list.refresh(typed);
    showRows();
}

void frmSearcher::showRows()
{
    m_filling = true;
    const QStringList &headers = m_list.headers();
    const QList<QStringList> &rows = m_list.rows();
    m_grid->clear();
    m_grid->setColumnCount(int(headers.size()) + 1);
    m_grid->setHorizontalHeaderLabels(QStringList{QString()} + headers);
    m_grid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c)
            m_grid->setItem(r, c + 1, new QTableWidgetItem(rows.at(r).at(c)));
    }
    for (int c = 0; c < m_grid->columnCount() && c < int(std::size(kColumnTwips)); ++c)
        m_grid->setColumnWidth(c, kColumnTwips[c] / 15);
    if (!rows.isEmpty())
        m_grid->setCurrentCell(0, 1);
    m_select->setEnabled(m_list.canSelect());
    m_filling = false;
}

void frmSearcher::select()
{
    if (!m_list.canSelect())
        return;
    if (m_list.select(m_grid->currentRow()))
        accept();
}

void frmSearcher::enterGrid()
{
    if (m_grid->rowCount() == 0)
        return;
    const int top = m_grid->rowAt(0);
    m_grid->setCurrentCell(top < 0 ? 0 : top, 1);
    m_grid->setFocus();
}

void frmSearcher::reject()
{
    m_list.cancel();
    QDialog::reject();
}

} // namespace kestrel
