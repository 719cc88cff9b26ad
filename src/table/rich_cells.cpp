#include "table/rich_cells.h"

#include <dlfcn.h>
#include <libxml/HTMLparser.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "document/inside_text.h"
#include "table/format.h"
#include "table/markdown.h"
#include "table/reader.h"
#include "table/tab_text.h"

namespace tabulon {

namespace {

// A sheet shows a negative number with the minus sign U+2212 in its HTML
// (Gnumeric), but holds it with "-": a cell that is such a number is read as
// the sheet holds it, so that it stays a number and is right-aligned. Any
// other minus sign is text and stays.
void MinusSignAsHyphen(std::string& text) {
  static constexpr std::string_view kMinusSign = "\u2212";
  const std::size_t at = text.find_first_not_of(' ');
  if (at == std::string::npos || text.compare(at, kMinusSign.size(), kMinusSign) != 0) return;
  std::string_view digits = std::string_view(text).substr(at + kMinusSign.size());
  while (digits.ends_with(' ')) digits.remove_suffix(1);
  if (digits.empty() || !IsNumericText(digits) ||
      digits.find_first_of("0123456789") == std::string_view::npos) {
    return;
  }
  text.replace(at, kMinusSign.size(), "-");
}

// One cell as the reader takes it: a TAB as one blank, no line break at
// either end, and between double quotes, its quotes doubled, where it holds
// a line break or begins with a quote (which could otherwise open one).
void AppendCell(std::string& out, std::string_view cell) {
  std::string text;
  for (std::size_t i = 0; i < cell.size(); ++i) {
    const char ch = cell[i];
    if (ch == '\r') {
      if (i + 1 < cell.size() && cell[i + 1] == '\n') continue;
      text += '\n';
    } else {
      text += ch == '\t' ? ' ' : ch;
    }
  }
  const std::size_t first = text.find_first_not_of('\n');
  if (first == std::string::npos) return;
  text = text.substr(first, text.find_last_not_of('\n') + 1 - first);
  MinusSignAsHyphen(text);
  if (text.find('\n') == std::string::npos && text.front() != '"') {
    out += text;
    return;
  }
  out += '"';
  for (const char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  out += '"';
}

// libxml2's HTML parser, loaded at its first use: the filter reads HTML
// seldom, and linking the library (and the ICU it loads) would cost every
// run of it more than the run itself takes.
struct HtmlParser {
  decltype(&htmlReadMemory) read = nullptr;
  decltype(&xmlFreeDoc) free = nullptr;
};

const HtmlParser& LoadHtmlParser() {
  static const HtmlParser parser = [] {
    HtmlParser p;
    if (void* lib = dlopen("libxml2.so.2", RTLD_NOW | RTLD_LOCAL)) {
      p.read = reinterpret_cast<decltype(&htmlReadMemory)>(dlsym(lib, "htmlReadMemory"));
      p.free = reinterpret_cast<decltype(&xmlFreeDoc)>(dlsym(lib, "xmlFreeDoc"));
      if (!p.read || !p.free) p = {};
    }
    return p;
  }();
  return parser;
}

bool Is(const xmlNode* node, std::string_view name) {
  return node->type == XML_ELEMENT_NODE && node->name &&
         name == reinterpret_cast<const char*>(node->name);
}

bool IsAnyOf(const xmlNode* node, std::initializer_list<std::string_view> names) {
  return std::any_of(names.begin(), names.end(),
                     [node](std::string_view n) { return Is(node, n); });
}

// A whole-number attribute such as colspan, within [1, limit].
int Span(const xmlNode* cell, std::string_view name, int limit) {
  for (const xmlAttr* a = cell->properties; a; a = a->next) {
    if (!a->name || name != reinterpret_cast<const char*>(a->name)) continue;
    if (!a->children || !a->children->content) return 1;
    const int n = std::atoi(reinterpret_cast<const char*>(a->children->content));
    return std::clamp(n, 1, limit);
  }
  return 1;
}

// A cell's text as a browser shows it: runs of blanks and line breaks of the
// source as one blank, a no-break space kept, and a line broken at <br> and
// around blocks.
class CellText {
 public:
  void Add(const xmlNode* node) {
    for (const xmlNode* n = node->children; n; n = n->next) {
      if (n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE) {
        if (n->content) Text(reinterpret_cast<const char*>(n->content));
      } else if (Is(n, "br")) {
        Break();
      } else if (n->type == XML_ELEMENT_NODE && !IsAnyOf(n, {"script", "style"})) {
        const bool block =
            IsAnyOf(n, {"p", "div", "li", "tr", "table", "ul", "ol", "pre", "blockquote", "h1",
                        "h2", "h3", "h4", "h5", "h6", "dt", "dd"});
        if (block && !line_.empty()) Break();
        Add(n);
        if (block && !line_.empty()) Break();
        if (IsAnyOf(n, {"td", "th"})) blank_ = true;  // cells of a table inside the cell
      }
    }
  }

  std::string Done() {
    Break();
    std::string text;
    for (std::string& line : lines_) {
      line.erase(line.find_last_not_of(' ') + 1);
      if (!text.empty() || !line.empty()) text += (text.empty() ? "" : "\n") + line;
    }
    text.erase(text.find_last_not_of('\n') + 1);
    return text;
  }

 private:
  void Text(std::string_view t) {
    for (std::size_t i = 0; i < t.size(); ++i) {
      const char ch = t[i];
      if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r' || ch == '\f') {
        // Spreadsheets write a cell's leading blanks as they are; markup
        // that is only laid out has a line break among its blanks.
        if (line_.empty() && !blank_ && ch == ' ') {
          const std::size_t run = std::min(t.find_first_not_of(' ', i), t.size()) - i;
          const bool brokenRun = i + run < t.size() && std::strchr("\t\n\r\f", t[i + run]);
          if (!brokenRun && i + run < t.size()) {
            line_.append(run, ' ');
            i += run - 1;
            continue;
          }
        }
        blank_ = true;
        continue;
      }
      if (blank_ && !line_.empty()) line_ += ' ';
      blank_ = false;
      if (t.compare(i, 2, "\xC2\xA0") == 0) {  // a no-break space stays a blank
        line_ += ' ';
        ++i;
      } else {
        line_ += ch;
      }
    }
  }
  void Break() {
    lines_.push_back(std::move(line_));
    line_.clear();
    blank_ = false;
  }

  std::vector<std::string> lines_;
  std::string line_;
  bool blank_ = false;
};

// The rows of a table, its own and those of its head, bodies and foot, in
// the order they stand; rows of a table inside a cell are the cell's.
void TableRows(const xmlNode* table, std::vector<const xmlNode*>& rows) {
  for (const xmlNode* n = table->children; n; n = n->next) {
    if (Is(n, "tr")) {
      rows.push_back(n);
    } else if (IsAnyOf(n, {"thead", "tbody", "tfoot"})) {
      TableRows(n, rows);
    }
  }
}

const xmlNode* FirstTable(const xmlNode* node, std::vector<const xmlNode*>& rows) {
  for (const xmlNode* n = node; n; n = n->next) {
    if (Is(n, "table")) {
      TableRows(n, rows);
      if (!rows.empty()) return n;
    }
    if (const xmlNode* t = FirstTable(n->children, rows)) return t;
  }
  return nullptr;
}

// Rows and columns a merged cell may span: more than the grid holds is of
// no use, and a huge span must not cost memory.
constexpr int kMaxRowSpan = 1024;
constexpr int kMaxColSpan = 256;

}  // namespace

std::optional<std::string> TabTextFromHtml(std::string_view html) {
  const HtmlParser& parser = LoadHtmlParser();
  if (!parser.read || html.size() > static_cast<std::size_t>(INT32_MAX)) return std::nullopt;
  // Text on a Linux clipboard is UTF-8 unless a byte-order mark says else.
  const bool utf16 = html.starts_with("\xFF\xFE") || html.starts_with("\xFE\xFF");
  htmlDocPtr doc = parser.read(html.data(), static_cast<int>(html.size()), "clipboard.html",
                               utf16 ? nullptr : "UTF-8",
                               HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                   HTML_PARSE_NONET | HTML_PARSE_NOIMPLIED);
  if (!doc) return std::nullopt;
  std::vector<const xmlNode*> rows;
  std::optional<std::string> out;
  if (FirstTable(doc->children, rows)) {
    // Each row's cells by column; a merged cell's text in its first place
    // and the places it covers, in this and the rows below, taken.
    std::vector<std::vector<std::optional<std::string>>> grid(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
      std::size_t col = 0;
      for (const xmlNode* cell = rows[r]->children; cell; cell = cell->next) {
        if (!IsAnyOf(cell, {"td", "th"})) continue;
        while (col < grid[r].size() && grid[r][col]) ++col;
        const std::size_t across = static_cast<std::size_t>(Span(cell, "colspan", kMaxColSpan));
        const std::size_t down =
            std::min<std::size_t>(Span(cell, "rowspan", kMaxRowSpan), rows.size() - r);
        CellText text;
        text.Add(cell);
        for (std::size_t dr = 0; dr < down; ++dr) {
          std::vector<std::optional<std::string>>& row = grid[r + dr];
          if (row.size() < col + across) row.resize(col + across);
          for (std::size_t dc = 0; dc < across; ++dc) row[col + dc] = std::string();
        }
        grid[r][col] = text.Done();
        col += across;
      }
    }
    out.emplace();
    for (const auto& row : grid) {
      for (std::size_t c = 0; c < row.size(); ++c) {
        if (c > 0) *out += '\t';
        if (row[c]) AppendCell(*out, *row[c]);
      }
      *out += '\n';
    }
  }
  parser.free(doc);
  return out;
}

namespace {

// Where a double quote at `open` encloses a field: the position of its
// closing quote, which a TAB, a line break or the end follows, when the text
// between holds a TAB or a line break, as the spreadsheet quotes only such
// fields; npos otherwise (the quote is text, as a lone quote in a cell is).
std::size_t ClosingQuote(std::string_view text, std::size_t open) {
  bool quotedKind = false;
  for (std::size_t i = open + 1; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch == '\t' || ch == '\n' || ch == '\r') quotedKind = true;
    if (ch != '"') continue;
    if (i + 1 < text.size() && text[i + 1] == '"') {
      ++i;
      continue;
    }
    const bool ends =
        i + 1 == text.size() || text[i + 1] == '\t' || text[i + 1] == '\n' || text[i + 1] == '\r';
    return ends && quotedKind ? i : std::string_view::npos;
  }
  return std::string_view::npos;
}

}  // namespace

