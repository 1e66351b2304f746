// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// The histopathology request window of the hospitals that send specimens from the OR.
class clsHistopathRequest : public Component
{
    Q_OBJECT
    Q_PROPERTY(QString IdNum MEMBER IdNum)
    Q_PROPERTY(QString HospNum MEMBER HospNum)
    Q_PROPERTY(QString StationID MEMBER StationID)

public:
    static constexpr QStringView kProgId = u"KsHistopath.clsHistopathRequest";

    explicit clsHistopathRequest(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Offers the laboratory's histopathology examinations for the stay IdNum and sends the
    /// one picked as a request; true when a request was sent (its number is then in
    /// RequestNum).
    Q_INVOKABLE bool showform();

    QString RequestNum() const { return m_requestNum; }

    // The stay the request is for and the station that sends it.
    QString IdNum;
    QString HospNum;
    QString StationID;

private:
    QString m_requestNum;
};

} // namespace kestrel
