// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmRecievable.h"

#include "charging/ui/frmSearchRecievable.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

frmRecievable::frmRecievable(Session &session, ChargeEntry::Components components,
                             QWidget *parent)
    : frmCharge(session, components, parent)
    , m_session(session)
    , m_account(session)
{
    setObjectName(QStringLiteral("frmRecievable"));
    setWindowTitle(QStringLiteral("Receivable Update"));
    presenter().setAccount(&m_account);
    pricingPrompts().setAccount(&m_account);

    auto *search = new QPushButton(QStringLiteral("Search Patient"), this);
    search->setObjectName(QStringLiteral("cmdSearch"));
    search->setAutoDefault(false);
    connect(search, &QPushButton::clicked, this, &frmRecievable::searchPatient);
    if (auto *box = qobject_cast<QVBoxLayout *>(layout()))
        box->insertWidget(0, search, 0, Qt::AlignLeft);
    // Returns, packages, piped oxygen and the clinical data form belong to the selected
    // patient's stay in his room, not to a billed account.
    for (const QString &name : {QStringLiteral("cmdReturns"), QStringLiteral("cmdCDF"),
                                QStringLiteral("Command1(1)")}) {
        if (auto *button = findChild<QPushButton *>(name))
            button->hide();
    }
}

bool frmRecievable::pick(const CurrentPatientRecord &stay)
{
    return m_account.pick(presenter(), stay);
}

void frmRecievable::searchPatient()
{
    frmSearchRecievable search(m_session, this);
    if (search.exec() == QDialog::Accepted && search.picked().isSelected())
        pick(search.picked());
}

} // namespace kestrel
