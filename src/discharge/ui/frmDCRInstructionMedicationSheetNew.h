// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

// The newer sheet is declared with the older one it extends.
#include "discharge/ui/frmDCRInstructionMedicationSheet.h"
