// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/EntryGridRules.h"
#include "charging/requests/RequestEntry.h"
#include "charging/requests/TranscriptionStore.h"
#include "core/Notifier.h"
#include "core/WindowRequest.h"

#include <QAbstractTableModel>
#include <QObject>

#include <functional>

namespace kestrel {

/// The patient panel of the transcription window.
struct TranscriptionHeader
{
    QString patient, idNum, hospNum, room, admitted, diagnosis, admittingDoctor, attendingDoctor,
        status, age, sex, account;
};

/// The transcription grid `mshflexEntry`: one row per line and an empty row below them for
/// the next medicine. Model row r is grid row r + 1; the last column (the dosage's frequency)
/// is kept hidden by the window.
class TranscriptionGrid : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Number, Code, Description, Dosage, Quantity, Amount, Remarks, Frequency };
    static constexpr int kColumns = Frequency + 1;

    explicit TranscriptionGrid(const QList<RequestLine> &lines, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    void reload();
    void lineChanged(int row);

private:
    const QList<RequestLine> &m_lines;
};

/// The rules of `frmTranscription` "PHARMACY TRANSCRIPTION NOTES": a nurse transcribes the
/// doctor's medication orders of the selected stay into pharmacy request lines (medicine,
/// dosage, quantity, remarks), saved together under one assessment number.
class Transcription : public QObject, public EntryGridRules
{
    Q_OBJECT

public:
    using WindowOpener = std::function<void(const QString &formName, const WindowRequest &)>;

    Transcription(Session &session, RequestEntry::Components components, QObject *parent = nullptr);

    void setWindowOpener(WindowOpener opener) { m_openWindow = std::move(opener); }

    /// Opens the window for the selected stay: its panel and the doctors' orders are read and
    /// the grid is emptied. False without a selected stay or when the stay cannot be read.
    bool open();

    const TranscriptionHeader &header() const { return m_header; }
    const QString &orders() const { return m_orders; }
    /// The assessment number of the last save; empty before one.
    const QString &assessment() const { return m_assessment; }
    const QList<RequestLine> &lines() const { return m_lines; }
    TranscriptionGrid &grid() { return m_grid; }

    // The entry grid's rules.
    int filledRows() const override { return int(m_lines.size()); }
    bool mayEdit(GridCell cell) const override;
    CellAnswer acceptCell(GridCell cell, const QString &text) override;
    QString prompt(int column) const override;
    int maxLength(int column) const override;

    // What the user does.
    /// "&Save": every line checked, then saved in one transaction. True when saved.
    bool save();
    /// "&Delete": removes line `row` after asking.
    void deleteLine(int row);
    /// "List of Pending Transcription Notes": the stay's status window.
    void listTranscriptions();
    /// "&Close".
    void close() { Q_EMIT closeRequested(); }

Q_SIGNALS:
    void changed();
    void closeRequested();

private:
    CellAnswer acceptItem(int row, const QString &text);
    CellAnswer acceptDosage(RequestLine &line, const QString &text);
    CellAnswer acceptQuantity(RequestLine &line, const QString &text);
    bool mayBeSaved();
    void tell(const QString &text, Notifier::Icon icon = Notifier::Icon::Information);

    Session &m_session;
    RequestEntry::Components m_components;
    TranscriptionStore m_store;
    WindowOpener m_openWindow;
    TranscriptionHeader m_header;
    QString m_orders;
    QString m_assessment;
    QList<RequestLine> m_lines;
    TranscriptionGrid m_grid{m_lines};
};

} // namespace kestrel
