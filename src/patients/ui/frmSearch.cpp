// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/ui/frmSearch.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace kestrel {

frmSearch::frmSearch(Session &session, clsPatientFinder *finder, MainWindowCommands *menu, QMenu *popup,
                     QWidget *parent)
    : PatientListWindow(session, finder, menu, PatientList::Window::PatientList, parent)
{
    setObjectName(QStringLiteral("frmSearch"));
    setPopupMenu(popup);
    buildUi();
    bindDates();
    presenter().load();
}

void frmSearch::buildUi()
{
    setWindowTitle(QStringLiteral("Patient List"));
    auto *layout = new QVBoxLayout(this);
    buildList(layout);

    m_admDate = new QPushButton(QStringLiteral("With Adm. Date"), this);
    m_admDate->setObjectName(QStringLiteral("cmdAdmDate"));
    searchButtons()->insertWidget(2, m_admDate);

    m_dateEntry = new QGroupBox(QStringLiteral("Enter Admission Dates"), this);
    m_dateEntry->setObjectName(QStringLiteral("frmDateEntry"));
    auto *dates = new QGridLayout(m_dateEntry);
    auto makePicker = [this](const QString &name) {
        auto *picker = new QDateEdit(m_dateEntry);
        picker->setObjectName(name);
        picker->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
        picker->setCalendarPopup(true);
        return picker;
    };
    m_startDate = makePicker(QStringLiteral("dtpStartDate"));
    m_endDate = makePicker(QStringLiteral("dtpEndDate"));
    auto *search = new QPushButton(QStringLiteral("Search"), m_dateEntry);
    search->setObjectName(QStringLiteral("cmdOKClose(0)"));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), m_dateEntry);
    cancel->setObjectName(QStringLiteral("cmdOKClose(1)"));
    dates->addWidget(new QLabel(QStringLiteral("Start Date:"), m_dateEntry), 0, 0);
    dates->addWidget(m_startDate, 0, 1);
    dates->addWidget(new QLabel(QStringLiteral("End Date:"), m_dateEntry), 0, 2);
    dates->addWidget(m_endDate, 0, 3);
    dates->addWidget(search, 0, 4);
    dates->addWidget(cancel, 0, 5);
    dates->setColumnStretch(6, 1);
    m_dateEntry->hide();
    // Between the search boxes and the grid.
    layout->insertWidget(1, m_dateEntry);

    static constexpr std::array<const char *, 3> links{"Clinical Summary", "View Clinical Results",
                                                       "Send Requests / Post charges"};
    auto *linkRow = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto *link = new QLabel(
            QStringLiteral("<a href=\"#\">%1</a>").arg(QString::fromLatin1(links[std::size_t(i)])),
            this);
        link->setObjectName(QStringLiteral("lblProcedures(%1)").arg(i));
        link->setTextFormat(Qt::RichText);
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
        link->setEnabled(false);
        connect(link, &QLabel::linkActivated, this, [this, i] { presenter().openLink(i); });
        linkRow->addWidget(link);
        linkRow->addSpacing(24);
        m_links[std::size_t(i)] = link;
    }
    linkRow->addStretch(1);
    layout->addLayout(linkRow);
}

void frmSearch::bindDates()
{
    connect(m_admDate, &QPushButton::clicked, this, [this] {
        const QDate today = presenter().admissionDateDefault();
        m_startDate->setDate(today);
        m_endDate->setDate(today);
        m_dateEntry->show();
        m_startDate->setFocus();
    });
    connect(findChild<QPushButton *>(QStringLiteral("cmdOKClose(0)")), &QPushButton::clicked, this,
            [this] {
                hideDateEntry();
                presenter().loadByAdmissionDate(m_startDate->date(), m_endDate->date());
            });
    connect(findChild<QPushButton *>(QStringLiteral("cmdOKClose(1)")), &QPushButton::clicked, this,
            &frmSearch::hideDateEntry);
}

void frmSearch::hideDateEntry()
{
    // The focus goes to the list, not on to a search box, which would empty the other two.
    grid()->setFocus();
    m_dateEntry->hide();
}

void frmSearch::refresh()
{
    PatientListWindow::refresh();
    for (QLabel *link : m_links)
        link->setEnabled(presenter().areLinksEnabled());
}

} // namespace kestrel
