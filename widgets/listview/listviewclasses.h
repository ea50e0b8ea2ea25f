// Stored window layouts can hold the framework list (TListView) and the
// sortable list (TOrdoListView).
#pragma once

void RegisterListViewClasses();
