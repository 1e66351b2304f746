// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/requests/Transcription.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kestrel {

class EntryGrid;

/// "PHARMACY TRANSCRIPTION NOTES": the patient panel, the doctor's orders `txtOrders`, the
/// entry grid `mshflexEntry` with its editor `txtEntry` and prompt `lblMessage`, the buttons
/// `cmdMedOption` ("&Save", "&Close", "&Delete") and `cmdListTranscription`. Every rule is the
/// presenter's (Transcription).
class frmTranscription : public QWidget
{
    Q_OBJECT

public:
    frmTranscription(Session &session, RequestEntry::Components components,
                     QWidget *parent = nullptr);
    ~frmTranscription() override;

    Transcription &presenter() { return m_presenter; }
    EntryGrid &entryGrid() { return *m_grid; }

private:
    void buildUi();
    void refresh();
    void closeWindow();

    Transcription m_presenter;
    EntryGrid *m_grid = nullptr;
    QPlainTextEdit *m_orders = nullptr;
    QList<std::pair<QLineEdit *, QString TranscriptionHeader::*>> m_fields;
    QLineEdit *m_assessment = nullptr;
};

} // namespace kestrel
