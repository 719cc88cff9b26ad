#include "table/comment_wrap.h"

#include <algorithm>

#include "document/blanks.h"
#include "document/text_columns.h"

namespace tabulon {

WrapStyle WrapOfFirstLine(std::string_view line0) {
  if (line0.starts_with("{")) return WrapStyle::Delphi;
  if (line0.starts_with("/*")) return WrapStyle::CFamily;
  if (line0.starts_with("'")) return WrapStyle::Basic;
  return WrapStyle::Plain;
}

WrapStyle WrapOfPrefix(std::string_view prefix) {
  const std::string_view leader = StripText(prefix);
  if (leader == "//") return WrapStyle::Slashes;
  if (leader == "#") return WrapStyle::Hash;
  return WrapStyle::Plain;
}

bool IsClosingMarkLine(std::string_view line) {
  const std::string_view mark = StripText(line);
  return mark == "}" || mark == "*/";
}

void WrapComment(std::vector<std::string>& lines, int ruleWidth, WrapStyle style,
                 const OptionState& options) {
  if (style == WrapStyle::Plain || style == WrapStyle::Markdown) return;
  if (style == WrapStyle::Basic) {
    for (std::string& line : lines) line.insert(0, "'");
    return;
  }
  if (style == WrapStyle::Slashes || style == WrapStyle::Hash) {
    // An empty line gets the leader without the blank after it.
    const std::string_view leader = style == WrapStyle::Slashes ? "// " : "# ";
    for (std::string& line : lines) line.insert(0, line.empty() ? StripTrailing(leader) : leader);
    return;
  }
  const bool brace = style == WrapStyle::Delphi;
  const std::string open = brace ? "{" : "/*";
  const std::string close = brace ? "}" : "*/";

  if (!options.Checked(Option::Ruled)) {
    // The title line begins with a blank, which the opening mark replaces.
    if (options.Checked(Option::Title)) {
      if (!lines.empty()) ReplaceFirst(lines.front(), " ", open);
    } else {
      lines.insert(lines.begin(), open);
    }
    lines.push_back(close);
    return;
  }
  if (lines.empty()) return;

  if (options.BoxStyle()) {
    // Box characters are two columns wide: mark outside the frame instead.
    const std::string indent(open.size(), ' ');
    lines.front().insert(0, open);
    for (std::size_t i = 1; i < lines.size(); ++i) lines[i].insert(0, indent);
    lines.back() += close;
    return;
  }
  // The closing pair takes the place of the bottom line's last two columns.
  ReplaceFirst(lines.front(), "+-", brace ? "{-" : "/*");
  std::string& last = lines.back();
  const int keep = std::max(ruleWidth - 2, 0);
  if (Columns(last) > keep) last.resize(ByteAtColumn(last, keep));
  last += brace ? "-}" : "*/";
}

}  // namespace tabulon
