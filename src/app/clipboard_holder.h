// Text the program puts on the system clipboard must stay there after it
// ends, but X11 and Wayland keep it only while its owner runs. So the text
// goes to a small detached holder (this program again, in holder mode) that
// owns the clipboard until another program takes it, and then exits.
#pragma once

#include <string>

namespace tabulon {

inline constexpr const char* kHolderFlag = "--hold-clipboard";

// Starts a holder for `utf8` and waits until it owns the clipboard (at most
// a few seconds). False if no holder could be started.
bool HandToClipboardHolder(const std::string& utf8);

// Holder mode: reads the text from standard input, owns the clipboard,
// reports "ready" on standard output and runs until it loses the clipboard;
// where a clipboard manager runs, it hands the text to it and ends at once,
// unless the manager did not take it.
int RunClipboardHolder(int argc, char** argv);

}  // namespace tabulon
