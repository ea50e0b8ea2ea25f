#include "app/form1.h"

#include "framework/palette.h"

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Huebox v1.0"));
    setFixedSize(ClientWidth, ClientHeight);
    QPalette p = palette();
    p.setColor(QPalette::Window, ToQColor(clSilver));
    setPalette(p);
    setAutoFillBackground(true);
}
