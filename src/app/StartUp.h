#pragma once

#include <QByteArray>
#include <QStringList>
#include <functional>

// What the window's entry decides before Qt's window system starts: Qt ends
// the process with an abort when it finds no display, and --help or --version
// need none.

// The value of an environment variable; empty when unset.
using TEnvironment = std::function<QByteArray(const char* name)>;

// True when the arguments ask only for text (-h, --help, -?, --help-all, -v,
// --version), looked for up to a "--".
bool AsksForTextOnly(const QStringList& arguments);

// False when the window system Qt would start cannot be reached for want of a
// display: the platform (QT_QPA_PLATFORM or -platform, possibly a list tried in
// turn) is X11 or Wayland, or left to Qt, and neither DISPLAY (or -display) nor
// WAYLAND_DISPLAY names one. Other platforms (offscreen, vnc, ...) need none.
bool DisplayAvailable(const QStringList& arguments, const TEnvironment& environment);

// The one line a start without a display ends with.
QString NoDisplayMessage();
