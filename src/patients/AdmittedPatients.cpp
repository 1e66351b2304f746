// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/AdmittedPatients.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kAskChecked =
    QStringLiteral("Are you sure you want to tag this patient as already checked?");

// The schedule's transaction number is in this grid column.
constexpr int kTransNumColumn = 9;

} // namespace

AdmittedPatients::AdmittedPatients(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

QStringList AdmittedPatients::searchKinds()
{
    return {QStringLiteral("Last name"), QStringLiteral("Adm #"), QStringLiteral("Hospital #")};
}

QList<int> AdmittedPatients::columnWidths()
{
    return {1, 2500, 2500, 2500, 2500, 1800, 1000, 0, 0, 0, 2300};
}

bool AdmittedPatients::search(const QString &searchText)
{
    m_searchText = searchText.trimmed();
    m_chosen = 0;
    auto rows = m_session.db().call(u"SCHEDULE..sp_List_ConfirmedORSchedule",
                                    {QStringLiteral("9"), m_searchText});
    const bool ok = rows.has_value();
    if (ok) {
        m_rows = std::move(*rows);
    } else {
        m_rows = RowSet();
        m_session.notifier().errorBox(rows.error());
    }
    Q_EMIT listChanged();
    return ok;
}

QStringList AdmittedPatients::headers() const
{
    return QStringList{QString()} + m_rows.columnNames();
}

QString AdmittedPatients::cell(int gridRow, int gridColumn) const
{
    if (gridRow < 1 || gridRow > m_rows.count() || gridColumn < 1)
        return {};
    const Row &row = m_rows.at(gridRow - 1);
    return gridColumn <= row.columnCount() ? row.value(gridColumn - 1).toString() : QString();
}

void AdmittedPatients::chooseRow(int gridRow)
{
    m_chosen = gridRow >= 1 && gridRow <= m_rows.count() ? gridRow : 0;
    Q_EMIT chosenChanged();
}

QString AdmittedPatients::positionText() const
{
    if (m_chosen == 0)
        return {};
    return QString::number(m_chosen) + QStringLiteral("  out of  ") +
           QString::number(m_rows.count());
}

QString AdmittedPatients::chosenTransNum() const
{
    return cell(m_chosen, kTransNumColumn).trimmed();
}

AdmittedPatients::CheckOutcome AdmittedPatients::tagChecked()
{
    Notifier &notifier = m_session.notifier();
    const QString transNum = chosenTransNum();
    if (transNum.isEmpty()) {
        notifier.message(QStringLiteral("Please select checked admitted patients with schedule."),
                         kNotification, Notifier::Icon::Information);
        return CheckOutcome::NoPatient;
    }
    if (!notifier.confirm(kAskChecked, kConfirmation, Notifier::Icon::Question))
        return CheckOutcome::Declined;

    // The employee who signs is recorded, not the one logged in; without a signature the
    // user may try again or give up.
    for (;;) {
        m_session.validated = m_session.dialogs().validateUser();
        if (m_session.validated.isValid())
            break;
        if (!notifier.confirm(QStringLiteral("Transaction was not saved! ") + u'\n' + kAskChecked,
                              kConfirmation, Notifier::Icon::Question))
            return CheckOutcome::Abandoned;
    }

    auto updated = m_session.db().exec(u"UPDATE SCHEDULE..TBORSCHEDULEDETAILS "
                                       u"SET ORNotified = 'Y', "
                                       u"ORNotifiedUser = :user, "
                                       u"ORNotifiedDate = getdate() "
                                       u"WHERE TRANSNUM = :transnum",
                                       {{QStringLiteral("user"), m_session.validated.code},
                                        {QStringLiteral("transnum"), transNum}});
    if (!updated) {
        notifier.errorBox(updated.error());
        return CheckOutcome::Failed;
    }
    notifier.message(QStringLiteral("Successful! Patient was removed from the list."),
                     kNotification, Notifier::Icon::Information);
    search(m_searchText);
    return CheckOutcome::Checked;
}

} // namespace kestrel
