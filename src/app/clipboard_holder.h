// Text the program puts on the system clipboard must stay there after it
// ends, but X11 keeps it only while its owner runs. So each text goes to a
// small holder (this program again, in holder mode) that owns the clipboard
// until another program takes it.
//
// The hand-off is ordered: a holder is started only once the one before it
// has reported that it owns the clipboard, so the newest text always has the
// newest owner, and a holder that loses the clipboard ends at once. Each
// holder also keeps a pipe from the program: only the holder of the newest
// text still owns the clipboard when the program ends, and only then does it
// hand the text to a clipboard manager, where one runs.
#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <string>
#include <string_view>

namespace tabulon {

inline constexpr const char* kHolderFlag = "--hold-clipboard";

// Starts a holder for `utf8` and waits until it owns the clipboard (at most
// a few seconds; a holder that has not by then is ended). False if no holder
// has the text; then the caller keeps it. Only on X11.
bool HandToClipboardHolder(const std::string& utf8);

// Writes every byte to the non-blocking `fd` before `deadline`; false if
// that could not be done.
bool WriteBefore(int fd, std::string_view bytes, std::chrono::steady_clock::time_point deadline);

// Whether the X11 clipboard's owner on `c` is the window manager, which on
// Xwayland is the compositor passing the Wayland clipboard on.
bool CompositorOwnsX11Clipboard(xcb_connection_t* c);

// How the program passes a text to the holder: its byte count in decimal, a
// line feed, then its bytes; the pipe stays open while the program runs.
std::string HolderFrame(std::string_view text);
// Its head alone, which a large text follows without being copied.
std::string HolderFrameHead(std::size_t size);
// Reads one such text from `fd`; false if the pipe ends first or the count
// is not a number.
bool ReadHolderFrame(int fd, std::string& text);

// Holder mode: reads the text from standard input, owns the clipboard,
// reports "ready" on standard output and ends as soon as it loses the
// clipboard. When standard input closes (the program has ended) and it still
// owns the clipboard, it takes the Wayland clipboard too where the compositor
// lets it (see WaylandClipboard); elsewhere it hands the text to a clipboard
// manager where one runs, and keeps it itself where none runs or the manager
// did not take it.
int RunClipboardHolder(int argc, char** argv);

}  // namespace tabulon
