// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/ui/PatientListWindow.h"

#include "core/ui/KeyFilter.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrel {

namespace {

// Twips are 1/1440 inch: fifteen to a pixel at 96 dots per inch.
int pixels(int twips)
{
    return qRound(twips / 15.0);
}

// A small square of a legend colour.
QLabel *swatch(const QColor &color, QWidget *parent)
{
    auto *box = new QLabel(parent);
    box->setFixedSize(14, 14);
    box->setAutoFillBackground(true);
    QPalette p = box->palette();
    p.setColor(QPalette::Window, color);
    box->setPalette(p);
    box->setFrameShape(QFrame::Box);
    return box;
}

} // namespace

PatientListWindow::PatientListWindow(Session &session, clsPatientFinder *finder, MainWindowCommands *menu,
                                     PatientList::Window window, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, finder, menu, window)
{
}

void PatientListWindow::buildList(QBoxLayout *layout)
{
    auto *searchFrame = new QGroupBox(this);
    auto *fields = new QGridLayout(searchFrame);
    static constexpr std::array<const char *, 3> labels{
        "Enter Lastname :", "Enter Hospital Number :", "Enter Admission Number :"};
    for (int i = 0; i < 3; ++i) {
        auto *edit = new QLineEdit(searchFrame);
        edit->setObjectName(QStringLiteral("txtSearch(%1)").arg(i));
        edit->installEventFilter(this);
        fields->addWidget(new QLabel(QString::fromLatin1(labels[std::size_t(i)]), searchFrame), i,
                          0);
        fields->addWidget(edit, i, 1);
        m_search[std::size_t(i)] = edit;
    }
    // Names take letters only, in capitals.
    installLettersUpper(m_search[PatientList::LastName]);
    m_searchButton = new QPushButton(QStringLiteral("&Search"), searchFrame);
    m_searchButton->setObjectName(QStringLiteral("Command1"));
    m_refreshButton = new QPushButton(QStringLiteral("&Refresh"), searchFrame);
    m_refreshButton->setObjectName(QStringLiteral("Command2"));
    m_searchButtons = new QVBoxLayout;
    m_searchButtons->addWidget(m_searchButton);
    m_searchButtons->addWidget(m_refreshButton);
    m_searchButtons->addStretch(1);
    fields->addLayout(m_searchButtons, 0, 2, 3, 1);
    fields->setColumnStretch(1, 1);

    auto *typeFrame = new QGroupBox(QStringLiteral("Patient Type"), this);
    auto *typeLayout = new QVBoxLayout(typeFrame);
    const QList<PatientType> types = m_presenter.patientTypes();
    for (int i = 0; i < types.size(); ++i) {
        auto *option = new QRadioButton(m_presenter.typeCaption(types.at(i)), typeFrame);
        option->setObjectName(QStringLiteral("optPatientType(%1)").arg(i));
        option->setVisible(m_presenter.isTypeShown(types.at(i)));
        typeLayout->addWidget(option);
        m_types << option;
    }
    typeLayout->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addWidget(searchFrame, 1);
    top->addWidget(typeFrame);
    layout->addLayout(top);

    m_grid = new QTableView(this);
    m_grid->setObjectName(QStringLiteral("MSHFlexList"));
    m_grid->setModel(&m_presenter.grid());
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setWordWrap(false);
    m_grid->setContextMenuPolicy(Qt::CustomContextMenu);
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    int width = 0;
    for (int c = 0; c < PatientGrid::ColumnCount; ++c)
        width += pixels(m_presenter.columnWidthTwips(c));
    m_grid->setMinimumSize(width + 24, 300);
    layout->addWidget(m_grid, 1);

    m_recNum = new QLabel(this);
    m_recNum->setObjectName(QStringLiteral("lblRecNum"));
    m_legend = new QLabel(this);
    m_legend->setObjectName(QStringLiteral("lblLegend"));
    QPalette red = m_legend->palette();
    red.setColor(QPalette::WindowText, PatientGrid::cashBasisTextColor());
    m_legend->setPalette(red);
    m_legend->hide();
    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(m_recNum);
    statusRow->addSpacing(16);
    statusRow->addWidget(swatch(PatientGrid::billedTextColor(), this));
    statusRow->addWidget(new QLabel(QStringLiteral("Billed Patient"), this));
    statusRow->addSpacing(8);
    statusRow->addWidget(swatch(PatientGrid::cashBasisTextColor(), this));
    statusRow->addWidget(new QLabel(QStringLiteral("Cash Basis Patient"), this));
    statusRow->addSpacing(16);
    statusRow->addWidget(m_legend, 1);
    layout->addLayout(statusRow);

    bind();
    applyColumnWidths();
}

