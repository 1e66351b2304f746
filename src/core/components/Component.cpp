// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/Component.h"

#include "core/components/clsChargeSlipList.h"
#include "core/components/clsCodeLookup.h"
#include "core/components/clsDrugPicker.h"
#include "core/components/clsHistopathRequest.h"
#include "core/components/clsIcdLookup.h"
#include "core/components/clsIssuedMedicines.h"
#include "core/components/clsKeyFilter.h"
#include "core/components/clsLoginUser.h"
#include "core/components/clsOpenConnection.h"
#include "core/components/clsPatientFinder.h"
#include "core/components/clsPatientInfo.h"
#include "core/components/clsRvsLookup.h"
#include "core/components/clsStatement.h"
#include "core/components/CodePickList.h"
#include "core/components/DrugLists.h"
#include "core/components/ListingView.h"
#include "core/components/NursingViewers.h"
#include "core/Notifier.h"

#include <array>

Q_LOGGING_CATEGORY(lcComponents, "kestrel.components")

namespace kestrel {

namespace {

using Maker = std::unique_ptr<Component> (*)(const ComponentContext &);

struct Registration
{
    QStringView progId;
    Maker make;
};

template <typename T> std::unique_ptr<Component> make(const ComponentContext &ctx)
{
    return std::make_unique<T>(ctx);
}

template <typename T> constexpr Registration registration()
{
    return Registration{T::kProgId, &make<T>};
}

// Every companion component this installation carries, under the name it is registered by.
const std::array kRegistry{
    registration<clsLoginUser>(),        registration<clsPatientFinder>(),
    registration<clsKeyFilter>(),        registration<clsCodeLookup>(),
    registration<clsDrugPicker>(),       registration<clsDrugList>(),
    registration<clsGenericList>(),      registration<clsIcdLookup>(),
    registration<clsRvsLookup>(),        registration<clsRequestViewer>(),
    registration<clsResultViewer>(),     registration<clsStayResultViewer>(),
    registration<clsStayViewer>(),       registration<clsChargeSlipList>(),
    registration<clsIssuedMedicines>(),  registration<clsPatientInfo>(),
    registration<clsHistopathRequest>(), registration<clsOpenConnection>(),
    registration<clsStatement>(),
};

} // namespace

Component::Component(QString progId, const ComponentContext &context, QObject *parent)
    : QObject(parent)
    , m_progId(std::move(progId))
    , m_context(context)
{
    setObjectName(m_progId);
}

Component::~Component() = default;

void Component::tellNotAvailable(const QString &what) const
{
    kestrel::tellNotAvailable(m_context.notifier, what);
}

Database *Component::database() const
{
    if (m_db)
        return m_db;
    return m_context.sharedConnection ? m_context.sharedConnection() : nullptr;
}

int Component::pickRow(const CodeListing &listing) const
{
    if (!m_context.codePickList) {
        qCWarning(lcComponents) << "no pick-list window for" << listing.title;
        return -1;
    }
    const std::optional<int> picked = m_context.codePickList->pick(listing);
    if (!picked || *picked < 0 || *picked >= listing.rows.size())
        return -1;
    return *picked;
}

void Component::showListing(const CodeListing &listing) const
{
    if (!m_context.listingView) {
        qCWarning(lcComponents) << "no window to show" << listing.title;
        return;
    }
    m_context.listingView->show(listing);
}

bool Component::takeConnection(Database *connection)
{
    m_db = connection;
    return m_db != nullptr;
}

bool Component::takeConnection(const QString &connectionString)
{
    m_connectionString = connectionString.trimmed();
    return !m_connectionString.isEmpty();
}

std::unique_ptr<Component> CreateComponent(const QString &progId, ComponentContext &ctx)
{
    const QString name = progId.trimmed();
    if (ctx.missingComponents.contains(name, Qt::CaseInsensitive)) {
        qCInfo(lcComponents) << "component not installed:" << name;
        return nullptr;
    }
    for (const Registration &r : kRegistry) {
        if (r.progId.compare(name, Qt::CaseInsensitive) == 0)
            return r.make(ctx);
    }
    qCInfo(lcComponents) << "no such component:" << name;
    return nullptr;
}

QStringList componentProgIds()
{
    QStringList names;
    for (const Registration &r : kRegistry)
        names << r.progId.toString();
    return names;
}

QString notAvailableText(const QString &what)
{
    return what + QStringLiteral(" is not available yet.");
}

void tellNotAvailable(Notifier &notifier, const QString &what)
{
    notifier.message(notAvailableText(what), QStringLiteral("Notification"),
                     Notifier::Icon::Information);
}

} // namespace kestrel
