// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/settings/clsSettings.h"

#include "core/db/Database.h"
#include "core/settings/HospitalSettings.h"

#include <QHash>

#include <optional>
#include <type_traits>

Q_LOGGING_CATEGORY(lcSettings, "kestrel.settings")

namespace kestrel {

namespace {

using Switch = clsSettings::Switch;
using Value = clsSettings::Value;
using Values = std::array<Value, clsSettings::kSwitchCount>;

enum class Rule { One, Zero, OneZero, Any, Text, Number, Note, Maintenance, TrueFalse, Derived };

struct SwitchRule
{
    QStringView key; ///< the row's Field; empty for a switch no row sets by itself
    QStringView property;
    Rule rule;
    Value initial;
};

template <typename T, typename Initial> Value initialValue(Initial initial)
{
    if constexpr (std::is_same_v<T, QString>)
        return QString::fromUtf8(initial);
    else
        return T(initial);
}

// One entry per switch, in the order of Switch, so rules()[i] describes Switch(i).
const std::array<SwitchRule, clsSettings::kSwitchCount> &rules()
{
#define KESTREL_SWITCH_RULE(key, property, type, rule, initial)                                    \
    SwitchRule{QStringView(u"" key), QStringView(u"" #property), Rule::rule,                       \
               initialValue<type>(initial)},
    static const std::array<SwitchRule, clsSettings::kSwitchCount> table{
        {KESTREL_STATION_SWITCHES(KESTREL_SWITCH_RULE)}};
#undef KESTREL_SWITCH_RULE
    return table;
}

// Keys that set a hospital setting rather than a switch of their own, by the "1/0" rule: the
// hospital's value stands until the station says otherwise.
struct HospitalOverride
{
    QStringView key;
    bool HospitalSettings::*setting;
};
constexpr HospitalOverride kHospitalOverrides[] = {
    {u"ORAllowZeroOnHand", &HospitalSettings::AllowZeroOnHand},
};

// QHash compares exactly, so "orshowcf4" does not find "ORShowCF4" even though the database
// would call the two equal.
const QHash<QString, std::size_t> &switchByKey()
{
    static const QHash<QString, std::size_t> index = [] {
        QHash<QString, std::size_t> keys;
        const auto &table = rules();
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (!table[i].key.isEmpty())
                keys.insert(table[i].key.toString(), i);
        }
        return keys;
    }();
    return index;
}

// The "1/0" rule: "1" and "0" decide, anything else leaves the setting as it was.
std::optional<bool> oneOrZero(const QString &value)
{
    if (value == u"1")
        return true;
    if (value == u"0")
        return false;
    return std::nullopt;
}

// Applies one row to switch `i`; false when its value will not convert, which ends the load.
bool applyRule(Values &values, std::size_t i, Rule rule, const QString &value, const Row &row)
{
    Value &slot = values[i];
    switch (rule) {
    case Rule::One:
        if (value == u"1")
            slot = true;
        break;
    case Rule::Zero:
        if (value == u"0")
            slot = false;
        break;
    case Rule::OneZero:
        if (const auto b = oneOrZero(value))
            slot = *b;
        break;
    case Rule::Any:
        if (!value.isEmpty())
            slot = true;
        break;
    case Rule::Text:
        if (!value.isEmpty())
            slot = value;
        break;
    case Rule::Number:
        if (value.isEmpty())
            break;
        if (std::holds_alternative<qint16>(slot)) {
            const auto n = settingSmallInteger(value);
            if (!n)
                return false;
            slot = *n;
        } else {
            const auto d = settingNumber(value);
            if (!d)
                return false;
            slot = *d;
        }
        break;
    case Rule::Note:
        if (value == u"1")
            slot = row.text(u"Description");
        break;
    case Rule::Maintenance:
        // The message is the row's own, even an empty one: the hospital may want the
        // station closed without a word.
        if (value == u"1") {
            slot = true;
            values[std::size_t(Switch::ModuleMaintenanceMsg)] = row.text(u"Description");
        }
        break;
    case Rule::TrueFalse:
        slot = QString(value == u"1" ? QStringLiteral("True") : QStringLiteral("False"));
        break;
    case Rule::Derived:
        break;
    }
    return true;
}

} // namespace

clsSettings::clsSettings()
{
    resetToDefaults();
}

void clsSettings::resetToDefaults()
{
    const auto &table = rules();
    for (std::size_t i = 0; i < table.size(); ++i)
        m_values[i] = table[i].initial;
}

void clsSettings::LoadParameters(Database &db, HospitalSettings &hs)
{
    resetToDefaults();

    // The running number keeps the rows in the order they were entered, which decides
    // between two rows of the same key.
    auto rows = db.select(u"select * from STATION..tbNurseSetup order by SetupID");
    if (!rows)
        return; // the database layer has logged why; the defaults stand

    const auto &table = rules();
    const auto &byKey = switchByKey();
    for (const Row &row : *rows) {
        const QString field = row.text(u"Field");
        const QString value = row.text(u"value");

        if (const auto it = byKey.constFind(field); it != byKey.cend()) {
            const std::size_t i = it.value();
            if (!applyRule(m_values, i, table[i].rule, value, row)) {
                qCWarning(lcSettings) << "tbNurseSetup: the value" << value << "of" << field
                                      << "is not a number; the rows after it are not applied";
                return;
            }
            continue;
        }
        for (const HospitalOverride &o : kHospitalOverrides) {
            if (field == o.key) {
                if (const auto b = oneOrZero(value))
                    hs.*o.setting = *b;
            }
        }
    }
}

QVariant clsSettings::value(QStringView propertyName) const
{
    const auto &table = rules();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (table[i].property == propertyName)
            return std::visit([](const auto &v) { return QVariant::fromValue(v); }, m_values[i]);
    }
    return {};
}

QStringList clsSettings::propertyNames()
{
    QStringList names;
    names.reserve(qsizetype(kSwitchCount));
    for (const SwitchRule &r : rules())
        names.append(r.property.toString());
    return names;
}

} // namespace kestrel
