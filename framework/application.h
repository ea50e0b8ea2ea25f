// The application object: exception guard and message box, fonts, palette
// and the numbered cursor table.
#pragma once

#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QString>

#include <functional>
#include <map>

class TApplication : public QApplication {
    Q_OBJECT
public:
    // Later leaves the fonts to InstallFonts(): for a caller that reads the
    // font configuration on a thread of its own while Qt opens the display.
    enum class TFonts { Now, Later };
    TApplication(int& argc, char** argv, TFonts fonts = TFonts::Now);
    ~TApplication() override;

    // The faces that stand in for the layouts' fonts, and the dialog font as
    // the one controls start in.
    void InstallFonts();

    // Shows an error message and lets the program go on. The message box
    // can be replaced (tests record the message instead).
    static void HandleException(const QString& message);
    using ErrorReporter = std::function<void(const QString&)>;
    static ErrorReporter SetErrorReporter(ErrorReporter handler);

    // Backstop only: every place where Qt calls into our code runs it
    // through Guard() already.
    bool notify(QObject* receiver, QEvent* event) override;
};

// Runs a call from Qt into our code; an exception it raises is shown as a
// message and does not unwind through Qt's frames. Returns false when the
// call was ended by an exception.
template <class F> bool Guard(F&& call) noexcept;

// The numbered cursor table: negative ids are the standard shapes, positive
// ids the cursors that modules add at start.
enum : int { crDefault = 0, crArrow = -2, crCross = -3, crIBeam = -4, crSizeWE = -9, crHandPoint = -21 };

namespace Screen {
void SetCursor(int id, const QCursor& cursor);
// A cursor made when it is first asked for: a module registers its cursors
// at start, their pictures are decoded only once a control shows one.
void SetCursor(int id, std::function<QCursor()> make);
QCursor Cursor(int id);
bool HasCursor(int id);
} // namespace Screen

// The faces that stand in for the fonts the layouts name: Qt's own
// substitutions, and the face each named family is shown in, looked up once
// (FontFace). TApplication::InstallFonts calls this.
void InstallFontSubstitutions();

// The installed face a font family of a layout is drawn in: the family itself
// where the platform has it, else the face that stands in for it. Controls are
// given this face, so that drawing never first asks the font database for a
// family it lacks (each such miss is a fontconfig query per font loaded).
QString FontFace(const QString& family);

// The family of a layout that a face stands for: the inverse of FontFace for
// the program's dialog font (a face shown where no layout named a family),
// otherwise the face itself.
QString LayoutFamily(const QString& face);

// The font that windows and controls start in: "MS Sans Serif", 11 pixels.
QFont DialogFont();

// ---------------------------------------------------------------------------

#include "framework/exception.h"

#include <exception>

template <class F> bool Guard(F&& call) noexcept
{
    try {
        std::forward<F>(call)();
        return true;
    } catch (const Exception& e) {
        TApplication::HandleException(e.Message());
    } catch (const std::exception& e) {
        TApplication::HandleException(QString::fromUtf8(e.what()));
    } catch (...) {
        TApplication::HandleException(QStringLiteral("Unknown error"));
    }
    return false;
}
