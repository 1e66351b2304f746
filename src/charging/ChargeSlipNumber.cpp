// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargeSlipNumber.h"

#include "core/db/NumberFormat.h"
#include "core/settings/clsSettings.h"

namespace kestrel {

SlipFormat SlipFormat::of(const clsSettings &settings)
{
    return {settings.NewCSlipFormat(), settings.FifteenCSlipFormat(), settings.BirCSlipFormat()};
}

SlipCounter SlipFormat::counterFor(const QString &IdNum) const
{
    if (newFormat.isEmpty() || !fifteen)
        return SlipCounter::Common;
    return IdNum.trimmed().endsWith(u'B', Qt::CaseInsensitive) ? SlipCounter::Outpatient
                                                               : SlipCounter::Inpatient;
}

QString SlipFormat::number(SlipCounter counter, qint64 n) const
{
    switch (counter) {
    case SlipCounter::Inpatient:
        return u"OC2" + formatNumber(double(n), birFormat);
    case SlipCounter::Outpatient:
        return u"OC1" + formatNumber(double(n), birFormat);
    case SlipCounter::Common:
        break;
    }
    const QString digits = newFormat.isEmpty() ? QString::number(n) : formatNumber(double(n), newFormat);
    return u'C' + digits + u'O';
}

} // namespace kestrel
