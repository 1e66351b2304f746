// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/PatientList.h"

#include "patients/modGlobals.h"
#include "core/BackgroundRead.h"
#include "core/WindowRequest.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <algorithm>

namespace kestrel {

namespace {

const QString kProfileForm = QStringLiteral("frmFinal");
const QString kProfileCaption = QStringLiteral("Clinical Procedures");
const QString kScheduleForm = QStringLiteral("frmSchedule");
const QString kScheduleCaption = QStringLiteral("Schedule of Operations");

bool isQelm(const Session &session)
{
    return session.hospital.clientname == u"QELM";
}

} // namespace

PatientList::PatientList(Session &session, clsPatientFinder *finder, MainWindowCommands *menu, Window window,
                         QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_menu(menu)
    , m_window(window)
    , m_selection(session, finder)
{
}

QList<PatientType> PatientList::patientTypes() const
{
    if (m_window == Window::NewSchedule)
        return {PatientType::Inpatient, PatientType::Outpatient};
    return {PatientType::Inpatient, PatientType::Outpatient, PatientType::Emergency};
}

QString PatientList::typeCaption(PatientType type) const
{
    const bool picker = m_window == Window::NewSchedule;
    switch (type) {
    case PatientType::Inpatient:
        return picker ? QStringLiteral("In Patient") : QStringLiteral("Inpatient");
    case PatientType::Outpatient:
        return picker ? QStringLiteral("Out Patient") : QStringLiteral("Outpatient");
    case PatientType::Emergency:
        return QStringLiteral("ER Patient");
    }
    return {};
}

bool PatientList::isTypeShown(PatientType type) const
{
    if (!patientTypes().contains(type))
        return false;
    return !(type == PatientType::Emergency && isQelm(m_session));
}

void PatientList::setPatientType(PatientType type)
{
    m_type = type;
    load();
}

void PatientList::setSearchText(SearchBox box, const QString &text)
{
    m_texts[std::size_t(box)] = text;
}

void PatientList::searchBoxEntered(SearchBox box)
{
    for (std::size_t i = 0; i < m_texts.size(); ++i) {
        if (i != std::size_t(box))
            m_texts[i].clear();
    }
    Q_EMIT changed();
}

void PatientList::load()
{
    loadList(std::nullopt);
}

QDate PatientList::admissionDateDefault()
{
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    return now.isValid() ? now.date() : m_session.ServerDate;
}

void PatientList::loadByAdmissionDate(const QDate &start, const QDate &end)
{
    loadList(std::make_pair(start, end));
}

int PatientList::columnWidthTwips(int column) const
{
    return PatientGrid::columnWidthTwips(column, m_session.settings.EnableNewPrecaution());
}

void PatientList::loadList(const std::optional<std::pair<QDate, QDate>> &dates)
{
    m_recordNumber.clear();
    m_legendShown = false;
    m_legend.clear();
    m_currentRow = 0;
    m_selectedRow = 0;
    m_found = 0;
    ++m_countSerial;
    m_grid.reset();

    m_search = {m_texts[LastName], m_texts[HospitalNumber], m_texts[AdmissionNumber], dates};
    // A common last name finds thousands of stays: the first page is shown at once.
    const Result<RowSet> rows =
        dates ? m_selection.SearchPatientsByAdmissionDate(m_type, m_search.lastName,
                                                          m_search.hospNum, m_search.idNum,
                                                          dates->first, dates->second, kFirstPage)
              : m_selection.SearchPatients(m_type, m_search.lastName, m_search.hospNum,
                                           m_search.idNum, kFirstPage);
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        Q_EMIT changed();
        return;
    }
    if (!rows->isEmpty())
        m_grid.bind(*rows);
    if (m_grid.holdsPatients()) {
        m_found = int(rows->count());
        if (rows->count() == kFirstPage) {
            m_grid.setReadMore([this] { readMore(); });
            countFound();
        }
        showRows(1);
        rowChanged(1);
    }
    Q_EMIT changed();
}

void PatientList::readMore()
{
    const int before = m_grid.gridRows();
    const Result<RowSet> rows =
        m_selection.PatientsPage(m_type, m_search.lastName, m_search.hospNum, m_search.idNum,
                                 m_search.days, before - 1, kNextPage);
    if (!rows) {
        m_grid.setReadMore(nullptr);
        m_session.notifier().errorBox(rows.error());
        return;
    }
    if (rows->count() < kNextPage)
        m_grid.setReadMore(nullptr);
    m_grid.append(*rows);
    showRows(before);
    countRows();
    Q_EMIT changed();
}

void PatientList::countFound()
{
    // A long list counts what it found, so the position reads against all of it. The first
    // page is on screen meanwhile: the count of a common last name takes a while.
    const int serial = m_countSerial;
    ++m_countsRunning;
    const auto apply = [this, serial](const Result<QVariant> &found) {
        --m_countsRunning;
        if (serial != m_countSerial || !found)
            return; // another search since, or no count: the rows read so far stand
        m_found = std::max(m_found, found->toInt());
        countRows();
        Q_EMIT changed();
    };
    auto count = [type = m_type, search = m_search](Database &db) -> Result<QVariant> {
        return PatientSelection::PatientsCount(db, type, search.lastName, search.hospNum,
                                               search.idNum, search.days)
            .map([](int found) { return QVariant(found); });
    };
    if (readInBackground(m_session.db(), count, this, apply))
        return;
    apply(count(m_session.db()));
}

void PatientList::showRows(int firstRow)
{
    m_grid.colourRows();
    if (m_type == PatientType::Inpatient && m_session.settings.EnableNewPrecaution()) {
        QStringList idNums;
        for (int row = firstRow; row < m_grid.gridRows(); ++row)
            idNums << m_grid.text(row, PatientGrid::AdmissionNumber);
        if (auto colors = m_selection.PrecautionColors(idNums))
            m_grid.paintPrecautions(*colors, firstRow);
    }
}

void PatientList::countRows()
{
    if (m_currentRow >= 1)
        m_recordNumber = QString::number(m_currentRow) + QStringLiteral("  out of  ") +
                         QString::number(std::max(m_found, m_grid.gridRows() - 1));
}

void PatientList::rowChanged(int row)
{
    if (row < 1 || row >= m_grid.gridRows())
        return;
    m_currentRow = row;
    CurrentPatientRecord &patient = m_session.CurrentPatient;
    patient.HospNum = m_grid.text(row, PatientGrid::HospitalNumber);
    patient.IdNum = m_grid.text(row, PatientGrid::AdmissionNumber);
    patient.ListRow = qint16(row);
    countRows();
    m_legendShown = m_grid.isCashBasis(row);
    m_legend = m_legendShown ? m_grid.text(row, PatientGrid::Legend).trimmed() : QString();
    Q_EMIT changed();
}

bool PatientList::select(int row)
{
    if (row < 1 || row >= m_grid.gridRows())
        return false;
    rowChanged(row);
    m_linksEnabled = true;
    Q_EMIT changed();
    const PatientSelection::Options options = m_window == Window::NewSchedule
                                                  ? PatientSelection::newScheduleOptions()
                                                  : PatientSelection::patientListOptions();
    const bool found = m_selection.SelectPatient(m_grid.text(row, PatientGrid::HospitalNumber),
                                                 m_grid.text(row, PatientGrid::AdmissionNumber),
                                                 m_type == PatientType::Inpatient, options);
    m_selectedRow = found ? row : 0;
    if (found && m_menu)
        m_menu->setPatientCommandsEnabled(true);
    return found;
}

void PatientList::activate(int row)
{
    // A stay that was not found opens no profile; the picker of a new schedule hands on
    // the row's numbers all the same.
    if (!select(row) && m_window == Window::PatientList)
        return;
    doubleClicked(row);
}

void PatientList::doubleClicked(int row)
{
    if (row < 1 || row >= m_grid.gridRows())
        return;
    if (m_window == Window::PatientList) {
        openProfile(row, 0);
        return;
    }
    if (m_menu) {
        WindowRequest request;
        request.command = QStringLiteral("frmSearchAdmitted");
        request.caption = kScheduleCaption;
        request.patient = m_session.CurrentPatient;
        request.values = {
            {QStringLiteral("SetHospNum"), m_grid.text(row, PatientGrid::HospitalNumber).trimmed()},
            {QStringLiteral("SetIDNum"), m_grid.text(row, PatientGrid::AdmissionNumber).trimmed()},
            {QStringLiteral("PatientName"), m_grid.text(row, PatientGrid::PatientName)}};
        m_menu->openWindow(kScheduleForm, request);
    }
    Q_EMIT closeRequested();
}

int PatientList::linkTab(int link)
{
    static constexpr std::array<int, 3> tabs{0, 2, 6};
    return link >= 0 && link < int(tabs.size()) ? tabs[std::size_t(link)] : 0;
}

void PatientList::openLink(int link)
{
    if (m_linksEnabled)
        openProfile(m_currentRow, linkTab(link));
}

void PatientList::openProfile(int row, int tab)
{
    if (!m_menu || row < 1 || row >= m_grid.gridRows())
        return;
    if (row != m_selectedRow && !select(row))
        return;
    WindowRequest request;
    request.command = QStringLiteral("frmSearch");
    request.caption = kProfileCaption;
    request.patient = m_session.CurrentPatient;
    request.values = {{QStringLiteral("HospNum"), m_grid.text(row, PatientGrid::HospitalNumber)},
                      {QStringLiteral("IdNum"), m_grid.text(row, PatientGrid::AdmissionNumber)},
                      {QStringLiteral("Tab"), tab}};
    m_menu->openWindow(kProfileForm, request);
}

bool PatientList::contextMenuRequested()
{
    if (!m_session.settings.EnableCVORTag())
        return false;
    if (m_menu) {
        const bool tagged = m_selection.IsCvorPatient(m_session.CurrentPatient.IdNum);
        m_menu->setCVORCaption(tagged ? QStringLiteral("Untag as CVOR/RR Patient")
                                      : QStringLiteral("Tag as CVOR/RR Patient"));
        // The statement of account is offered on the patient's row for this hospital.
        if (isQelm(m_session))
            m_menu->setMenuVisible(QStringLiteral("mnuSOA"), true);
    }
    return true;
}

void PatientList::closed()
{
    if (m_window == Window::PatientList && m_menu)
        m_menu->setPatientCommandsEnabled(false);
}

} // namespace kestrel
