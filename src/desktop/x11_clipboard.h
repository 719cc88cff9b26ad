// The X11 clipboard as this program reads it and asks about it, over xcb.
// Only the desktop's own files include this header.
#pragma once

#include <xcb/xcb.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/form_read.h"

namespace tabulon {

// The window that owns the X11 selection `name` on `c`; none if no one does.
xcb_window_t SelectionOwner(xcb_connection_t* c, std::string_view name);

// Whether the X11 clipboard's owner on `c` is the window manager, which on
// Xwayland is the compositor passing the Wayland clipboard on.
bool CompositorOwnsX11Clipboard(xcb_connection_t* c);

// The CLIPBOARD selection over a connection of its own: the bytes exactly as
// the owner sends them, so that the codec sees bad UTF-8 as the filter sees
// it (the toolkit would first decode it into a string, one U+FFFD per bad
// byte). Large texts come in INCR chunks.
class X11Clipboard {
 public:
  // Reads of more than `limit` bytes are TooLarge.
  explicit X11Clipboard(std::size_t limit);
  ~X11Clipboard();  // the window goes with the connection
  X11Clipboard(const X11Clipboard&) = delete;
  X11Clipboard& operator=(const X11Clipboard&) = delete;

  // The clipboard in the form `target` (UTF8_STRING: its plain text), the
  // owner answering each request within kAnswerTimeout.
  FormRead Read(std::string_view target, std::string& out);

  // Whether a program owns the clipboard, not the compositor passing the
  // Wayland one on.
  bool ProgramOwns();

  // Whether the owner offers the form `target`, by its list of targets.
  bool Offers(std::string_view target);

 private:
  xcb_atom_t Atom(std::string_view name);

  xcb_connection_t* c_;
  std::size_t limit_;
  xcb_window_t window_ = 0;
  std::optional<std::vector<xcb_atom_t>> targets_;
};

}  // namespace tabulon
