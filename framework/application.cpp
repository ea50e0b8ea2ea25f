#include "framework/application.h"

#include "framework/palette.h"

#include <QFont>
#include <QMessageBox>
#include <QStyleFactory>

namespace {

TApplication::MessageHandler& messageHandler()
{
    static TApplication::MessageHandler handler;
    return handler;
}

std::map<int, QCursor>& cursorTable()
{
    static std::map<int, QCursor> table;
    return table;
}

}  // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // A fixed style and palette: the program looks the same on every desktop
    // and its own drawing matches the native controls.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        setStyle(style);
    setPalette(ClassicPalette());
    InstallFontSubstitutions();
    // Controls start in the usual dialog font, the one windows are laid out
    // in, so a new control does not first load a font it will not keep.
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
}

TApplication::~TApplication() { cursorTable().clear(); }

TApplication* TApplication::Instance() { return qobject_cast<TApplication*>(QCoreApplication::instance()); }

void TApplication::HandleException(const QString& message)
{
    if (messageHandler()) {
        messageHandler()(message);
        return;
    }
    QWidget* parent = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message, QMessageBox::Ok, parent);
    box.exec();
}

TApplication::MessageHandler TApplication::SetMessageHandler(MessageHandler handler)
{
    MessageHandler previous = std::move(messageHandler());
    messageHandler() = std::move(handler);
    return previous;
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    Guard([&] { result = QApplication::notify(receiver, event); });
    return result;
}

void Screen::SetCursor(int id, const QCursor& cursor) { cursorTable()[id] = cursor; }

QCursor Screen::Cursor(int id)
{
    switch (id) {
    case crArrow:
        return Qt::ArrowCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    default:
        break;
    }
    const auto it = cursorTable().find(id);
    return it != cursorTable().end() ? it->second : QCursor(Qt::ArrowCursor);
}

bool Screen::HasCursor(int id) { return cursorTable().count(id) != 0; }

void InstallFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman Cyr"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}
