// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "discharge/DischargeNotices.h"

#include <QDialog>

class QTreeWidget;

namespace kestrel {

/// The station's discharge notices. Select answers the notice chosen (IdNum, Valid true);
/// Close answers none.
class frmDischargeNotice : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(QString IdNum READ IdNum)
    Q_PROPERTY(bool Valid READ Valid)

public:
    explicit frmDischargeNotice(Session &session, QWidget *parent = nullptr);

    discharge::DischargeNoticeList &presenter() { return m_presenter; }
    bool load();
    QString IdNum() const { return m_presenter.IdNum(); }
    bool Valid() const { return m_presenter.Valid(); }

private:
    void selectCurrent();

    discharge::DischargeNoticeList m_presenter;
    QTreeWidget *m_list = nullptr;
};

} // namespace kestrel
