// The system clipboard as the program sees it: CP932 text.
#pragma once

#include <string>

namespace tabulon {

// The clipboard's plain text as CP932; characters CP932 lacks become "?".
std::string SystemClipboardText();

}  // namespace tabulon
