// The table reader: fills the grid document from clipboard text. It reads
// what it recognises and leaves the rest; it never fails. It tells the
// forms apart here and reads each in its own file: tab text (tab_text.h),
// tables this program wrote (generated_table.h) and, here, tab text wrapped
// as a comment.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/document.h"
#include "document/width.h"

namespace tabulon {

// What a read did with the text; only counts what was left out.
struct ReadReport {
  enum class Kind { Nothing, GeneratedTable, PlainTabText, WrappedTabText, MarkdownTable };
  Kind kind = Kind::Nothing;
  long rowsLeftOut = 0;    // non-empty lines that fall below grid row 256
  long fieldsLeftOut = 0;  // non-empty fields that fall beyond grid column 36
  long linesLeftOut = 0;   // non-blank lines after the end of a Markdown table
  std::string prefix;      // what the table stood behind (TablePrefix), taken off
  // The width rule a table this program wrote was written and read under,
  // where its lines tell (those of a box table do; an ASCII table's where a
  // row measures differently under the two).
  std::optional<WidthRule> widthRule;
};

// Splits text into lines at CR LF, lone LF and lone CR. A line break at the
// very end ends the last line and does not begin another.
std::vector<std::string> SplitLines(std::string_view text);

// The comment leaders of the usual languages a table in source code may
// stand behind.
inline constexpr std::string_view kCommentLeaders[] = {"//", "#", "--", ";", "%", "*", "REM"};

// The prefix of a table kept in source code or a comment: blanks and TABs,
// then, optionally, a comment leader of the usual languages ("//", "#",
// "--", ";", "%", "*" or "REM", repeated or not) and blanks, where the rest
// of the first line begins a ruled table this program wrote, in any of its
// own wraps. Empty when the first line has no such prefix.
std::string_view TablePrefix(std::string_view line0);

// The forms the reader tells apart by a text's first two lines: a table
// this program wrote, spreadsheet (tab) text, and tab text without ruled
// lines wrapped as a comment: A, Basic without a title line; B, Basic with
// one; C, braces, slash-star or none. Nothing where it reads no cell. A
// Markdown table is told by its first four lines (FindMarkdownTable), before
// the others.
enum class TextForm {
  Nothing,
  GeneratedTable,
  TabText,
  WrappedA,
  WrappedB,
  WrappedC,
  MarkdownTable
};
// The form of lines whose first is `l0` and second `l1` (nullopt for a text
// of one line), their prefix taken off. `quotedFirstField`: the first field
// is a quoted cell that ends before a TAB (QuotedFirstFieldBeforeTab), which
// only the whole text can tell.
TextForm FormOfText(std::string_view l0, std::optional<std::string_view> l1, bool quotedFirstField);
// The form of a text known to hold a TAB, by its first line alone: tab
// text, unless the first line is a title or a Basic comment (WrappedA, B or
// C). FormOfText tells these apart the same way.
TextForm FormOfTabText(std::string_view l0, bool quotedFirstField);

// What form C makes of a first line without "{" or "/*": an empty title (a
// new window), or the title kept as it stands (a paste into the grid).
enum class UnmarkedTitle { Empty, Keep };

// Reads `lines` (changing them) as wrapped tab text of `form` (WrappedA, B
// or C): the title from the first line, a row from every other line from
// row 1, column 2. Checks the title box by the title and unchecks the ruled
// lines.
ReadReport ReadWrappedTabText(Document& doc, std::vector<std::string>& lines, TextForm form,
                              UnmarkedTitle unmarked = UnmarkedTitle::Empty);

// The reader half of the window's creation: reads `text` (inside text, as
// the clipboard gives it) into the grid. Run SetUpGrid first.
// A table behind a prefix (TablePrefix) reads as the table without it; a
// single line holding a TAB reads as one row of tab text; a text that begins
// with a Markdown table (FindMarkdownTable) reads as that table
// (ReadMarkdownTable), behind its own prefix.
ReadReport ReadClipboardText(Document& doc, std::string_view text);
// The same for a text already cut into lines (as SplitLines cuts it): for a
// caller that reads its input a line at a time. A prefix is taken off the
// lines.
ReadReport ReadClipboardLines(Document& doc, std::vector<std::string>& lines);

// Reads `text` (inside text) as cells that a richer clipboard form gave:
// always as spreadsheet text (ReadPlainTabText), even a single column.
ReadReport ReadTabCells(Document& doc, std::string_view text);

// Spreadsheet text: each line a row from row 1, each field a cell from
// column 2, numbers right-aligned; where a field is quoted (HasQuotedField),
// each record from the row below the one before. With `quotes` false every
// double quote is text: for a caller that knows the text holds none.
ReadReport ReadPlainTabText(Document& doc, const std::vector<std::string>& lines,
                            bool quotes = true);

}  // namespace tabulon
