#include "widgets/listview/listviewclasses.h"

#include "widgets/listview/ordolistview.h"

void RegisterListViewClasses()
{
    {
        TClassBuilder<TListView> b(QStringLiteral("TListView"));
        AddListViewProperties(b).Register();
    }
    {
        using T = TOrdoListView;
        TClassBuilder<T> b(QStringLiteral("TOrdoListView"));
        AddListViewProperties(b)
            .Bool(QStringLiteral("ShowSortSign"), &T::ShowSortSign, &T::SetShowSortSign)
            .Int(QStringLiteral("SortColumn"), &T::SortColumn, &T::SetSortColumn)
            .NoDefault()
            .Enum<TSortDirection>(QStringLiteral("SortDirection"), &T::SortDirection, &T::SetSortDirection)
            .NoDefault()
            .Register();
    }
}
