// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/VitalSignsTrend.h"

#include "core/db/Database.h"

#include <algorithm>
#include <optional>

namespace kestrel {

namespace {

// The columns of the station's settings that hold the ranges, in the order of the measures.
constexpr const char16_t *kRangeColumns[] = {u"VSNormalTemperature", u"VSNormalPulse",
                                             u"VSNormalRespiration", u"VSNormalSystolic",
                                             u"VSNormalDiastolic",   u"VSNormalO2Sat"};

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? std::optional<double>(v) : std::nullopt;
}

} // namespace

QList<NormalRange> VitalSignsTrend::defaultRanges()
{
    return {{36.5, 37.5}, {60, 100}, {12, 20}, {90, 140}, {60, 90}, {95, 100}};
}

NormalRange VitalSignsTrend::parseRange(const QString &text, NormalRange fallback)
{
    // Split at the dash between the numbers, not at a sign.
    const QString t = text.trimmed();
    const qsizetype dash = t.indexOf(u'-', 1);
    if (dash < 0)
        return fallback;
    const auto low = number(t.left(dash));
    const auto high = number(t.mid(dash + 1));
    if (!low || !high || *high <= *low)
        return fallback;
    return {*low, *high};
}

Result<void> VitalSignsTrend::loadRanges()
{
    m_ranges = defaultRanges();
    auto row = m_db.selectOne(u"select VSNormalTemperature, VSNormalPulse, VSNormalRespiration, "
                              u"VSNormalSystolic, VSNormalDiastolic, VSNormalO2Sat "
                              u"from STATION..tbNursing_Settings");
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return {};
    for (int i = 0; i < int(m_ranges.size()); ++i)
        m_ranges[i] = parseRange((*row)->text(kRangeColumns[i]), m_ranges.at(i));
    return {};
}

NormalRange VitalSignsTrend::range(TrendSeries::Measure measure) const
{
    return m_ranges.value(int(measure));
}

QList<TrendSeries> VitalSignsTrend::series(const QList<VitalSignRecord> &readings) const
{
    QList<const VitalSignRecord *> ordered;
    for (const VitalSignRecord &r : readings) {
        if (r.takenAt.isValid())
            ordered << &r;
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const VitalSignRecord *a, const VitalSignRecord *b) {
                         return a->takenAt < b->takenAt;
                     });

    using M = TrendSeries::Measure;
    QList<TrendSeries> out{
        {M::Temperature, QStringLiteral("Temp. (°C)"), {}, range(M::Temperature), true},
        {M::PulseRate, QStringLiteral("P.R (/min.)"), {}, range(M::PulseRate), false},
        {M::RespiratoryRate, QStringLiteral("R.R (/min.)"), {},
         range(M::RespiratoryRate), false},
        {M::Systolic, QStringLiteral("Systolic"), {}, range(M::Systolic), false},
        {M::Diastolic, QStringLiteral("Diastolic"), {}, range(M::Diastolic), false},
        {M::O2Sat, QStringLiteral("O.S. (%)"), {}, range(M::O2Sat), false},
    };
    for (const VitalSignRecord *r : std::as_const(ordered)) {
        const double x = double(r->takenAt.toMSecsSinceEpoch());
        const QString bp = r->bloodPressure.trimmed();
        const qsizetype slash = bp.indexOf(u'/');
        const QString values[] = {r->temperature, r->pulseRate, r->respiratoryRate,
                                  slash < 0 ? QString() : bp.left(slash),
                                  slash < 0 ? QString() : bp.mid(slash + 1),
                                  QString(r->o2Sat).remove(u'%')};
        for (int i = 0; i < int(out.size()); ++i) {
            if (const auto v = number(values[i]))
                out[i].points << QPointF(x, *v);
        }
    }
    // Many wards do not measure the saturation; no line then, and no empty legend.
    if (out.constLast().points.isEmpty())
        out.removeLast();
    return out;
}

} // namespace kestrel
