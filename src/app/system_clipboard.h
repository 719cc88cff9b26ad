// The system clipboard as the program sees it: CP932 text in, and text out
// that stays there after the program ends.
#pragma once

#include <string>

#include "document/codec.h"

class QObject;

namespace tabulon {

// Where the compositor lets a program without a window at the Wayland
// clipboard, that is the clipboard read; an X11 program's copy it did not
// pass on to Wayland is read when the Wayland one holds no cells.
//
// The clipboard's plain text as CP932, converted from the owner's UTF-8
// bytes as tabulon-filter converts standard input: characters CP932 lacks
// and bad UTF-8 sequences become "?" alike. Empty when an X11 owner does not
// answer within two seconds, and when the text is larger than a file the
// preview would load.
std::string SystemClipboardText();

// The same, with why it is empty when it is.
// Where the clipboard also holds the cells in a richer form than its plain
// text (an HTML table, a spreadsheet's quoted TAB text), the text is those
// cells as tab text, and `cells` says so.
struct ClipboardRead {
  enum class Status { Ok, NoAnswer, TooLarge };
  Status status = Status::Ok;
  std::string text;
  bool cells = false;
  Replacements replaced;  // characters CP932 lacks, written as "?"
};
ClipboardRead ReadSystemClipboard();

// Whether the clipboard is offered to the program only while one of its
// windows has the focus (Wayland without Xwayland): then no holder can take
// text over either.
bool ClipboardNeedsFocus();

// Puts CP932 text on the clipboard so that it outlives the program: a holder
// takes it, or, where none can, this process owns it (so that at least a
// clipboard manager can take it over at the end). True when a holder has it.
bool PutSystemClipboardText(const std::string& cp932);

// From now on, while `context` lives, text that the program's own controls
// copy (a cell, the preview's memo, the title field) goes to a holder at once
// too, so that whatever the program put there last is what outlives it.
void HandOverOwnCopies(QObject* context);

// Called once the windows are gone. Where text the program put on the
// clipboard has no holder (see ClipboardNeedsFocus), the process stays,
// windowless, until another program copies, so that the text still outlives
// the windows; it says so in one line on stderr.
void KeepUnheldText();

}  // namespace tabulon
