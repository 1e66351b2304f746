// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/WidgetChargeSaving.h"

#include "charging/ui/frmRequestingDoctor.h"

namespace kestrel {

WidgetPostingPrompts::WidgetPostingPrompts(clsCodeLookup *lookup, QWidget *parent)
    : m_lookup(lookup)
    , m_parent(parent)
{
}

RequestingDoctor WidgetPostingPrompts::askRequestingDoctor()
{
    frmRequestingDoctor window(m_lookup, m_parent);
    window.exec();
    return window.doctor();
}

WidgetChargeSaving::WidgetChargeSaving(Session &session, ReportService &reports,
                                       clsCodeLookup *lookup, clsDrugPicker *drugPicker,
                                       QWidget *window)
    : QObject(window)
    , m_prompts(lookup, window)
    , m_printer(session, reports)
    , m_posting(session, m_prompts, drugPicker, m_printer)
{
}

} // namespace kestrel
