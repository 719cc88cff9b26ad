// What the windows ask of the desktop: the display to open them on, the
// system clipboard (read, and text put there that outlives the program,
// kept by a holder process), and kana input in a field. The X11, Wayland
// and D-Bus pieces behind it stay in this folder.
#pragma once

#include <chrono>
#include <string>

#include "table/clipboard_read.h"

class QObject;

namespace tabulon {

// The display.

// Whether there is a display to open a window on (a platform chosen, an X11
// or a Wayland display); without one the toolkit would abort.
bool HasDisplay();

// On a Wayland session the windows run through Xwayland where the desktop
// offers it; QT_QPA_PLATFORM still decides where it is set. Called before
// the application starts; the holders inherit the choice.
void PreferXwayland();

// The clipboard.

// How long the clipboard's owner, or the compositor, has to answer (and, for
// a large text, to send each chunk): a live owner answers in milliseconds,
// and one that hangs should cost no more than a moment. (The toolkit waits
// 5 s per request.)
inline constexpr std::chrono::milliseconds kAnswerTimeout{2000};

// Where the compositor lets a program without a window at the Wayland
// clipboard, that is the clipboard read; an X11 program's copy it did not
// pass on to Wayland is read when the Wayland one holds no cells.
//
// The clipboard's plain text as inside text, made from the owner's UTF-8
// bytes as tabulon-filter makes standard input (InsideFromUtf8): every
// character kept, a bad UTF-8 sequence read as U+FFFD. Empty when an owner
// does not answer within kAnswerTimeout, and when the text is larger than a
// file the preview would load.
std::string SystemClipboardText();

// The same with the cells of the richer forms, and why it is empty when it
// is (see ClipboardRead).
ClipboardRead ReadSystemClipboard();

// Whether the clipboard is offered to the program only while one of its
// windows has the focus (Wayland without Xwayland): then no holder can take
// text over either.
bool ClipboardNeedsFocus();

// Puts inside text on the clipboard, as UTF-8, so that it outlives the
// program: a holder takes it, or, where none can, this process owns it (so
// that at least a clipboard manager can take it over at the end). True when a
// holder has it.
bool PutSystemClipboardText(const std::string& inside);

// From now on, while `context` lives, text that the program's own controls
// copy (a cell, the preview's memo, the title field) goes to a holder at once
// too, so that whatever the program put there last is what outlives it.
void HandOverOwnCopies(QObject* context);

// Called once the windows are gone. Where text the program put on the
// clipboard has no holder (see ClipboardNeedsFocus), the process stays,
// windowless, until another program copies, so that the text still outlives
// the windows; it says so in one line on stderr.
void KeepUnheldText();

// The holder: the program started again with this one argument keeps a
// text on the clipboard (see desktop/clipboard_holder.h); main hands such a
// run to RunClipboardHolder before anything else.
inline constexpr const char* kHolderFlag = "--hold-clipboard";
int RunClipboardHolder(int argc, char** argv);

// Kana input.

// Full-width hiragana input while `field` has the focus, and the input mode
// the user had once it leaves, asked of the running input method (ibus or
// fcitx5); where neither runs, nothing. The watcher is a child of `field`.
void KanaWhileFocused(QObject* field);

}  // namespace tabulon
