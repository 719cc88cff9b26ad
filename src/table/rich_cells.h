// Cells from the clipboard forms that keep them better than plain text: an
// HTML table (spreadsheets, web pages) and a spreadsheet's quoted TAB text.
// Both become the tab text the reader reads (UTF-8 in and out): one line a
// row, fields cut at TABs, a cell holding line breaks between double quotes
// with its quotes doubled, as a spreadsheet copies such a cell.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tabulon {

// The first table of an HTML text that has a row: each cell's text as a
// browser shows it (blanks run together, <br> and blocks break lines), a TAB
// in it as one blank, a merged cell's text in its first cell and the cells it
// covers empty. Empty when there is no such table, or when the HTML parser
// (libxml2, loaded when first needed) is missing.
std::optional<std::string> TabTextFromHtml(std::string_view html);

// A spreadsheet's TAB text in which a field holding a TAB, a line break or a
// double quote stands between double quotes, each quote in it doubled: the
// same cells, a TAB in a cell as one blank.
std::string TabTextFromQuotedTabText(std::string_view text);

// Whether a clipboard text holds more than one cell: a TAB, or a second line
// that is not empty. Where one side of the clipboard gives a single cell,
// cells the other side holds are the newer copy.
bool HoldsCells(std::string_view text);

// The MIME types of those forms.
inline constexpr std::string_view kHtmlType = "text/html";
inline constexpr std::string_view kQuotedTabTextType = "application/x-libreoffice-tsvc";

// The cells the reader should read instead of a clipboard's plain text
// `plain` (UTF-8), as tab text to read with ReadTabCells: those of the quoted
// TAB text or the HTML table that `form` (a MIME type in, the bytes on offer
// out, if any) finds on the clipboard. None where the plain text is a table
// this program wrote or a Markdown table, or no richer form holds cells:
// then the plain text is read.
std::optional<std::string> RicherCells(
    std::string_view plain,
    const std::function<std::optional<std::string>(std::string_view)>& form);

}  // namespace tabulon
