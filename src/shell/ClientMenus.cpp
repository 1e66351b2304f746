// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ClientMenus.h"

#include "core/settings/clsSettings.h"
#include "core/settings/HospitalSettings.h"

#include <initializer_list>

namespace kestrel {

namespace {

void show(QHash<QString, bool> &menus, std::initializer_list<const char *> names)
{
    for (const char *name : names)
        menus.insert(QString::fromLatin1(name), true);
}

} // namespace

QHash<QString, bool> StartupMenuVisibility(const HospitalSettings &hospital,
                                           const clsSettings &settings)
{
    QHash<QString, bool> menus;
    const QString &client = hospital.clientname;

    // The client hospitals' own menus.
    if (client == u"QELM")
        show(menus, {"mnuORMandatory"});
    // Only one hospital keeps the census split by HMO and all patients; everybody else has the
    // one monthly census.
    if (client == u"DOXAT") {
        menus.insert(QStringLiteral("mnuORCensus"), true);
        menus.insert(QStringLiteral("mnuCensusOrig"), false);
    } else {
        menus.insert(QStringLiteral("mnuORCensus"), false);
    }
    if (client == u"JUF")
        show(menus, {"mnuORCases", "mnuTopCases", "mnuNSD", "mnuYearlyIncome", "mnuTimeNMotion"});
    if (client == u"TWY")
        show(menus, {"mnuMonthly", "mnuStat"});
    if (client == u"ZANIP")
        show(menus, {"mnuWHOSurgicalSafety", "mnuCountingSheet", "mnuOperativeTechnique",
                     "mnuLabChemistry", "mnuLabHematology", "mnuLabMicrobiology",
                     "mnuLabMicroscopic", "mnuLabImmunoSerology"});

    // Reports and settings windows that a station switch turns on. The two income reports
    // come either in the new format or in the plain one, never both.
    menus.insert(QStringLiteral("mnuEquipment"), settings.ShowEquipmentChargesReport());
    menus.insert(QStringLiteral("mnuReprintLab"), settings.ShowReprintLab());
    const bool newIncomeFormat = settings.ShowNewFormatIncomeReport();
    menus.insert(QStringLiteral("mnuDetailedGUVO"), newIncomeFormat);
    menus.insert(QStringLiteral("mnuSummaryGUVO"), newIncomeFormat);
    menus.insert(QStringLiteral("mnuDetailed"), !newIncomeFormat);
    menus.insert(QStringLiteral("mnuSummary"), !newIncomeFormat);
    menus.insert(QStringLiteral("mnuMarkUp"), settings.UseNewORMarkUp());

    // The nursing forms and consents, for the hospital that fills them in at the OR.
    if (client == u"VZ")
        show(menus, {"mnuSurgicalTreatment", "mnuConsentTreatment", "mnuSterilizationConsent",
                     "mnuSpecialTreatment", "mnuPreOp", "mnuFluid", "mnuHourlyMonitoring",
                     "mnuPreAnesFirst", "mnuSSC", "mnuLRForm"});
    if (client == u"QELM")
        show(menus, {"mnuAMPickUp"});
    if (client == u"LOBRA")
        show(menus, {"mnuPriceList"});

    menus.insert(QStringLiteral("mnuCVOR"), settings.EnableCVORTag());
    menus.insert(QStringLiteral("mnuCVORCensus"), settings.EnableCVORTag());
    menus.insert(QStringLiteral("mnuCSF"), settings.NursePrintCSF());
    menus.insert(QStringLiteral("mnuCSFTemplate"), settings.ShowCSFTemplate());
    menus.insert(QStringLiteral("mnuCF4"), settings.ShowCF4());
    menus.insert(QStringLiteral("mnuStocksMonitoring"), settings.ShowStocksMonitoring());
    return menus;
}

} // namespace kestrel
