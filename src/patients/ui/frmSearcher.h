// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kestrel {

class SearcherList;

/// The code search list: the caption in `lblTitle` (with its shadow `lblSTitle`), the
/// hospital in `lblHospital`, the search box `txtSearchStr` and the grid `grdDispWindow` in
/// the frame "Records List", with "SELECT" and "CANCEL".
///
/// Enter in the search box queries again with its text, Down goes to the grid; Enter or a
/// double click in the grid picks the highlighted row; Esc cancels; Enter on a button moves
/// on to the next control. A single quote cannot be typed anywhere and letters become
/// capitals.
class frmSearcher : public QDialog
{
    Q_OBJECT

public:
    /// Opens `list`: it is queried with its Criteria at once.
    explicit frmSearcher(SearcherList &list, QWidget *parent = nullptr);

public Q_SLOTS:
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void bind();
    /// Queries again with `typed` and shows the rows, the first one highlighted.
    void refresh(const QString &typed);
    void showRows();
    void select();
    /// The search box's Down arrow: the grid's first visible row, and the focus.
    void enterGrid();

    SearcherList &m_list;
    QLineEdit *m_search = nullptr;
    QTableWidget *m_grid = nullptr;
    QPushButton *m_select = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_filling = false;
};

} // namespace kestrel
