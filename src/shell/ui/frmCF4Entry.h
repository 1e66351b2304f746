// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/CF4Entry.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace kestrel {

/// The CF4 entry window: the stay's heading (`lblPatient`), a box for each part of the
/// clinical summary (`txtChiefComplaint`, `txtPresentIllness`, `txtPhysicalExam`,
/// `txtCourseInWard`, `txtDrugs`) and the outcome (`cboOutcome`), what is still missing
/// (`lblMissing`), and `cmdSave`, `cmdPrint` (where the hospital lets the nurses print the
/// CF4) and `cmdClose`.
class frmCF4Entry : public QDialog
{
    Q_OBJECT

public:
    explicit frmCF4Entry(CF4Entry &entry, QWidget *parent = nullptr);

    CF4Entry &presenter() { return m_entry; }

protected:
    void reject() override;

private:
    void buildUi();
    void refresh();
    void print();

    CF4Entry &m_entry;
    QLabel *m_heading = nullptr;
    std::array<QPlainTextEdit *, CF4Entry::Outcome> m_boxes{};
    QComboBox *m_outcome = nullptr;
    QLabel *m_missing = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_close = nullptr;
};

/// The CF4 entry window of the running program, modal over the active window.
class WidgetCF4EntryWindow : public CF4EntryWindow
{
public:
    void show(CF4Entry &entry) override;
};

} // namespace kestrel
