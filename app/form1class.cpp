// The main window as a class a stored layout names.
#include "app/form1.h"

void TForm1::RegisterClass()
{
    TClassBuilder<TForm1> b(QStringLiteral("TForm1"));
    AddFormProperties(b);
    // The window reads its own layout; it is never created by a reader.
    b.Info().Create = nullptr;
    b.Register();
}