void PatientListWindow::bind()
{
    connect(&m_presenter, &PatientList::changed, this, &PatientListWindow::refresh);
    connect(&m_presenter, &PatientList::closeRequested, this, &PatientListWindow::closeWindow);
    for (std::size_t i = 0; i < m_search.size(); ++i) {
        const auto box = PatientList::SearchBox(i);
        connect(m_search[i], &QLineEdit::textChanged, this,
                [this, box](const QString &text) { m_presenter.setSearchText(box, text); });
        connect(m_search[i], &QLineEdit::returnPressed, &m_presenter, &PatientList::load);
    }
    connect(m_searchButton, &QPushButton::clicked, &m_presenter, &PatientList::load);
    connect(m_refreshButton, &QPushButton::clicked, &m_presenter, &PatientList::load);
    const QList<PatientType> types = m_presenter.patientTypes();
    for (int i = 0; i < m_types.size(); ++i) {
        const PatientType type = types.at(i);
        connect(m_types.at(i), &QRadioButton::clicked, this, [this, type] {
            if (m_presenter.patientType() != type)
                m_presenter.setPatientType(type);
        });
    }
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid())
                    m_presenter.rowChanged(gridRow(current));
            });
    connect(m_grid, &QTableView::clicked, this,
            [this](const QModelIndex &index) { m_presenter.select(gridRow(index)); });
    connect(m_grid, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { m_presenter.doubleClicked(gridRow(index)); });
    connect(m_grid, &QTableView::customContextMenuRequested, this, [this](const QPoint &at) {
        if (m_presenter.contextMenuRequested() && m_popup)
            m_popup->exec(m_grid->viewport()->mapToGlobal(at));
    });
    // The grid is reset before every load; its columns keep their widths.
    connect(&m_presenter.grid(), &QAbstractItemModel::modelReset, this,
            &PatientListWindow::applyColumnWidths);
    connect(&m_presenter.grid(), &QAbstractItemModel::rowsInserted, this,
            &PatientListWindow::fitHospitalNumbers);
}

void PatientListWindow::applyColumnWidths()
{
    for (int c = 0; c < PatientGrid::ColumnCount; ++c) {
        const int px = pixels(m_presenter.columnWidthTwips(c));
        // A column a twip wide is there to hold a value, not to be seen.
        m_grid->setColumnHidden(c, px == 0);
        if (px > 0)
            m_grid->setColumnWidth(c, px);
    }
    fitHospitalNumbers();
}

void PatientListWindow::fitHospitalNumbers()
{
    // The hospital's width is the least: a hospital number is always shown whole, in the font
    // the grid paints with.
    const int column = PatientGrid::HospitalNumber;
    const int least = pixels(m_presenter.columnWidthTwips(column));
    m_grid->resizeColumnToContents(column);
    if (m_grid->columnWidth(column) < least)
        m_grid->setColumnWidth(column, least);
}

void PatientListWindow::refresh()
{
    for (std::size_t i = 0; i < m_search.size(); ++i) {
        const QString text = m_presenter.searchText(PatientList::SearchBox(i));
        if (m_search[i]->text() != text)
            m_search[i]->setText(text);
    }
    const QList<PatientType> types = m_presenter.patientTypes();
    for (int i = 0; i < m_types.size(); ++i)
        m_types.at(i)->setChecked(types.at(i) == m_presenter.patientType());
    m_recNum->setText(m_presenter.recordNumberText());
    m_legend->setText(m_presenter.legendText());
    m_legend->setVisible(m_presenter.isLegendShown());

    const int row = m_presenter.currentRow();
    if (row < 1) {
        m_grid->clearSelection();
        return;
    }
    const QModelIndex wanted = m_presenter.grid().index(row - 1, PatientGrid::HospitalNumber);
    if (m_grid->currentIndex().row() != wanted.row() || !m_grid->selectionModel()->hasSelection())
        m_grid->setCurrentIndex(wanted);
}

bool PatientListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        for (std::size_t i = 0; i < m_search.size(); ++i) {
            if (watched == m_search[i])
                m_presenter.searchBoxEntered(PatientList::SearchBox(i));
        }
    }
    // The grid's font is settled only once the window is shown in the work area.
    if (m_grid && watched == m_grid &&
        (event->type() == QEvent::Show || event->type() == QEvent::FontChange ||
         event->type() == QEvent::StyleChange))
        fitHospitalNumbers();
    if (m_grid && watched == m_grid && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_grid->currentIndex().isValid()) {
            m_presenter.activate(gridRow(m_grid->currentIndex()));
            return true;
        }
    }
    // The right mouse button asks for the popup menu; it does not move the highlighted row.
    if (m_grid && watched == m_grid->viewport() &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
         event->type() == QEvent::MouseButtonDblClick) &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
        return true;
    return QWidget::eventFilter(watched, event);
}

void PatientListWindow::closeEvent(QCloseEvent *event)
{
    m_presenter.closed();
    QWidget::closeEvent(event);
}

void PatientListWindow::closeWindow()
{
    // In the main window's work area the frame around the window is what has to close; it
    // unloads the window with it.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

} // namespace kestrel
