// How the program names itself to the desktop, and Qt's own texts in the
// language of the window.
#pragma once

#include <QString>

// The application name, which is the class part of the window's WM_CLASS
// that the desktop entry's StartupWMClass names, and the desktop entry the
// program is started from (on Wayland also its app id), so docks and task
// bars match the running window to its entry and icon.
void SetDesktopIdentity();

// Qt's own texts (context menus, the buttons of message boxes and dialogs)
// in Russian like the rest of the window, whatever the session's language,
// from Qt's translations folder or the given one. False, and nothing
// installed, where the translation is missing: the texts stay in English.
bool InstallQtTranslation();
bool InstallQtTranslation(const QString& folder);
