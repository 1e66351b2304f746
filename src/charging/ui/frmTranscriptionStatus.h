// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/requests/TranscriptionStatus.h"

#include <QWidget>

class QTableWidget;

namespace kestrel {

/// "Transcription Status": the grid `MSHFlexAssess` of the stay's transcribed lines, the note,
/// and the buttons `cmdOption` ("&Close", "&Revoke"). Every rule is the presenter's
/// (TranscriptionStatus).
class frmTranscriptionStatus : public QWidget
{
    Q_OBJECT

public:
    explicit frmTranscriptionStatus(Session &session, QWidget *parent = nullptr);

    TranscriptionStatus &presenter() { return m_presenter; }
    QTableWidget &grid() { return *m_grid; }

private:
    void refresh();
    void revokeCurrent();
    void closeWindow();

    TranscriptionStatus m_presenter;
    QTableWidget *m_grid = nullptr;
};

} // namespace kestrel
