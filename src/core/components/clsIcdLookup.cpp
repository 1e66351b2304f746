// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsIcdLookup.h"

#include "core/components/CodePickList.h"
#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

clsIcdLookup::clsIcdLookup(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsIcdLookup::ValidateICDCode(const QString &code)
{
    m_icd = {};
    Database *db = database();
    if (!db) {
        qCWarning(lcComponents) << "ICD-10 code validated before a connection";
        return false;
    }
    const QString typed = code.trimmed();
    auto rows = db->call(u"BUILD_FILE..sp_Search_ICD10", {typed});
    if (rows && rows->isEmpty() && !typed.isEmpty())
        rows = db->call(u"BUILD_FILE..sp_Search_ICD10", {QString()});
    if (!rows) {
        notifier().errorBox(rows.error());
        return false;
    }
    for (const Row &r : *rows) {
        if (!typed.isEmpty() && r.trimmed(u"ICDCode").compare(typed, Qt::CaseInsensitive) == 0) {
            m_icd = {r.trimmed(u"ICDCode"), r.trimmed(u"Description")};
            return true;
        }
    }
    CodeListing listing;
    listing.title = QStringLiteral("ICD-10 Codes");
    listing.typedText = typed;
    listing.headers = {QStringLiteral("ICD-10 Code"), QStringLiteral("Description")};
    for (const Row &r : *rows)
        listing.rows << QStringList{r.trimmed(u"ICDCode"), r.trimmed(u"Description")};
    const int picked = pickRow(listing);
    if (picked < 0)
        return false;
    m_icd = {listing.rows.at(picked).at(0), listing.rows.at(picked).at(1)};
    return true;
}

} // namespace kestrel
