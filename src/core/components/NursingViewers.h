// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

#include <QVariantList>

namespace kestrel {

/// What the four nursing viewers of a patient's requests and results have in common. Each
/// list is a list of rows (field name to value), read through the logged-in user's connection.
class NursingViewer : public Component
{
    Q_OBJECT

public:
    /// The stay's requests of `type` ("4": vital signs taken; any other: the requests its
    /// station sent to the departments).
    Q_INVOKABLE QVariantList GetRequests(const QString &type, const QString &IdNum) const;
    /// The stay's released examination results.
    Q_INVOKABLE QVariantList GetResults(const QString &IdNum) const;
    /// The released results of every confinement of the patient `HospNum`.
    Q_INVOKABLE QVariantList GetConfinementResults(const QString &HospNum) const;
    /// Told before the viewer is let go when the program ends; it lists nothing after.
    Q_INVOKABLE void Class_Terminate();

    bool terminated() const { return m_terminated; }

protected:
    NursingViewer(QString progId, const ComponentContext &ctx, QObject *parent);

private:
    QVariantList rows(QStringView procedure, const QVariantList &args) const;

    bool m_terminated = false;
};

/// Viewer of the patient's requests.
class clsRequestViewer : public NursingViewer
{
    Q_OBJECT

public:
    static constexpr QStringView kProgId = u"KsNursing.clsRequestViewer";
    explicit clsRequestViewer(const ComponentContext &ctx, QObject *parent = nullptr);
};

/// Viewer of the patient's results.
class clsResultViewer : public NursingViewer
{
    Q_OBJECT

public:
    static constexpr QStringView kProgId = u"KsNursing.clsResultViewer";
    explicit clsResultViewer(const ComponentContext &ctx, QObject *parent = nullptr);
};

/// Viewer of the results of one stay.
class clsStayResultViewer : public NursingViewer
{
    Q_OBJECT

public:
    static constexpr QStringView kProgId = u"KsNursing.clsStayResultViewer";
    explicit clsStayResultViewer(const ComponentContext &ctx, QObject *parent = nullptr);
};

/// Viewer of the patient's stays.
class clsStayViewer : public NursingViewer
{
    Q_OBJECT

public:
    static constexpr QStringView kProgId = u"KsNursing.clsStayViewer";
    explicit clsStayViewer(const ComponentContext &ctx, QObject *parent = nullptr);
};

} // namespace kestrel
