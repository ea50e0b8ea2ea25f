// The main window.
#pragma once

#include <QWidget>

class TForm1 : public QWidget {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);

    static constexpr int ClientWidth = 557;
    static constexpr int ClientHeight = 223;
};
