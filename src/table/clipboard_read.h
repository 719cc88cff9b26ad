// What a read of the system clipboard gives the windows, and which of the
// two clipboards of a Wayland desktop with Xwayland that read comes from.
// The desktop does the reading (desktop/desktop.h).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "document/codec.h"

namespace tabulon {

// The clipboard's plain text as inside text, or why it is empty: the owner
// did not answer in time (kAnswerTimeout), or the text is larger than a file
// the preview would load. Where the clipboard also holds the cells in a richer
// form than its plain text (an HTML table, a spreadsheet's quoted TAB
// text), the text is those cells as tab text, and `cells` says so.
struct ClipboardRead {
  enum class Status { Ok, NoAnswer, TooLarge };
  Status status = Status::Ok;
  std::string text;
  bool cells = false;
  Replacements replaced;  // byte sequences that are no character, read as U+FFFD
};

// Compositors that pass the clipboard between Wayland and X11 programs only
// while an X11 window has the focus keep an X11 program's copy made without
// it (a script's) from Wayland. So where the Wayland read `wayland` is a
// single cell, cells an X11 program holds are the newer copy: `x11` reads
// them (none where no X11 program owns that clipboard), and they are taken
// when they are cells.
ClipboardRead WithX11Cells(ClipboardRead wayland,
                           const std::function<std::optional<ClipboardRead>()>& x11);

}  // namespace tabulon
