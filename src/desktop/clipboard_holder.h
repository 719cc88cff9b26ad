// Text the program puts on the system clipboard must stay there after it
// ends, but X11 keeps it only while its owner runs. So each text goes to a
// small holder (this program again, in holder mode: kHolderFlag and
// RunClipboardHolder in desktop.h) that owns the clipboard until another
// program takes it.
//
// The hand-off is ordered: a holder is started only once the one before it
// has reported that it owns the clipboard, so the newest text always has the
// newest owner, and a holder that loses the clipboard ends at once. Each
// holder also keeps a pipe from the program: only the holder of the newest
// text still owns the clipboard when the program ends, and only then does it
// hand the text to a clipboard manager, where one runs.
//
// Holder mode reads the text from standard input, owns the clipboard,
// reports "ready" on standard output and ends as soon as it loses the
// clipboard. When standard input closes (the program has ended) and it still
// owns the clipboard, it takes the Wayland clipboard too where the compositor
// lets it (see WaylandClipboard); elsewhere it hands the text to a clipboard
// manager where one runs, and keeps it itself where none runs or the manager
// did not take it.
#pragma once

#include <cstddef>
#include <string>

namespace tabulon {

// Starts a holder for `utf8` and waits until it owns the clipboard (at most
// a few seconds; a holder that has not by then is ended). False if no holder
// has the text; then the caller keeps it. Only on X11.
bool HandToClipboardHolder(const std::string& utf8);

// How the program passes a text to the holder: the head, its byte count in
// decimal and a line feed, then its bytes; the pipe stays open while the
// program runs.
std::string HolderFrameHead(std::size_t size);
// Reads one such text from `fd`; false if the pipe ends first or the count
// is not a number.
bool ReadHolderFrame(int fd, std::string& text);

}  // namespace tabulon
