// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargePosting.h"
#include "charging/ChargeSlipPrinter.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace kestrel {

class ReportService;
class clsCodeLookup;

/// The posting's questions as the program asks them: "Enter Requesting Doctor"
/// (`frmRequestingDoctor`), modal over the charge window.
class WidgetPostingPrompts : public PostingPrompts
{
public:
    WidgetPostingPrompts(clsCodeLookup *lookup, QWidget *parent);
    RequestingDoctor askRequestingDoctor() override;

private:
    clsCodeLookup *m_lookup;
    QPointer<QWidget> m_parent;
};

/// What the charge window saves and reprints through, as the program puts it together: the
/// posting with its windows and the charge slip printer. It lives as long as the window it is
/// made for.
class WidgetChargeSaving : public QObject
{
    Q_OBJECT

public:
    WidgetChargeSaving(Session &session, ReportService &reports, clsCodeLookup *lookup,
                       clsDrugPicker *drugPicker, QWidget *window);

    ChargeSaving &saving() { return m_posting; }
    ChargePosting &posting() { return m_posting; }

private:
    WidgetPostingPrompts m_prompts;
    ChargeSlipPrinter m_printer;
    ChargePosting m_posting;
};

} // namespace kestrel
