// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcReports)
