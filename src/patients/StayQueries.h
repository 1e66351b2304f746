// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <optional>

namespace kestrel {

class Session;

/// What the patient and pricing routines share to ask the hospital database one question.
namespace stayqueries {

/// An IdNum ending in "B" (either case) is an outpatient or emergency visit.
bool isOutpatientIdNum(const QString &IdNum);

/// The first row of a query; a failure shows the shared error box and reads as no row, so
/// every caller falls back to its default answer.
std::optional<Row> firstRow(Session &session, QStringView sql, const Binds &binds);

/// The first row a procedure answers, with the same handling of failures.
std::optional<Row> firstRowOfCall(Session &session, QStringView procedure,
                                  const QVariantList &args);

/// The one bind of a statement about a stay: its IdNum as `:id`.
Binds idBind(const QString &IdNum);

/// The query answers a row; a failure is handled as firstRow() handles it.
bool hasRow(Session &session, QStringView sql, const Binds &binds);

} // namespace stayqueries

} // namespace kestrel
