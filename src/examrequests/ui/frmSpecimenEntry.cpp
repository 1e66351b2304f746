// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/ui/frmSpecimenEntry.h"

#include "core/Notifier.h"
#include "core/Session.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

namespace kestrel {

frmSpecimenEntry::frmSpecimenEntry(Session &session, const QString &examCode, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmSpecimenEntry"));
    setWindowTitle(QStringLiteral("Specimen"));
    auto specimens = ExamRequestStore(session.db()).specimens(examCode);
    if (!specimens)
        session.notifier().errorBox(specimens.error());
    else
        m_all = std::move(*specimens);
    auto *layout = new QVBoxLayout(this);
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("txtSearch"));
    m_filter->setPlaceholderText(QStringLiteral("Type the first letters of the specimen"));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("lstSpecimen"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(m_filter);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    connect(m_filter, &QLineEdit::textChanged, this, &frmSpecimenEntry::fill);
    connect(m_filter, &QLineEdit::returnPressed, this, &frmSpecimenEntry::take);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &frmSpecimenEntry::take);
    connect(buttons, &QDialogButtonBox::accepted, this, &frmSpecimenEntry::take);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    fill();
    resize(360, 320);
}

QList<Specimen> frmSpecimenEntry::filtered(const QList<Specimen> &all, const QString &typed)
{
    const QString t = typed.trimmed();
    QList<Specimen> out;
    for (const Specimen &s : all) {
        if (t.isEmpty() || s.name.startsWith(t, Qt::CaseInsensitive) ||
            s.id.startsWith(t, Qt::CaseInsensitive))
            out << s;
    }
    return out;
}

void frmSpecimenEntry::fill()
{
    m_list->clear();
    for (const Specimen &s : filtered(m_all, m_filter->text())) {
        auto *item = new QListWidgetItem(s.name, m_list);
        item->setData(Qt::UserRole, s.id);
    }
    if (m_list->count() > 0)
        m_list->setCurrentRow(0);
}

void frmSpecimenEntry::take()
{
    QListWidgetItem *item = m_list->currentItem();
    if (!item)
        return;
    m_chosen = Specimen{item->data(Qt::UserRole).toString(), item->text()};
    accept();
}

} // namespace kestrel
