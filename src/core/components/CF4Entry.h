// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>

namespace kestrel {

class Database;
class Notifier;

/// What the CF4 entry is opened with, under the names the hospital's windows set.
struct CF4EntryValues
{
    QString IdNum;
    QString StationID;
    QString Title;
    bool ShowPrint = false;
    QString HospitalName;
    QString HospitalAddress;
    QString ReportPath;
    QString EmployeeCode;
};

/// The CF4 of one stay: the clinical summary the insurer's claim form asks for — the chief
/// complaint, the history of the present illness, the physical examination on admission, the
/// course in the ward, the drugs and medicines given and the outcome — kept in
/// STATION..tbCF4Entry, one row per stay. A stay without one starts from what the admission
/// recorded (complaint, history, examination) and the medicines charged to it.
class CF4Entry : public QObject
{
    Q_OBJECT

public:
    enum Section {
        ChiefComplaint,
        PresentIllness,
        PhysicalExam,
        CourseInWard,
        Drugs,
        Outcome,
        SectionCount
    };

    /// The caption of a section, as the window and the missing list name it.
    static QString caption(Section section);
    /// The outcomes a stay may have.
    static QStringList outcomes();
    /// The sections still empty in the saved CF4 of stay `idNum` (all of them when it has
    /// none).
    static Result<QStringList> missingOf(Database &db, const QString &idNum);

    CF4Entry(Database &db, Notifier &notifier, CF4EntryValues values, QObject *parent = nullptr);

    const CF4EntryValues &values() const { return m_values; }
    /// Where the entry's window tells the user things.
    Notifier &notifier() const { return m_notifier; }

    /// Reads the stay and its CF4; false when the stay is not found or cannot be read (the
    /// user was told).
    bool load();
    /// The patient, his hospital number, the admission date and the room, for the heading.
    QString heading() const { return m_heading; }
    /// Whether a CF4 of this stay was saved before.
    bool saved() const { return m_saved; }

    QString text(Section section) const { return m_texts.at(section); }
    void setText(Section section, const QString &text);
    /// The captions of the sections still empty.
    QStringList missing() const;
    /// The line the window shows under the form: what is still missing, or that nothing is.
    QString missingText() const;
    bool isModified() const { return m_modified; }

    /// Saves the CF4 in one transaction, as the last save of any workstation; true when saved
    /// (the user is told), false when the database refused (the shared error box).
    bool save();

Q_SIGNALS:
    void changed();

private:
    bool prefill(const QString &outpatientVisit);

    Database &m_db;
    Notifier &m_notifier;
    CF4EntryValues m_values;
    QString m_hospNum;
    QString m_heading;
    bool m_saved = false;
    bool m_modified = false;
    std::array<QString, SectionCount> m_texts;
};

/// The window that shows a CF4 entry until the user closes it; the program answers with its
/// entry window, tests with a double.
class CF4EntryWindow
{
public:
    virtual ~CF4EntryWindow() = default;

    virtual void show(CF4Entry &entry) = 0;
};

} // namespace kestrel
