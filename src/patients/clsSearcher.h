// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

class SearcherPickList;
class Session;

/// Turns a code or the first letters of a name that the user typed into one row of a small
/// master file: its code and description. A text that finds exactly one row answers at once;
/// one that finds several opens the code search list (through `pickList`) with the text
/// typed so far; one that finds none tells the user so.
///
/// Each search answers true when a row was resolved; `Code` and `Description` then hold it.
/// Otherwise both keep what they held.
class clsSearcher
{
public:
    clsSearcher(Session &session, SearcherPickList &pickList);

    /// Admission types, by code or the beginning of the name.
    bool SearchAdmissionType(const QString &Code);
    /// Seafarers' vessels, by the beginning of the vessel's name.
    bool SearchVessel(const QString &Code);
    /// Other hospitals (referrals), by the beginning of the hospital's name.
    bool SearchHospital(const QString &strKey);
    /// National health insurance membership categories in use, by their exact code; the
    /// list, opened only when a code is shared, searches the descriptions.
    bool SearchMembership(const QString &strKey);

    QString Code() const { return m_code; }
    QString Description() const { return m_description; }

private:
    /// One master file's search: its statements ("##" where the typed text goes), the columns
    /// read from the first statement's single row, and what the user is told.
    struct Lookup
    {
        QString statement;
        QString codeColumn;
        QString descriptionColumn;
        QString caption;
        QString pickListQuery;
        QString notFound;
    };

    bool lookup(const Lookup &how, const QString &typed);

    Session &m_session;
    SearcherPickList &m_pickList;
    QString m_code;
    QString m_description;
};

} // namespace kestrel
