// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/WindowRequest.h"

#include <QObject>
#include <QStringList>

#include <functional>

namespace kestrel {

class Session;

/// The pharmacy menu `frmPharmacyRequest` the patient profile opens, in pharmacy ("PH") or
/// central supply ("CS") mode: it leads to the request entry of the mode, the returns, the
/// reprint of request forms and, for the pharmacy, the transcription of doctors' orders.
class PharmacyMenu : public QObject
{
    Q_OBJECT

public:
    using WindowOpener = std::function<void(const QString &formName, const WindowRequest &)>;

    PharmacyMenu(Session &session, QObject *parent = nullptr);

    void setWindowOpener(WindowOpener opener) { m_openWindow = std::move(opener); }
    /// Shows the menu in `mode` ("PH" or "CS"; anything else is the pharmacy).
    void setMode(const QString &mode);
    bool isPharmacy() const { return m_pharmacy; }

    /// "Pharmacy Menu" or "Supplies Menu".
    QString caption() const;
    /// The captions of `cmdRequest(0)` to `cmdRequest(4)` in this mode.
    QStringList buttonCaptions() const;
    /// Whether `cmdRequest(index)` is offered: the transcription only to the pharmacy.
    bool buttonVisible(int index) const;

    /// `cmdRequest(index)` clicked.
    void choose(int index);

Q_SIGNALS:
    void changed();
    void closeRequested();

private:
    void requestEntry();
    void open(const QString &formName, const QString &caption, bool modal);

    Session &m_session;
    WindowOpener m_openWindow;
    bool m_pharmacy = true;
};

} // namespace kestrel
