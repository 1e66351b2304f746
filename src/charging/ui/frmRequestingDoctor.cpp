// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmRequestingDoctor.h"

#include "core/components/clsCodeLookup.h"
#include "core/ui/KeyFilter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

frmRequestingDoctor::frmRequestingDoctor(clsCodeLookup *lookup, QWidget *parent)
    : QDialog(parent)
    , m_lookup(lookup)
{
    setObjectName(QStringLiteral("frmRequestingDoctor"));
    setModal(true);
    buildUi();
    bind();
}

void frmRequestingDoctor::buildUi()
{
    setWindowTitle(QStringLiteral("Enter Requesting Doctor"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Requesting Doctor:"), this));

    auto *row = new QHBoxLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("txtRequestingDoctor"));
    m_name->setMinimumWidth(4200 / 15);
    row->addWidget(m_name, 1);
    m_pick = new QPushButton(QStringLiteral("..."), this);
    m_pick->setObjectName(QStringLiteral("cmdReqDoc"));
    m_pick->setAutoDefault(false);
    row->addWidget(m_pick);
    layout->addLayout(row);

    m_ok = new QPushButton(QStringLiteral("&OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);
}

void frmRequestingDoctor::bind()
{
    installUpperCase(m_name);
    // Without the code look-up only a typed name can be given.
    m_pick->setEnabled(m_lookup != nullptr);
    // A name typed by hand names no doctor of the list.
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_doctor = RequestingDoctor{QString(), text.trimmed()};
    });
    connect(m_pick, &QPushButton::clicked, this, &frmRequestingDoctor::pick);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
}

void frmRequestingDoctor::pick()
{
    if (!m_lookup->SearchListing(clsCodeLookup::Doctors, m_name->text()))
        return;
    const DoctorRecord &picked = m_lookup->DoctorRecord();
    m_doctor = RequestingDoctor{picked.ResultCode, picked.LastName + QStringLiteral(", ") +
                                                       picked.FirstName};
    m_name->setText(m_doctor.name);
}

} // namespace kestrel
