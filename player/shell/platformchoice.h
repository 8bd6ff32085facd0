#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Which Qt platform the Player asks for. Keep-on-top, transparency and moving the window by its
// content need X11, so on a Wayland session with an X server beside it (XWayland) the X11
// platform is used; without any display the Player still runs, on the offscreen platform.
namespace lyrova {

struct PlatformChoice {
  QByteArray platform;     // the value for QT_QPA_PLATFORM; empty: leave Qt's own choice
  bool noDisplay = false;  // no display at all: the Player runs without a window
};

// `variable` reads an environment variable ("" when unset).
PlatformChoice ChoosePlatform(const std::function<QByteArray(const char*)>& variable);

// Whether the running Qt platform shows nothing to anyone (offscreen, minimal): the Player then
// runs as without a display, since nobody could answer a question there either.
bool ShowsNothing(const QString& platformName);

// The note the status text shows once when the running platform cannot keep the window on top,
// make it transparent or let it be moved (a Wayland session without X11); "" otherwise.
QString EffectsNote(const QString& platformName);

}  // namespace lyrova
