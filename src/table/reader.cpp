#include "table/reader.h"

#include <algorithm>
#include <cstring>

#include "document/blanks.h"
#include "document/text_columns.h"
#include "table/comment_wrap.h"
#include "table/format.h"
#include "table/generated_table.h"
#include "table/markdown.h"
#include "table/tab_text.h"

namespace tabulon {

std::vector<std::string> SplitLines(std::string_view text) {
  // memchr for each break character, remembering where the next CR and the
  // next LF are, keeps this fast on texts of many megabytes.
  std::vector<std::string> lines;
  const char* const end = text.data() + text.size();
  auto next = [end](const char* from, char ch) {
    const void* hit = std::memchr(from, ch, static_cast<std::size_t>(end - from));
    return hit ? static_cast<const char*>(hit) : end;
  };
  const char* p = text.data();
  const char* cr = next(p, '\r');
  const char* lf = next(p, '\n');
  while (p < end) {
    if (cr < p) cr = next(p, '\r');
    if (lf < p) lf = next(p, '\n');
    const char* brk = std::min(cr, lf);
    lines.emplace_back(p, brk);
    if (brk == end) break;
    p = brk + ((*brk == '\r' && brk + 1 < end && brk[1] == '\n') ? 2 : 1);
  }
  return lines;
}

namespace {

void EraseFirst(std::string& text, std::string_view what) {
  ReplaceFirst(text, what, "");
}

// Takes the comment mark that begins a title line off it: the mark with the
// blank it replaced, or else the bare mark. Only that one goes, so a title's
// own "'", "{" or "{ " stays.
void EraseMarker(std::string& title, std::string_view withBlank, std::string_view bare) {
  if (StartsWith(title, withBlank)) {
    title.erase(0, withBlank.size());
  } else if (StartsWith(title, bare)) {
    title.erase(0, bare.size());
  }
}

}  // namespace

// Tab text as the writer makes it without ruled lines, wrapped as a comment:
// the title from the first line, a row from every other line.
ReadReport ReadWrappedTabText(Document& doc, std::vector<std::string>& lines, TextForm form,
                              UnmarkedTitle unmarked) {
  if (lines.empty()) return {};
  ColumnWidths w{};
  std::string title;
  switch (form) {
    case TextForm::WrappedA:  // Basic, no title
      for (std::string& line : lines) {
        EraseFirst(line, "'");
        WidenToFields(w, line);
      }
      lines.insert(lines.begin(), std::string());
      break;
    case TextForm::WrappedB:  // Basic, with a title line
      title = lines[0];
      EraseMarker(title, "' ", "'");
      for (std::size_t r = 1; r < lines.size(); ++r) {
        EraseFirst(lines[r], "'");
        WidenToFields(w, lines[r]);
      }
      break;
    default:  // C: braces, slash-star or plain
      switch (WrapOfFirstLine(lines[0])) {
        case WrapStyle::Delphi:
          title = lines[0];
          EraseMarker(title, "{ ", "{");
          break;
        case WrapStyle::CFamily:
          title = lines[0];
          EraseFirst(title, "/*");
          break;
        default:
          if (unmarked == UnmarkedTitle::Keep) title = doc.options.Title();
          break;
      }
      for (std::size_t r = 1; r + 1 < lines.size(); ++r) WidenToFields(w, lines[r]);
      if (IsClosingMarkLine(lines.back())) lines.back().clear();
      break;
  }
  doc.options.SetTitle(title);
  doc.options.SetChecked(Option::Title, !IsBlankText(title));

  ReadReport report;
  report.kind = ReadReport::Kind::WrappedTabText;
  for (std::size_t r = 1; r < lines.size(); ++r) {
    StoreTabLine(doc, kFirstDataCol, r, lines[r], nullptr, &report);
  }
  ApplyTextWidths(doc, w);
  doc.options.SetChecked(Option::Ruled, false);
  return report;
}

std::string_view TablePrefix(std::string_view line0) {
  const auto blanksFrom = [line0](std::size_t p) {
    while (p < line0.size() && (line0[p] == ' ' || line0[p] == '\t')) ++p;
    return p;
  };
  const auto tableAt = [line0](std::size_t p) { return BeginsTableTop(line0.substr(p)); };
  const std::size_t indent = blanksFrom(0);
  if (tableAt(indent)) return line0.substr(0, indent);
  for (std::string_view leader : kCommentLeaders) {
    std::size_t p = indent;
    while (line0.substr(p).starts_with(leader)) p += leader.size();
    if (p == indent) continue;
    p = blanksFrom(p);
    return tableAt(p) ? line0.substr(0, p) : std::string_view();
  }
  return {};
}

ReadReport ReadTabCells(Document& doc, std::string_view text) {
  return ReadPlainTabText(doc, SplitLines(text));
}

ReadReport ReadClipboardText(Document& doc, std::string_view text) {
  std::vector<std::string> lines = SplitLines(text);
  return ReadClipboardLines(doc, lines);
}

namespace {

// ReadClipboardLines once a prefix is off.
ReadReport ReadLinesWithoutPrefix(Document& doc, std::vector<std::string>& lines) {
  const std::optional<std::string_view> l1 =
      lines.size() > 1 ? std::optional<std::string_view>(lines[1]) : std::nullopt;
  switch (const TextForm form = lines.empty()
                                    ? TextForm::Nothing
                                    : FormOfText(lines[0], l1, QuotedFirstFieldBeforeTab(lines))) {
    case TextForm::GeneratedTable:
      return ReadGeneratedTable(doc, lines);
    case TextForm::TabText: {
      // Most spreadsheet text holds no quote: one look at each line spares
      // the search for quoted fields.
      const bool quotes = std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return std::memchr(line.data(), '"', line.size()) != nullptr;
      });
      return ReadPlainTabText(doc, lines, quotes);
    }
    case TextForm::WrappedA:
    case TextForm::WrappedB:
    case TextForm::WrappedC:
      return ReadWrappedTabText(doc, lines, form);
    case TextForm::MarkdownTable:  // told before the prefix is off (ReadClipboardLines)
    case TextForm::Nothing:
      break;
  }
  if (lines.size() < 2) doc.grid.Select(kFirstDataCol, kFirstDataRow);
  return {};
}

}  // namespace

