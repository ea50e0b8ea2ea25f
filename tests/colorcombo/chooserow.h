// Choosing a row of a colour combo box as the user does: open the list,
// click the row, wait for the list to close.
#pragma once

#include "widgets/colorcombo/colorcombobox.h"

#include <QAbstractItemView>
#include <QtTest>

inline bool ChooseRow(TColorComboBox* combo, int row)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    if (!QTest::qWaitFor([&] { return view->isVisible(); }))
        return false;
    const QModelIndex index = view->model()->index(row, 0);
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    return QTest::qWaitFor([&] { return !view->isVisible(); });
}
