// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;

namespace kestrel {

/// "Height and Weight Entry": the stay's height (cm) and weight (kg). The window that opens it
/// saves (checks, log of the old and new values, message); the entry closes when it saved.
class frmHtWt : public QDialog
{
    Q_OBJECT

public:
    using Save = std::function<bool(const QString &height, const QString &weight)>;

    frmHtWt(const QString &height, const QString &weight, Save save, QWidget *parent = nullptr);

private:
    QLineEdit *m_height;
    QLineEdit *m_weight;
    Save m_save;
};

} // namespace kestrel