std::string TabTextFromQuotedTabText(std::string_view text) {
  std::string out, field;
  std::size_t i = 0;
  while (i < text.size()) {
    field.clear();
    if (const std::size_t close = text[i] == '"' ? ClosingQuote(text, i) : std::string_view::npos;
        close != std::string_view::npos) {
      for (std::size_t k = i + 1; k < close; ++k) {
        field += text[k];
        if (text[k] == '"') ++k;  // one of a doubled pair
      }
      i = close + 1;
    } else {
      while (i < text.size() && text[i] != '\t' && text[i] != '\n' && text[i] != '\r') {
        field += text[i++];
      }
    }
    AppendCell(out, field);
    if (i == text.size()) break;
    if (text[i] == '\t') {
      out += '\t';
      ++i;
      continue;
    }
    i += text.compare(i, 2, "\r\n") == 0 ? 2 : 1;
    out += '\n';
  }
  return out;
}

bool HoldsCells(std::string_view text) {
  const std::size_t lineEnd = text.find('\n');
  return text.find('\t') != std::string_view::npos ||
         (lineEnd != std::string_view::npos &&
          text.find_first_not_of("\r\n", lineEnd) != std::string_view::npos);
}

std::optional<std::string> RicherCells(
    std::string_view plain,
    const std::function<std::optional<std::string>(std::string_view)>& form) {
  // A table this program wrote reads from its own text, in every wrap and
  // behind any prefix (the marks are found anywhere in the first line).
  if (IsGeneratedTableTop(InsideFromUtf8(plain.substr(0, plain.find_first_of("\r\n"))))) {
    return std::nullopt;
  }
  // So does a Markdown table: its text is the source the user keeps.
  std::size_t head = 0;
  for (std::size_t n = 0; n < kMarkdownHeadLines && head < plain.size(); ++n) {
    head = std::min(plain.find_first_of("\r\n", head), plain.size());
    head += plain.compare(head, 2, "\r\n") == 0 ? 2 : 1;
  }
  if (BeginsMarkdownTable(InsideFromUtf8(plain.substr(0, head)))) return std::nullopt;
  if (std::optional<std::string> quoted = form(kQuotedTabTextType); quoted && !quoted->empty()) {
    return TabTextFromQuotedTabText(*quoted);
  }
  if (std::optional<std::string> html = form(kHtmlType)) return TabTextFromHtml(*html);
  return std::nullopt;
}

}  // namespace tabulon
