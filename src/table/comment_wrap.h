// Wrapping of table text as a source comment, applied when the preview is
// confirmed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/options.h"

namespace tabulon {

enum class WrapStyle {
  Plain,     // ﾌﾟﾚｰﾝ: unchanged
  Delphi,    // brace comment "{ }"
  CFamily,   // "/* */"
  Basic,     // "'" before every line
  Slashes,   // "// " before every line
  Hash,      // "# " before every line
  Markdown,  // no wrap: the grid written as a Markdown table instead
};

// The line comment a table's prefix (TablePrefix) holds: Slashes for "//",
// Hash for "#", with blanks around them or not; Plain for any other.
WrapStyle WrapOfPrefix(std::string_view prefix);

// The wrap a text's first line shows by its opening mark: "{" brace, "/*"
// slash-star, "'" Basic; plain without one.
WrapStyle WrapOfFirstLine(std::string_view line0);

// Whether a line is only the closing mark of a brace or slash-star wrap
// ("}" or "*/", with blanks around it or not).
bool IsClosingMarkLine(std::string_view line);

// Wraps `lines` in place. `ruleWidth` is the table width T of the writer's
// run; the ruled and line-style options and the title option come from the
// main window's option state.
void WrapComment(std::vector<std::string>& lines, int ruleWidth, WrapStyle style,
                 const OptionState& options);

}  // namespace tabulon
