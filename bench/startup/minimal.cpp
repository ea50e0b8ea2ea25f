// The yardstick for the start-up benchmark: a plain Qt Widgets window of the
// same size holding about what the real window holds, built directly in code.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTextEdit>
#include <QTreeWidget>
#include <QWidget>

namespace {

QWidget* colourPage()
{
    auto* page = new QWidget;
    for (int i = 0; i < 3; ++i) {
        auto* number = new QLabel(QStringLiteral("255"), page);
        number->setGeometry(0, 12 + i * 46, 30, 19);
        auto* slider = new QSlider(Qt::Horizontal, page);
        slider->setRange(0, 255);
        slider->setValue(255);
        slider->setGeometry(32, 12 + i * 46, 396, 32);
    }
    return page;
}

QWidget* listPage()
{
    auto* list = new QTreeWidget;
    list->setColumnCount(5);
    list->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Hex"), QStringLiteral("Red"),
                           QStringLiteral("Green"), QStringLiteral("Blue")});
    list->setRootIsDecorated(false);
    QList<QTreeWidgetItem*> rows;
    for (int i = 0; i < 139; ++i) {
        const int r = (i * 37) % 256, g = (i * 91) % 256, b = (i * 53) % 256;
        rows.append(new QTreeWidgetItem({QStringLiteral("colour%1").arg(i), QColor(r, g, b).name(), QString::number(r),
                                         QString::number(g), QString::number(b)}));
    }
    list->addTopLevelItems(rows);
    list->setSortingEnabled(true);
    return list;
}

QWidget* aboutPage()
{
    auto* page = new QWidget;
    auto* text = new QLabel(QStringLiteral("A small colour utility.\nVersion 1.0"), page);
    text->setGeometry(8, 8, 420, 60);
    return page;
}

QComboBox* colourCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    const char* basic[] = {"black",  "maroon", "green", "olive",  "navy", "purple",  "teal", "gray",
                           "silver", "red",    "lime",  "yellow", "blue", "fuchsia", "aqua", "white"};
    for (const char* name : basic) {
        QPixmap swatch(16, 12);
        swatch.fill(QColor(QLatin1String(name)));
        combo->addItem(QIcon(swatch), QLatin1String(name));
    }
    return combo;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Startup minimal"));
    window.setFixedSize(557, 223);

    auto* tabs = new QTabWidget(&window);
    tabs->setGeometry(0, 46, 445, 177);
    tabs->addTab(colourPage(), QStringLiteral("Palette"));
    tabs->addTab(listPage(), QStringLiteral("Constants"));
    tabs->addTab(aboutPage(), QStringLiteral("About"));

    (new QRadioButton(QStringLiteral("Text"), &window))->setGeometry(8, 4, 80, 17);
    auto* background = new QRadioButton(QStringLiteral("Background"), &window);
    background->setGeometry(8, 24, 100, 17);
    background->setChecked(true);
    colourCombo(&window)->setGeometry(120, 8, 145, 22);

    auto* formats = new QGroupBox(QStringLiteral("Format"), &window);
    formats->setGeometry(450, 46, 105, 130);
    const char* names[] = {"Delphi", "Visual C++", "Visual Basic", "HTML", "HTML body"};
    for (int i = 0; i < 5; ++i)
        (new QRadioButton(QLatin1String(names[i]), formats))->setGeometry(8, 18 + i * 21, 95, 17);

    auto* preview = new QTextEdit(QStringLiteral("$00FFFFFF"), &window);
    preview->setGeometry(280, 4, 270, 38);
    (new QPushButton(QStringLiteral("Copy colour"), &window))->setGeometry(450, 190, 105, 25);

    window.show();
    return app.exec();
}
