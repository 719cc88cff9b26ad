// tabulon-filter: the road of the program without a window. Standard input is
// read as the clipboard is at start-up, the command line sets the options as
// the user would, and the table comes out on standard output.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "document/width.h"
#include "table/comment_wrap.h"

namespace tabulon {

enum class Encoding { Utf8, Cp932 };
enum class RulesFlag { Ascii, Box, None, Markdown };

// What the command line asks for; an unset optional leaves that control as
// the reader left it.
struct FilterRequest {
  std::optional<RulesFlag> rules;
  std::optional<bool> title;  // ﾀｲﾄﾙ, with titleText when checked
  std::string titleText;      // as given on the command line (UTF-8)
  std::optional<bool> columnHeadings;
  std::optional<bool> rowHeadings;
  std::optional<bool> trim;
  std::optional<bool> width;  // 桁数, with widthValue when checked
  int widthValue = 99;
  std::optional<WrapStyle> wrap;  // unset: the wrap of the input (InputOutcome::wrap)
  // Unset: the input's encoding is found from the input (ReadFilterInput),
  // and the output is written in the encoding the input was read in.
  std::optional<Encoding> inputEncoding;
  std::optional<Encoding> outputEncoding;
  // Unset: the rule the input table was written under where it tells
  // (ReadReport::widthRule), else the default, wide.
  std::optional<WidthRule> ambiguous;
  bool crlf = false;
  bool help = false;
  bool version = false;
};

struct ParseOutcome {
  std::optional<FilterRequest> request;  // empty on refusal
  std::string error;                     // one line, without the program name
  bool showUsage = false;                // an unknown flag or a bad value
};

// Parses the arguments after the program name.
ParseOutcome ParseFilterArgs(const std::vector<std::string>& args);

const char* FilterUsage();

// Runs the whole filter; returns the exit status (0; 1 on an I/O error or
// an input without cells, which goes back unchanged; 2 on a refused command
// line). With `errIsOut` (both are one file) only errors go to `err`, not
// the notes of what was left out or replaced.
int RunFilter(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
              std::ostream& err, bool errIsOut = false);

}  // namespace tabulon
