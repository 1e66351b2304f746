// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "reports/ReportService.h"

#include <QDialog>

namespace kestrel {

/// The prompt for the parameters a report was opened without: one field per parameter, in
/// the report's order (a date picker for dates, a tick for flags, a line for text and
/// numbers), OK (`cmdOK(0)`) and Cancel (`cmdOK(1)`).
class frmReportParameters : public QDialog
{
    Q_OBJECT

public:
    frmReportParameters(const QString &reportTitle, const QList<ReportParameter> &parameters,
                        QWidget *parent = nullptr);

    /// What the fields hold, in the parameters' order: a QDate, a bool or the text typed.
    QVariantList values() const;

private:
    QList<ReportParameter> m_parameters;
    QList<QWidget *> m_fields;
};

/// The running program's prompt: the dialog above, modal over the active window.
class WidgetParameterPrompt : public ParameterPrompt
{
public:
    std::optional<QVariantList> askParameters(const QString &reportTitle,
                                              const QList<ReportParameter> &missing) override;
};

} // namespace kestrel
