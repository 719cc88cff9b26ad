// How a read of one form of the clipboard went, over Wayland or X11: the
// result both readers give (wayland_clipboard.h, x11_clipboard.h).
#pragma once

namespace tabulon {

// Unavailable where there was no connection to ask over.
enum class FormRead { Text, NoText, NoAnswer, TooLarge, Unavailable };

}  // namespace tabulon
