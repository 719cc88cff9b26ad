// Cells from an HTML table and from a spreadsheet's quoted TAB text, as the
// tab text the reader reads.
#include "table/rich_cells.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "document/blanks.h"
#include "document/codec.h"
#include "document/document.h"
#include "files/text_file.h"
#include "support/text.h"
#include "table/reader.h"

namespace tabulon {
namespace {

// What the copies of real programs below do not show: blocks in a cell, a
// cell that begins with a quote (which could open a quoted field), no table,
// an empty first table.
TEST(RichCells, HtmlTablesAsTheBrowserShowsThem) {
  EXPECT_EQ(TabTextFromHtml("<table><tr><td><p>x</p><p>\"y\"</p></td><td>\"a</td></tr></table>"),
            "\"x\n\"\"y\"\"\"\t\"\"\"a\"\n");
  EXPECT_FALSE(TabTextFromHtml("<p>no table</p>"));
  EXPECT_EQ(TabTextFromHtml("<table></table><table><tr><td>second</td></tr></table>"), "second\n");
}

// A sheet's minus sign before a number is the "-" the sheet holds; anywhere
// else it is text.
TEST(RichCells, AMinusSignBeforeANumberIsAHyphen) {
  const std::pair<const char*, const char*> cases[] = {
      {"\u22125", "-5"},         {" \u22123.5", " -3.5"},
      {"\u22121,234", "-1,234"}, {"1\u22122", "1\u22122"},
      {"\u2212", "\u2212"},      {"\u2212x", "\u2212x"},
      {"\u2212.", "\u2212."},    {"\u2212\u22125", "\u2212\u22125"},
      {"\u2212 5", "\u2212 5"},  {"\u2212<br>5", "\"\u2212\n5\""},
  };
  for (const auto& [cell, want] : cases) {
    EXPECT_EQ(TabTextFromHtml(std::string("<table><tr><td>") + cell + "</td></tr></table>"),
              std::string(want) + "\n")
        << cell;
  }
}

TEST(RichCells, AClipboardTextHoldsCellsWithATabOrASecondLine) {
  const std::pair<std::string_view, bool> cases[] = {
      {"", false},    {"one cell", false}, {"one cell\r\n", false}, {"a\n\n\r\n", false},
      {"a\tb", true}, {"a\r\nb", true},    {"a\nb\n", true},        {"\tx", true},
  };
  for (const auto& [text, cells] : cases) EXPECT_EQ(HoldsCells(text), cells) << text;
}

// The richer form where the clipboard offers one, the plain text where it is
// a table of ours.
TEST(RichCells, RicherFormsAreReadUnlessThePlainTextIsOurTable) {
  const auto offering = [](std::optional<std::string> html, std::optional<std::string> quoted) {
    return [=](std::string_view type) { return type == kHtmlType ? html : quoted; };
  };
  const std::string cellsHtml = "<table><tr><td>x</td></tr></table>";
  EXPECT_EQ(RicherCells("x", offering(cellsHtml, std::nullopt)), "x\n");
  EXPECT_EQ(RicherCells("x", offering(cellsHtml, "q\tr\n")), "q\tr\n");
  EXPECT_FALSE(RicherCells("flat", offering("<p>text</p>", std::nullopt)));
  for (const char* ours :
       {"+-^--=---^-+\n|x |\n", "  // ┌^--=---^─┐\n", "T\r\n\r\n| a |\r\n|---|\r\n"}) {
    EXPECT_FALSE(RicherCells(ours, offering(cellsHtml, "q\n"))) << ours;
  }
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
      // Gnumeric's HTML shows numbers as its screen does (its minus sign
      // read as the "-" the sheet holds).
      {"gnumeric_block.html", {{{9, 2}, "1234567.89"}}},
      {"browser_table.html", {{{8, 4}, "改行 ソース内"}}},
  };
  for (const auto& sample : samples) {
    const std::string bytes =
        LoadTextFile(std::string(TABULON_CLIPBOARD_SAMPLES) + "/" + sample.file).text;
    ASSERT_FALSE(bytes.empty()) << sample.file;
    const std::string text = std::string(sample.file).ends_with(".tsvc")
                                 ? TabTextFromQuotedTabText(bytes)
                                 : TabTextFromHtml(bytes).value_or("");
    Document doc;
    SetUpGrid(doc);
    ReadTabCells(doc, testing::Sj(text));
    for (int r = 1; r <= static_cast<int>(kSheet.size()) + 1; ++r) {
      for (int c = 1; c <= 6; ++c) {
        std::string want =
            r <= static_cast<int>(kSheet.size()) && c <= 5 ? kSheet[r - 1][c - 1] : "";
        if (auto d = sample.differs.find({r, c}); d != sample.differs.end()) want = d->second;
        EXPECT_EQ(testing::Utf8(StripText(doc.grid.Cell(c + 1, r))), want)
            << sample.file << " row " << r << " column " << c;
      }
    }
    // Lines of one cell after the first carry the continuation mark.
    for (int r : {3, 6, 7}) EXPECT_EQ(doc.grid.Cell(0, r), ContinuationMark) << sample.file;
    EXPECT_EQ(doc.grid.Cell(0, 4), "") << sample.file;
    EXPECT_EQ(doc.grid.Cell(2, 5), testing::Sj("  先頭空白"))
        << sample.file;                               // leading blanks kept
    // Numbers right-aligned to their column, the negative one too.
    for (const auto& [row, value] : {std::pair{2, "12"}, std::pair{4, "-3.5"}}) {
      const std::string& number = doc.grid.Cell(3, row);
      const std::string_view tail(value);
      ASSERT_GE(number.size(), tail.size()) << sample.file;
      EXPECT_EQ(number, std::string(number.size() - tail.size(), ' ') + value) << sample.file;
      EXPECT_GT(number.size(), tail.size()) << sample.file << ": not right-aligned";
    }
  }
}

}  // namespace
}  // namespace tabulon
