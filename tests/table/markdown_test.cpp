// Markdown pipe tables written and read, held to GitHub's parser: cmark-gfm
// with its table extension reads what is written, and reads the hand-written
// shapes as the reader does.
#include "table/markdown.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <tuple>

#include "document/blanks.h"
#include "document/text_columns.h"
#include "table/reader.h"

namespace tabulon {
namespace {

using Lines = std::vector<std::string>;
using Table = std::vector<Lines>;  // rows of cells

std::string Joined(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

#ifdef TABULON_CMARK_GFM
// The first table of each text as cmark-gfm reads it: each cell's HTML, its
// alignment aside. All texts go through one run, parted by paragraphs.
std::vector<Table> Parsed(const Lines& texts) {
  const std::string path = ::testing::TempDir() + "markdown_" + std::to_string(getpid()) + ".md";
  std::ofstream file(path);
  for (const std::string& text : texts) file << text << "\n\n@@\n\n";
  file.close();
  FILE* pipe = popen((std::string(TABULON_CMARK_GFM) + " -e table --unsafe " + path).c_str(), "r");
  std::string html;
  for (char buffer[4096]; const std::size_t n = fread(buffer, 1, sizeof buffer, pipe);) {
    html.append(buffer, n);
  }
  EXPECT_EQ(pclose(pipe), 0);
  std::remove(path.c_str());
  std::vector<Table> tables(1);
  for (std::size_t at = 0; (at = html.find('<', at)) != std::string::npos; ++at) {
    const std::string tag = html.substr(at, 4);
    if (tag == "<p>@") tables.emplace_back();
    if (tag == "<tr>") tables.back().emplace_back();
    if (tag != "<th>" && tag != "<th " && tag != "<td>" && tag != "<td ") continue;
    const std::size_t open = html.find('>', at) + 1;
    tables.back().back().push_back(html.substr(open, html.find("</t", open) - open));
  }
  tables.pop_back();  // after the last text
  return tables;
}

// Over random grids the table written reads as a plain pipe table of the
// same cell texts does: "| " and " |" around each, "|" escaped, the lines
// of a cell joined by "<br>" (their blanks at the ends, and empty last
// lines, aside).
TEST(MarkdownConformance, WrittenTablesReadAsPlainOnesOfTheSameCells) {
  std::mt19937 random(7);
  const Lines texts = {"表ｶﾅ", "a b", "|",     " x|y ", "\\", "a\\", "`c|d`", "``",
                       "<",    "< 1", "**b**", "○①α※",  "",   "  ",  "12"};
  const Lines numbers = {"12", " 3,400", "-5", "\\100", ""};  // a column of them is right-aligned
  Lines written, plain;
  for (int i = 0; i < 200; ++i) {
    Document doc;
    SetUpGrid(doc);
    for (Option o : {Option::Title, Option::ColumnHeadings, Option::RowHeadings})
      doc.options.SetChecked(o, false);
    const int rows = 1 + random() % 6, cols = 1 + random() % 5, numeric = random() % (cols + 2);
    std::string table;
    for (int r = 0, top = kFirstDataRow, height = 1; r < rows; ++r, top += height, height = 1) {
      for (int c = 0; c < cols; ++c) {
        const Lines& from = c == numeric ? numbers : texts;
        std::string cell;
        for (int k = 0, lines = random() % 4 ? 1 : 2 + random() % 2; k < lines; ++k) {
          const bool last = r == rows - 1 && c == cols - 1;  // holds text, so is written
          const std::string text = from[random() % from.size()] + (last ? "z" : "");
          doc.grid.SetCell(kFirstDataCol + c, top + k, text);
          if (k >= height) doc.grid.SetCell(0, top + k, "↑");
          height = std::max(height, k + 1);
          cell += (k ? "<br>" : "") + std::string(StripText(text));
        }
        while (cell.ends_with("<br>")) cell.resize(cell.size() - 4);
        ReplaceAllChars(cell, "|", "\\|");
        table += "| " + cell + " ";
      }
      table += "|\n";
      for (int c = 0; c < cols && r == 0; ++c) table += c + 1 < cols ? "|---" : "|---|\n";
    }
    written.push_back(Joined(WriteMarkdownTable(doc)));
    plain.push_back(table);
  }
  const std::vector<Table> got = Parsed(written), want = Parsed(plain);
  ASSERT_EQ(got.size(), written.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    ASSERT_FALSE(want[i].empty()) << plain[i];
    EXPECT_EQ(got[i], want[i]) << written[i] << "\n" << plain[i];
  }
}

// Tables as people write them, in the places they keep them, read as the
// parser reads them: each is read and written again, and both are parsed.
TEST(MarkdownConformance, HandWrittenShapesReadAsTheParserReadsThem) {
  const std::pair<std::string, std::string> shapes[] = {
      {"a|b\n-|-\n1|2\nx\n|y", ""},                     // no outer bars, no padding
      {"| a | b |\n|:--|:-:|\n|  x |\n| 1 | 2 |", ""},  // colons, fewer cells
      {"| a\\|b | `c\\|d` | x |\n|---|---|---|\n| e\\\\|f | `g|h` |", ""},
      {"|a|b|\n|-|-|\n| x<br>y | z<br>w<br>v |\n||\n| |\n|| e |", ""},
      {"  | a | b |\n  |---|---|\n  | 1 | 2 |", "- item\n\n  | a | b |\n  |---|---|\n  | 1 | 2 |"},
      {"> | a | b |\n> |---|---|\n> | 1 | 2 |\n>\n> after", ""},
      {"// | 名前 | 値 |\n// |---|--:|\n// | りんご | 1 |",
       "| 名前 | 値 |\n|---|--:|\n| りんご | 1 |"},
      {"# a | b\n# --|--\n# 1 | 2\n#\n# 3 | 4", "a | b\n--|--\n1 | 2\n\n3 | 4"},
      {"Title\n\n| a |\n|---|\n| 1 |\n> quote\n| 2 |", ""},
      {"| a |\n|---|\n| 1 |\n    code\n- item", ""},
      {"| a |\n|---|\n| ``` |\n```` x\n| 1 |\n````", ""},
      {"| a |\n|---|\n<div>\n| 1 |", ""},
      {"| a | b |\n|---|---|\n<b>x</b> | 1 |", ""},
  };
  Lines ours, theirs;
  for (const auto& [text, parsed] : shapes) {
    Document doc;
    SetUpGrid(doc);
    EXPECT_EQ(ReadClipboardText(doc, text).kind, ReadReport::Kind::MarkdownTable) << text;
    ours.push_back(Joined(WriteMarkdownTable(doc)));
    theirs.push_back(parsed.empty() ? text : parsed);
  }
  const std::vector<Table> got = Parsed(ours), want = Parsed(theirs);
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    ASSERT_FALSE(want[i].empty()) << theirs[i];
    EXPECT_EQ(got[i], want[i]) << theirs[i] << "\nread as\n" << ours[i];
  }
}
#endif

TEST(MarkdownWriter, WritesTheCellsTheRuledTableShows) {
  Document doc;
  SetUpGrid(doc);
  const Lines cells[] = {{"品名", "数量"}, {" りんご ", "12"}, {"a|b", " 1,200"}, {"  x", ""}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 2; ++c) doc.grid.SetCell(kFirstDataCol + c, kFirstDataRow + r, cells[r][c]);
  doc.grid.SetCell(0, 4, "↑");
  doc.grid.SetCell(0, 6, "↑");  // a mark alone after the last row with text: left out
  doc.grid.SetCell(3, 0, "数");
  doc.options.SetTitle(" 価格 ");
  EXPECT_EQ(WriteMarkdownTable(doc),
            (Lines{"価格", "", "|     ＼ | a         | 数    |", "| -----: | --------- | ----- |",
                   "|      1 | 品名      | 数量  |", "|      2 | りんご    | 12    |",
                   "| 3<br>4 | a\\|b<br>x | 1,200 |"}));
}

TEST(MarkdownReader, ReadsEveryCellAndCountsWhatIsLeftOut) {
  Document doc;
  SetUpGrid(doc);
  std::string text = "// T\n//\n// | a | b |\n// |---|---|\n// |1|2|3" + std::string(33, '|') +
                     "x|y|\n// | c<BR />d |\n";
  for (int r = 0; r < 255; ++r) text += "// | r |\n";
  const ReadReport report = ReadClipboardText(doc, text + "//\n// after\n");
  EXPECT_EQ(std::tuple(report.kind, report.prefix),
            std::tuple(ReadReport::Kind::MarkdownTable, "// "));
  EXPECT_EQ(std::tuple(report.rowsLeftOut, report.fieldsLeftOut, report.linesLeftOut),
            std::tuple(3L, 2L, 1L));
  const Grid& g = doc.grid;
  EXPECT_EQ((Lines{g.Cell(2, 1), g.Cell(3, 1), g.Cell(4, 2), g.Cell(2, 3), g.Cell(2, 4),
                   g.Cell(0, 4), g.Cell(2, 5)}),
            (Lines{"a", "b", "3", "c", "d", "↑", "r"}));
  EXPECT_EQ(doc.options.Title(), "T");
}

}  // namespace
}  // namespace tabulon
