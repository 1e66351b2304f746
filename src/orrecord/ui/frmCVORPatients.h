// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/WindowRequest.h"
#include "orrecord/CVOR.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace kestrel {

/// "CVOR Patients": the list of CVOR cases with its search, "&Edit" for the case's team and
/// the census and case forms to print.
class frmCVORPatients : public QWidget
{
    Q_OBJECT

public:
    using WindowOpener = std::function<void(const QString &formName, const WindowRequest &)>;

    explicit frmCVORPatients(Session &session, QWidget *parent = nullptr);

    CVORPatients &presenter() { return m_presenter; }
    void setWindowOpener(WindowOpener opener) { m_openWindow = std::move(opener); }
    /// Runs the search with the typed key and the chosen type.
    void search();
    /// "&Edit": the team of the selected case.
    void editSelected();

private:
    void showCases();

    CVORPatients m_presenter;
    WindowOpener m_openWindow;
    QLineEdit *m_key = nullptr;
    QComboBox *m_type = nullptr;
    QComboBox *m_form = nullptr;
    QTableWidget *m_grid = nullptr;
};

/// "Update CVOR Info": the team of one CVOR case.
class frmUpdateCVOR : public QWidget
{
    Q_OBJECT

public:
    explicit frmUpdateCVOR(Session &session, QWidget *parent = nullptr);

    CVORTeam &presenter() { return m_presenter; }
    bool load(const QString &idNum, const QString &refNum);
    /// The doctor search of `column` with the typed text, as Enter runs it.
    void pickDoctor(const QString &column);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showTeam();

    CVORTeam m_presenter;
    QHash<QString, QLineEdit *> m_codes;
    QHash<QString, QLabel *> m_names;
    QHash<QString, QComboBox *> m_staff;
    QHash<QString, QLabel *> m_info;
    bool m_showing = false;
};

} // namespace kestrel
