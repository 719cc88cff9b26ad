// "文字揃え": left, centre and right alignment of the selected cells by
// rewriting their texts, so that the table the writer lays out shows them
// aligned within their columns.
#pragma once

#include "document/document.h"

namespace tabulon {

enum class Alignment { Left, Centre, Right };

// Every selected cell (within the grid) is trimmed of bytes up to 0x20 at
// both ends; centre and right then put blanks before it so that it sits in
// the middle of, or ends at, its column's capacity (width - 5) div 6. Never
// pads after the text, never cuts, never changes a width.
void AlignCells(Document& doc, Alignment alignment);

// One cell's new text in a column of `capacity` display columns.
std::string AlignedText(std::string_view text, int capacity, Alignment alignment);

}  // namespace tabulon
