// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/requests/RequestLayout.h"

#include "core/db/NumberFormat.h"
#include "core/settings/clsSettings.h"

namespace kestrel {

Money RequestLine::amount() const
{
    bool ok = false;
    const double q = quantity.toDouble(&ok);
    return ok ? unitPrice * q : Money();
}

QString RequestLine::text(RequestField field) const
{
    switch (field) {
    case RequestField::Number:
        return {};
    case RequestField::Code:
        return item;
    case RequestField::Description:
        return description;
    case RequestField::Frequency:
        return frequency;
    case RequestField::Dosage:
        return dosage;
    case RequestField::Route:
        return route;
    case RequestField::Quantity:
        return quantity;
    case RequestField::Amount:
        return quantity.isEmpty() ? QString() : formatNumber(amount(), kFormatAmount);
    case RequestField::Remarks:
        return remarks;
    case RequestField::Stat:
        return item.isEmpty() ? QString() : stat;
    case RequestField::UnitPrice:
        return item.isEmpty() ? QString() : formatNumber(unitPrice, kFormatAmount);
    }
    return {};
}

RequestLayout RequestLayout::of(RequestForm form)
{
    using F = RequestField;
    RequestLayout l;
    l.form = form;
    l.caption = QStringLiteral("Pharmacy Request Entry");
    l.department = QStringLiteral("PH");
    switch (form) {
    case RequestForm::Pharmacy:
        l.formName = QStringLiteral("frmPHEntry");
        l.header = QStringLiteral(
            "<# |<Code |<Item Description    |<Dosage |<Quantity|<Amount |<Remarks    |");
        l.columns = {F::Number, F::Code,    F::Description, F::Dosage,    F::Quantity,
                     F::Amount, F::Remarks, F::Stat,        F::Frequency, F::UnitPrice};
        break;
    case RequestForm::PharmacyWithDosage:
        l.formName = QStringLiteral("frmPHEntrywithDosage");
        l.header = QStringLiteral("<# |<Code |<Item Description    |<Freq.  |<Dosage |<Quantity|"
                                  "<Amount |<Remarks    |");
        l.columns = {F::Number, F::Code,   F::Description, F::Frequency, F::Dosage,
                     F::Quantity, F::Amount, F::Remarks,   F::Stat,      F::UnitPrice};
        break;
    case RequestForm::PharmacyWithRouting:
        l.formName = QStringLiteral("frmPHEntrywithRouting");
        l.header = QStringLiteral("<# |<Code |<Item Description    |<Freq.  |<Route |<Quantity|"
                                  "<Amount |<Remarks    |");
        l.columns = {F::Number, F::Code,   F::Description, F::Frequency, F::Route,
                     F::Quantity, F::Amount, F::Remarks,   F::Stat,      F::UnitPrice};
        break;
    case RequestForm::CentralSupply:
        l.formName = QStringLiteral("frmCSREntry");
        l.caption = QStringLiteral("Central Supply Request Entry");
        l.department = QStringLiteral("CS");
        l.header = QStringLiteral(
            "<# |<Code |<Item Description    |<Dosage |<Quantity|<Amount |<Remarks ");
        l.columns = {F::Number, F::Code,    F::Description, F::Dosage,    F::Quantity,
                     F::Amount, F::Remarks, F::Stat,        F::Frequency, F::UnitPrice};
        break;
    }
    l.shownColumns = int(l.columns.indexOf(F::Stat)) + 1;
    return l;
}

RequestForm RequestLayout::pharmacyForm(const clsSettings &settings)
{
    if (settings.NurseShowDosage())
        return RequestForm::PharmacyWithDosage;
    if (settings.NurseShowRoute())
        return RequestForm::PharmacyWithRouting;
    return RequestForm::Pharmacy;
}

bool RequestLayout::formOfName(const QString &formName, RequestForm &form)
{
    for (RequestForm f : {RequestForm::Pharmacy, RequestForm::PharmacyWithDosage,
                          RequestForm::PharmacyWithRouting, RequestForm::CentralSupply}) {
        if (of(f).formName.compare(formName.trimmed(), Qt::CaseInsensitive) == 0) {
            form = f;
            return true;
        }
    }
    return false;
}

QStringList RequestLayout::captions() const
{
    QStringList out;
    for (const QString &cell : header.split(u'|')) {
        QString text = cell;
        if (text.startsWith(u'<') || text.startsWith(u'^') || text.startsWith(u'>'))
            text.remove(0, 1);
        if (out.size() < shownColumns - 1)
            out << text.trimmed();
    }
    out << QStringLiteral("STAT");
    while (out.size() < columns.size())
        out << (columns.at(out.size()) == RequestField::Frequency ? QStringLiteral("Freq.")
                                                                   : QStringLiteral("Unit Price"));
    return out;
}

int RequestLayout::column(RequestField f) const
{
    return int(columns.indexOf(f));
}

RequestField RequestLayout::field(int column) const
{
    return column >= 0 && column < columns.size() ? columns.at(column) : RequestField::Number;
}

} // namespace kestrel
