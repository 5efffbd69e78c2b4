#pragma once

#include <QIcon>
#include <QLocale>
#include <QString>

class QTranslator;

// The program's place on a Linux desktop: the names that tie its window to its menu entry, its
// icon, and Qt's own texts in the user's language.
namespace at {

// The menu entry's name without ".desktop", which is also the AppStream id.
inline constexpr const char* kDesktopFileName = AT_APP_ID;
// The window class the menu entry names in StartupWMClass.
inline constexpr const char* kWindowClass = "analisis-tracks";

// Names the application after its menu entry: the window class on X11 (from the application
// name, whatever the program file is called) and the app id on Wayland (the desktop file name).
void setDesktopIdentity();

// The program's icon, the same picture the menu entry shows.
QIcon programIcon();

// Installs Qt's own translations (file dialog, message-box buttons) for `locale` in the
// application. Returns the translator, owned by the application, or nullptr when Qt has none
// for that language.
QTranslator* installQtTranslations(const QLocale& locale);

}  // namespace at
