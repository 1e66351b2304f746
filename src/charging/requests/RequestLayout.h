// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace kestrel {

class clsSettings;

/// The four request entry windows: the pharmacy's, with the frequency, with the route, and the
/// central supply's.
enum class RequestForm { Pharmacy, PharmacyWithDosage, PharmacyWithRouting, CentralSupply };

/// What a cell of a request line holds.
enum class RequestField {
    Number,
    Code,
    Description,
    Frequency,
    Dosage,
    Route,
    Quantity,
    Amount,
    Remarks,
    Stat,
    UnitPrice,
};

/// One line of a request entry grid.
struct RequestLine
{
    QString item;
    QString description;
    QString dosage;    ///< the dosage code
    QString frequency; ///< the dosage's frequency
    QString route;
    QString quantity; ///< as typed, once accepted
    QString remarks;
    QString stat = QStringLiteral("N");
    Money unitPrice;
    double stockOnHand = 0;

    /// Quantity × unit price; zero while the quantity is not typed.
    Money amount() const;
    /// The text of `field` as the grid shows it.
    QString text(RequestField field) const;
};

/// How a request window lays out its grid and whom it sends to: the form's name and caption,
/// the grid header as the hospital writes it, the department, and the field of each column
/// (the shown ones first, then the hidden frequency and unit price).
struct RequestLayout
{
    RequestForm form = RequestForm::Pharmacy;
    QString formName;
    QString caption;
    QString header;
    QString department; ///< "PH" or "CS"
    QList<RequestField> columns;
    int shownColumns = 0;

    static RequestLayout of(RequestForm form);
    /// The pharmacy window the station's switches choose: with the frequency
    /// (`NurseShowDosage`), with the route (`NurseShowRoute`), else the base one.
    static RequestForm pharmacyForm(const clsSettings &settings);
    /// The form of a window name ("frmPHEntry", "frmCSREntry", ...), case ignored.
    static bool formOfName(const QString &formName, RequestForm &form);

    bool isPharmacy() const { return department == u"PH"; }
    /// The caption of each column: the header's cells without their alignment marks, then
    /// "STAT" and the hidden ones.
    QStringList captions() const;
    /// The column of `field`, -1 when the form has none.
    int column(RequestField field) const;
    RequestField field(int column) const;
};

} // namespace kestrel
