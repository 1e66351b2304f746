// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QtGlobal>

namespace kestrel::bench {

/// The process's memory as Linux counts it, in kilobytes; -1 where it cannot be read.
struct MemoryUse
{
    qint64 residentKb = -1; ///< VmRSS: resident now
    qint64 peakKb = -1;     ///< VmHWM: the high-water mark of the resident set

    static MemoryUse now();
    /// Sets the high-water mark back to what is resident now, so the next reading is the
    /// peak of what follows. False when the kernel would not.
    static bool resetPeak();
};

} // namespace kestrel::bench
