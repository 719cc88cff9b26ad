// Standard input of tabulon-filter, read a line at a time. The grid holds at
// most 256 rows, so only the lines that can reach it are kept and converted;
// the lines below them are measured and counted on the fly. Memory follows
// what is kept, not the size of the input.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/document.h"
#include "table/comment_wrap.h"
#include "table/reader.h"

namespace tabulon {

struct InputOutcome {
  std::size_t replaced = 0;  // byte sequences that are no character, each read as U+FFFD
  int readError = 0;         // errno of a failed read; 0 once the input was read to its end
  bool utf8 = true;          // the encoding the input was read in: UTF-8, or else CP932
  std::string prefix;        // the table's line prefix (TablePrefix), taken off its lines
  // The comment wrap of a table or of wrapped tab text read; plain for
  // anything else.
  WrapStyle wrap = WrapStyle::Plain;
  // Whether every byte is a blank or a control character (a UTF-8 byte-order
  // mark aside), so that no cell can be read; its runs of equal bytes then
  // give the input back unchanged.
  bool blank = true;
  std::vector<std::pair<char, std::size_t>> blankRuns;
};

// Bytes above 0x7F that are evidence enough of an input's encoding.
inline constexpr std::size_t kEncodingEvidence = 4096;

// Reads `in` into the grid as the window reads the clipboard: in UTF-8 (a
// byte-order mark dropped) or CP932 as `utf8` says, or, when it says
// nothing, in UTF-8 where the input begins with the mark or reads as UTF-8
// (ReadsAsUtf8 over its lines up to the one that brings kEncodingEvidence
// bytes above 0x7F, or over all of it) and in CP932 otherwise. The cells,
// widths, options and report are those ReadClipboardText gives for the
// whole text made inside text (InsideFromUtf8, InsideFromCp932), and, where
// that reads nothing, those ReadPlainTabText gives. An input that is an HTML
// document holding a table reads as the table's cells (TabTextFromHtml,
// ReadTabCells). Run SetUpGrid first. After a read error the document is
// left unread.
ReadReport ReadFilterInput(Document& doc, std::istream& in, std::optional<bool> utf8,
                           InputOutcome& outcome);

}  // namespace tabulon
