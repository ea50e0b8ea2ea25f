#include "widgets/listview/listviewclasses.h"

#include "widgets/listview/ordolistview.h"

void RegisterListViewClasses()
{
    {
        TClassBuilder<TListView> b(QStringLiteral("TListView"));
        AddListViewProperties(b).Register();
    }
    {
        TClassBuilder<TOrdoListView> b(QStringLiteral("TOrdoListView"));
        AddListViewProperties(b)
            .Bool(
                QStringLiteral("ShowSortSign"), [](TOrdoListView* o) { return o->ShowSortSign(); },
                [](TOrdoListView* o, bool v) { o->SetShowSortSign(v); })
            .Int(
                QStringLiteral("SortColumn"), [](TOrdoListView* o) { return o->SortColumn(); },
                [](TOrdoListView* o, int v) { o->SetSortColumn(v); })
            .NoDefault()
            .Enum<TSortDirection>(
                QStringLiteral("SortDirection"),
                [](TOrdoListView* o) { return o->SortDirection(); },
                [](TOrdoListView* o, TSortDirection d) { o->SetSortDirection(d); })
            .NoDefault()
            .Register();
    }
}
