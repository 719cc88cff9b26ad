// The cell menu's "貼り付け": clipboard text into the grid at the recorded
// cell or the selection, read the way its shape asks for.
#pragma once

#include <string_view>

#include "document/document.h"

namespace tabulon {

// What a paste did, so the window knows what to refresh.
enum class PasteKind { Nothing, Table, Lines, OneValue, Block, WrappedTabText, MarkdownTable };

// "貼り付け": puts clipboard text (inside text) into the document.
//  - Without a TAB: a table this program wrote is read again as the window's
//    creation reads it (Table); other lines go down column CurCol from
//    CurRow (Lines); a single line fills every selected cell (OneValue).
//  - With a TAB: spreadsheet text goes in as a block at (CurCol, CurRow),
//    numbers right-aligned, columns only ever widened, a quoted cell with
//    line breaks over as many rows (Block); text whose
//    first line is a title or a Basic comment is read as wrapped tab text
//    from row 1, column 2 (WrappedTabText).
//  - A Markdown table (FindMarkdownTable), with or without a TAB: its cells
//    go in as a block at (CurCol, CurRow), the header row first, columns
//    only ever widened; a title line above it sets the title (MarkdownTable).
// Lines and Block need a data cell at (CurCol, CurRow) and write nothing
// otherwise.
PasteKind PasteText(Document& doc, std::string_view text);

}  // namespace tabulon