ReadReport ReadClipboardLines(Document& doc, std::vector<std::string>& lines) {
  if (const std::optional<MarkdownStart> markdown = FindMarkdownTable(lines)) {
    return ReadMarkdownTable(doc, lines, *markdown);
  }
  std::string prefix;
  if (!lines.empty()) {
    prefix = TablePrefix(lines[0]);
    if (!prefix.empty()) {
      for (std::string& line : lines) {
        if (line.starts_with(prefix)) line.erase(0, prefix.size());
      }
    }
  }
  ReadReport report = ReadLinesWithoutPrefix(doc, lines);
  report.prefix = std::move(prefix);
  return report;
}

TextForm FormOfTabText(std::string_view l0, bool quotedFirstField) {
  // Only a first line that begins with the Basic comment mark is a comment;
  // an apostrophe further on is part of the spreadsheet text.
  const bool quoted = WrapOfFirstLine(l0) == WrapStyle::Basic;
  // 0x09 is never a byte of a longer UTF-8 character, so a byte search
  // finds exactly the TABs a character walk would.
  const bool tab = l0.find('\t') != std::string_view::npos;
  if (!quoted && (tab || quotedFirstField)) return TextForm::TabText;
  if (quoted) return tab ? TextForm::WrappedA : TextForm::WrappedB;
  return TextForm::WrappedC;
}

TextForm FormOfText(std::string_view l0, std::optional<std::string_view> l1,
                    bool quotedFirstField) {
  const bool generated = IsGeneratedTableTop(l0);
  // One spreadsheet row: a line and its break.
  if (!l1) return l0.find('\t') != std::string_view::npos && !generated ? TextForm::TabText : TextForm::Nothing;
  if (generated) return TextForm::GeneratedTable;
  const TextForm form = FormOfTabText(l0, quotedFirstField);
  // Wrapped tab text holds a TAB in its second line.
  if (form != TextForm::TabText && l1->find('\t') == std::string_view::npos) {
    return TextForm::Nothing;
  }
  return form;
}

}  // namespace tabulon
