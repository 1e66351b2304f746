// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace kestrel {

class ReportService;
class Session;

/// One request whose results are verified and wait to be printed at the station.
struct VerifiedResult
{
    QString requestNum;
    QString idNum;
    QString hospNum;
    QString patient;
    QString exam;
    QString resultDate;
    bool tagged = false;
};

/// One tab of the verified results: where its list comes from and how its results print.
struct VerifiedKind
{
    QString caption;    ///< the tab ("Laboratory", "Xray", ...)
    QString department; ///< the department code the printed mark names ("LB", "XR", ...)
    int imagingType;    ///< 1 X-ray, 2 CT scan, 3 ultrasound; 0 the laboratory
    QString report;     ///< the report definition
    QString title;      ///< the viewer's title
    QString section;    ///< the section heading the imaging report prints
};

/// "Verified Results" (`frmAutoPrint`), one tab: the station's requests whose results are
/// verified and not printed yet, printed one by one through the report engine and marked
/// printed in the same transaction, so that two workstations printing at once never print or
/// mark one request twice.
class VerifiedResults : public QObject
{
    Q_OBJECT

public:
    /// Prints one request's results; false when it did not print (the user was told).
    using Printer = std::function<bool(const VerifiedKind &, const VerifiedResult &)>;

    /// The tabs in the window's order: laboratory, X-ray, CT scan, ultrasound.
    static const QList<VerifiedKind> &kinds();
    static QStringList columns();
    /// Prints through the report engine at once: the kind's report of the request.
    static Printer reportPrinter(ReportService *reports);

    VerifiedResults(Session &session, Printer printer, const VerifiedKind &kind,
                    QObject *parent = nullptr);

    const VerifiedKind &kind() const { return m_kind; }
    /// Reads the list. False when it cannot be read (the user was told).
    bool load();
    const QList<VerifiedResult> &results() const { return m_results; }
    void setTagged(int row, bool tagged);

    /// "Print &All": every request of the list, top to bottom. Answers how many were printed
    /// here; requests another workstation printed meanwhile are passed over. The list is read
    /// again afterwards.
    int printAll();
    /// "&Print Tagged": only the tagged requests.
    int printTagged();

    /// The progress caption while `result` prints.
    static QString printingText(const VerifiedResult &result);

Q_SIGNALS:
    void progress(int done, int total, const QString &caption);
    void listChanged();

private:
    int print(bool taggedOnly);
    /// Marks and prints one request in one transaction: 1 printed, 0 printed elsewhere
    /// already, -1 failed (the user was told).
    int printOne(const VerifiedResult &result);

    Session &m_session;
    Printer m_print;
    VerifiedKind m_kind;
    QList<VerifiedResult> m_results;
};

} // namespace kestrel
