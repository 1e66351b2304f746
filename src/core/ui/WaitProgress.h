// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/WriteOnce.h"

#include <QPointer>

#include <memory>

class QProgressDialog;
class QWidget;

namespace kestrel {

/// Shows a write that waits for another workstation: after half a second a progress window
/// "Waiting for the records held by another workstation…" with Cancel; the windows keep
/// answering while the write pauses between its tries.
class WaitProgress : public WaitObserver
{
public:
    explicit WaitProgress(QWidget *parent = nullptr);
    ~WaitProgress() override;

    bool waiting(std::chrono::milliseconds waited, std::chrono::milliseconds budget) override;
    bool nap(std::chrono::milliseconds pause) override;
    void finished() override;

private:
    QPointer<QWidget> m_parent;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace kestrel
