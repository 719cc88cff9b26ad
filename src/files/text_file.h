// The .TXT files the preview loads and saves: CP932 with CR LF line ends and
// no byte-order mark, or UTF-8 with LF line ends as Linux editors keep text;
// a load reads either. Saving never leaves a half-written file where a good
// one stood; loading refuses what no table would ever be.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "document/codec.h"
#include "files/byte_io.h"
#include "document/document.h"

namespace tabulon {

// Larger files are refused on loading; a full table is some 26 kB.
inline constexpr std::size_t kMaxLoadBytes = 16 * 1024 * 1024;
// The error for such a file (UTF-8, without the final ".").
inline constexpr const char* kTooLargeError = "文字列の大きさがメモの制限を越えました";

// The chosen name with its extension (the part from the last "." after the
// last "/") replaced by ".TXT", or ".TXT" appended where there is none.
std::string SaveFileName(std::string_view chosen);

// The file a save writes: SaveFileName's name, unless the folder already
// holds that name in other letter case ("table.txt" for "table.TXT"); then
// that file, as where file names ignore case.
std::string SavePath(std::string_view chosen);

// Every line followed by CR LF.
std::string JoinLinesCrLf(const std::vector<std::string>& lines);

// CR, LF and CR LF all made CR LF.
std::string NormalizeLineBreaks(std::string_view text);

struct FileResult {
  bool ok = false;
  std::string text;   // the file's bytes, on loading
  std::string error;  // the message to show, without the final "."
  bool tooLarge = false;
};

// Writes beside the target and renames over it, so a failure leaves any old
// file whole. The error is "ファイル "path". reason を作成できません" (UTF-8);
// a symbolic link that resolves to no file (a loop) is such an error.
FileResult SaveTextFile(const std::string& path, std::string_view bytes);

// Reads a regular file of at most kMaxLoadBytes (`limit` for tests). Anything
// else (a folder, a FIFO, a device) is refused at once with the
// "... は開けません" error, without waiting for a writer.
FileResult LoadTextFile(const std::string& path, std::size_t limit = kMaxLoadBytes);

// A loaded file's text as inside text: read as UTF-8 where the whole file is
// valid UTF-8 or begins with its byte-order mark (dropped), as Linux editors
// and tabulon-filter write it; as CP932 otherwise. What could not be kept is
// told in `replaced`.
std::string InsideFromFileText(std::string_view bytes, Replacements& replaced);

// A saved table's bytes (inside text, CR LF line ends) for Linux editors:
// UTF-8 with LF line ends.
std::string Utf8FileText(std::string_view insideCrLf);

// The load step after the text is on the clipboard: ClearTable, then ﾀｲﾄﾙ and
// 罫線 unchecked unless the first line, behind any prefix, has "^-" at
// column 3, then the window's creation (grid set-up and reader) over the
// text.
void ReadLoadedText(Document& doc, std::string_view text);

}  // namespace tabulon
