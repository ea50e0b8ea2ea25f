#include "framework/application.h"

#include "framework/palette.h"

#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QMessageBox>
#include <QStyleFactory>

#include <optional>
#include <utility>

namespace {

TApplication::ErrorReporter& errorReporter()
{
    static TApplication::ErrorReporter handler;
    return handler;
}

// A registered cursor, or what makes it on first use.
struct TCursorEntry {
    std::optional<QCursor> Cursor;
    std::function<QCursor()> Make;
};

std::map<int, TCursorEntry>& cursorTable()
{
    static std::map<int, TCursorEntry> table;
    return table;
}

} // namespace

TApplication::TApplication(int& argc, char** argv, TFonts fonts) : QApplication(argc, argv)
{
    // A fixed style and the classic palette, whatever the desktop's theme:
    // Qt's controls paint with the system colours our own drawing resolves
    // from the same classic table.
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion")))
        setStyle(style);
    setPalette(ClassicPalette());
    if (fonts == TFonts::Now)
        InstallFonts();
}

void TApplication::InstallFonts()
{
    InstallFontSubstitutions();
    // Controls start in the usual dialog font, the one windows are laid out
    // in, so a new control does not first load a font it will not keep.
    setFont(DialogFont());
}

TApplication::~TApplication()
{
    cursorTable().clear();
}

void TApplication::HandleException(const QString& message)
{
    if (errorReporter()) {
        errorReporter()(message);
        return;
    }
    QWidget* parent = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), message, QMessageBox::Ok, parent);
    box.exec();
}

TApplication::ErrorReporter TApplication::SetErrorReporter(ErrorReporter handler)
{
    ErrorReporter previous = std::move(errorReporter());
    errorReporter() = std::move(handler);
    return previous;
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    Guard([&] { result = QApplication::notify(receiver, event); });
    return result;
}

void Screen::SetCursor(int id, const QCursor& cursor)
{
    cursorTable()[id] = {cursor, nullptr};
}

void Screen::SetCursor(int id, std::function<QCursor()> make)
{
    cursorTable()[id] = {std::nullopt, std::move(make)};
}

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
    if (it == cursorTable().end())
        return Qt::ArrowCursor;
    TCursorEntry& entry = it->second;
    if (!entry.Cursor)
        entry.Cursor = entry.Make ? entry.Make() : QCursor(Qt::ArrowCursor);
    return *entry.Cursor;
}

bool Screen::HasCursor(int id)
{
    return cursorTable().count(id) != 0;
}

namespace {

const QString& dialogFamily()
{
    static const QString family = QStringLiteral("MS Sans Serif");
    return family;
}

// Layout family, case folded as Qt matches families -> the face it is drawn in.
QHash<QString, QString>& faceTable()
{
    static QHash<QString, QString> table;
    return table;
}

} // namespace

void InstallFontSubstitutions()
{
    static const std::pair<const char*, const char*> substitutes[] = {
        {"MS Sans Serif", "Liberation Sans"},        {"Arial", "Liberation Sans"},
        {"Times New Roman Cyr", "Liberation Serif"}, {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
    };
    for (const auto& [family, face] : substitutes)
        QFont::insertSubstitution(QLatin1String(family), QLatin1String(face));
    // Resolve them all now, from one listing of the installed families.
    const QStringList installed = QFontDatabase::families();
    const auto has = [&](const QString& f) { return installed.contains(f, Qt::CaseInsensitive); };
    for (const auto& [family, face] : substitutes) {
        const QString name = QLatin1String(family);
        faceTable().insert(name.toCaseFolded(), has(name) || !has(QLatin1String(face)) ? name : QLatin1String(face));
    }
}

QString FontFace(const QString& family)
{
    // A family without a substitute is given to Qt as it is.
    return faceTable().value(family.toCaseFolded(), family);
}

QString LayoutFamily(const QString& face)
{
    return face == FontFace(dialogFamily()) ? dialogFamily() : face;
}

QFont DialogFont()
{
    QFont font(FontFace(dialogFamily()));
    font.setPixelSize(11);
    return font;
}
