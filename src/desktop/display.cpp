// The display the windows open on.
#include <cstdlib>

#include "desktop/desktop.h"

namespace tabulon {

namespace {

bool Set(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

bool HasDisplay() {
  return Set("QT_QPA_PLATFORM") || Set("DISPLAY") || Set("WAYLAND_DISPLAY");
}

// On a Wayland session the windows run through Xwayland where the desktop
// offers it: a Wayland client is offered the clipboard only while one of its
// windows has the focus, so there the start-up read would find nothing and no
// holder could keep text after the program ends. Through Xwayland both work:
// the desktop joins the two clipboards (GNOME, weston), or, where it does so
// only while an X11 window has the focus, it announces data-control, through
// which the program reads and the holder keeps the Wayland clipboard without
// a window (sway, KDE Plasma).
void PreferXwayland() {
  if (Set("WAYLAND_DISPLAY") && Set("DISPLAY") && !Set("QT_QPA_PLATFORM")) {
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
  }
}

}  // namespace tabulon
