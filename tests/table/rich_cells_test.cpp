// Cells from an HTML table and from a spreadsheet's quoted TAB text, as the
// tab text the reader reads.
#include "table/rich_cells.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <utility>
#include <vector>

#include "document/codec.h"
#include "document/cp932.h"
#include "document/document.h"
#include "table/reader.h"

namespace tabulon {
namespace {

TEST(RichCells, HtmlTablesAsTheBrowserShowsThem) {
  const struct {
    const char* html;
    const char* tabText;
  } cases[] = {
      {"<table><tr><td>a</td><td> 12 </td></tr><tr><td></td><td>b\n  c</td></tr></table>",
       "a\t 12\n\tb c\n"},
      // Line breaks in a cell: quoted, as a spreadsheet copies them.
      {"<table><tr><td>一行目<br>二行目</td><td><p>x</p><p>\"y\"</p></td></tr></table>",
       "\"一行目\n二行目\"\t\"x\n\"\"y\"\"\"\n"},
      // Merged cells: the text in the first, the covered cells empty.
      {"<table><tr><td colspan=2>wide</td><td rowspan=2>tall</td><td>d</td></tr>"
       "<tr><td>e</td><td>f</td><td>g</td></tr></table>",
       "wide\t\ttall\td\ne\tf\t\tg\n"},
      // A TAB as a blank, a no-break space kept, entities read, head and body.
      {"<html><body><p>before</p><table><thead><tr><th>&lt;名&gt;</th></tr></thead>"
       "<tbody><tr><td>&nbsp;&nbsp;x&#9;y</td></tr></tbody></table></body></html>",
       "<名>\n  x y\n"},
      // A cell that begins with a quote could open a quoted field: quoted.
      {"<table><tr><td>\"a</td><td>b\"</td></tr></table>", "\"\"\"a\"\tb\"\n"},
      {"<p>no table</p>", nullptr},
      {"<table></table><table><tr><td>second</td></tr></table>", "second\n"},
  };
  for (const auto& c : cases) {
    const std::optional<std::string> got = TabTextFromHtml(c.html);
    if (!c.tabText) {
      EXPECT_FALSE(got) << c.html;
    } else {
      EXPECT_EQ(got.value_or("(none)"), c.tabText) << c.html;
    }
  }
}

// Only a field holding a TAB or a line break stands between quotes there;
// any other quote, a lone one above all, is text.
TEST(RichCells, QuotedTabTextKeepsItsCells) {
  EXPECT_EQ(
      TabTextFromQuotedTabText("\"一行目\n二行目\"\t\"前\t後\"\t12\r\n"
                               "\"1行目 \"\"引用\"\"\n2行目\"\t\t\"\t\"a\"\n"),
      "\"一行目\n二行目\"\t前 後\t12\n\"1行目 \"\"引用\"\"\n2行目\"\t\t\"\"\"\"\t\"\"\"a\"\"\"\n");
}

// The plain text where it is a table of ours or nothing richer holds cells.
TEST(RichCells, TheRichestFormIsReadUnlessThePlainTextIsOurTable) {
  const auto offering = [](std::optional<std::string> html, std::optional<std::string> quoted) {
    return [=](std::string_view type) { return type == kHtmlType ? html : quoted; };
  };
  const std::string cellsHtml = "<table><tr><td>x</td></tr></table>";
  EXPECT_EQ(RichestCells("x", offering(cellsHtml, std::nullopt)).text, "x\n");
  EXPECT_TRUE(RichestCells("x", offering(cellsHtml, std::nullopt)).cells);
  EXPECT_EQ(RichestCells("x", offering(cellsHtml, "q\tr\n")).text, "q\tr\n");
  EXPECT_FALSE(RichestCells("flat", offering("<p>text</p>", std::nullopt)).cells);
  for (const char* ours : {"+-^--=---^-+\n|x |\n", "  // ┌^--=---^─┐\n"}) {
    const ClipboardCells read = RichestCells(ours, offering(cellsHtml, "q\n"));
    EXPECT_FALSE(read.cells) << ours;
    EXPECT_EQ(read.text, ours);
  }
}

std::string Sample(const std::string& name) {
  std::ifstream file(std::string(TABULON_CLIPBOARD_SAMPLES) + "/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// The sheet the samples were copied from, cell by cell as the grid should
// hold it (blanks at the ends aside): each line of a cell a row of its own.
const std::vector<std::vector<std::string>> kSheet = {
    {"品名", "数量", "単価", "備考", "日付"},
    {"りんご", "12", "1,200", "一行目", "2026-12-08"},
    {"", "", "", "二行目", ""},
    {"みかん", "-3.5", "", "前 後", "〃"},
    {"先頭空白", "横結合", "", "1行目 \"引用\"", "\""},
    {"", "", "", "2行目", ""},
    {"", "", "", "3行目", ""},
    {"縦結合", "0.25", "a,b", "末尾空白", "<tag> &"},
    {"", "1234567.891", "最終行", "", "end"},
};

// What real spreadsheets and a browser put on the clipboard, read to the
// grid: Calc's quoted TAB text and HTML, Gnumeric's HTML, a browser's.
TEST(RichCells, SpreadsheetAndBrowserCopiesReadAsTheSheetShowsThem) {
  using Changes = std::map<std::pair<int, int>, std::string>;  // (row, col) from 1
  const struct {
    const char* file;
    Changes differs;  // where the program's copy shows the cell otherwise
  } samples[] = {
      {"calc_block.tsvc", {}},
      {"calc_block.html", {}},
      // Gnumeric's HTML shows numbers as its screen does.
      {"gnumeric_block.html", {{{4, 2}, "－3.5"}, {{9, 2}, "1234567.89"}}},
      {"browser_table.html", {{{8, 4}, "改行 ソース内"}}},
  };
  for (const auto& sample : samples) {
    const std::string bytes = Sample(sample.file);
    ASSERT_FALSE(bytes.empty()) << sample.file;
    const std::string text = std::string(sample.file).ends_with(".tsvc")
                                 ? TabTextFromQuotedTabText(bytes)
                                 : TabTextFromHtml(bytes).value_or("");
    Document doc;
    SetUpGrid(doc);
    ReadTabCells(doc, Utf8ToCp932(text));
    for (int r = 1; r <= static_cast<int>(kSheet.size()) + 1; ++r) {
      for (int c = 1; c <= 6; ++c) {
        std::string want =
            r <= static_cast<int>(kSheet.size()) && c <= 5 ? kSheet[r - 1][c - 1] : "";
        if (auto d = sample.differs.find({r, c}); d != sample.differs.end()) want = d->second;
        EXPECT_EQ(Cp932ToUtf8(StripText(doc.grid.Cell(c + 1, r))), want)
            << sample.file << " row " << r << " column " << c;
      }
    }
    // Lines of one cell after the first carry the continuation mark.
    for (int r : {3, 6, 7}) EXPECT_EQ(doc.grid.Cell(0, r), ContinuationMark) << sample.file;
    EXPECT_EQ(doc.grid.Cell(0, 4), "") << sample.file;
    EXPECT_EQ(doc.grid.Cell(2, 5), Utf8ToCp932("  先頭空白"))
        << sample.file;                               // leading blanks kept
    const std::string& number = doc.grid.Cell(3, 2);  // right-aligned to its column
    EXPECT_EQ(number, std::string(number.size() - 2, ' ') + "12") << sample.file;
  }
}

}  // namespace
}  // namespace tabulon
