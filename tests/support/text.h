// Test helpers: literals are written in UTF-8, and Sj turns them into the
// text the document holds; Utf8 turns that text back, for messages and for
// what leaves the program as UTF-8. The document holds UTF-8, so both keep
// the text as it is; they mark where a test means the inside text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tabulon::testing {

inline std::string Sj(std::string_view utf8) {
  return std::string(utf8);
}

inline std::string Utf8(std::string_view inside) {
  return std::string(inside);
}

inline std::vector<std::string> SjLines(const std::vector<std::string_view>& utf8) {
  std::vector<std::string> out;
  for (std::string_view s : utf8) out.push_back(Sj(s));
  return out;
}

// Lines joined with CR LF after each: text as the clipboard holds it.
inline std::string SjText(const std::vector<std::string_view>& utf8, std::string_view prefix = "",
                          std::string_view firstPrefix = "") {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    out += Sj(i == 0 && !firstPrefix.empty() ? firstPrefix : prefix);
    out += Sj(utf8[i]) + "\r\n";
  }
  return out;
}

// Inside lines back in UTF-8, for readable failure messages.
inline std::vector<std::string> Utf8Lines(const std::vector<std::string>& inside) {
  std::vector<std::string> out;
  for (const std::string& s : inside) out.push_back(Utf8(s));
  return out;
}

// The sample table: columns a (3 wide) and b (4 wide), rows "x" "yy" and
// "12" "z", title "Plan", column and row headings, in both rule styles.
inline const std::vector<std::string_view> kSampleAscii = {
    "+-^---==-^---+", "|Plan        |", "+---+---+----+", "| ＼|a  |b   |", "+---+---+----+",
    "|  1|x  |yy  |", "+---+---+----+", "|  2|12 |z   |", "+---+---+----+"};
inline const std::vector<std::string_view> kSampleBox = {
    "┌^---==-^───-┐", "│Plan           │", "├──┬─-┬──┤", "│ ＼ │a  │b   │", "├──┼─-┼──┤",
    "│   1│x  │yy  │", "├──┼─-┼──┤", "│   2│12 │z   │", "└──┴─-┴──┘"};

}  // namespace tabulon::testing
