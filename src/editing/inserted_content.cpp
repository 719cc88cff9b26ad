#include "editing/inserted_content.h"

#include <ctime>

#include "document/inside_text.h"
#include "table/writer.h"

namespace tabulon {

namespace {

std::string TwoDigits(int n) {
  std::string s = std::to_string(n % 100);
  return s.size() < 2 ? "0" + s : s;
}

}  // namespace

void InsertText(Document& doc, std::string_view text) {
  if (!InDataCells(doc.CurCol, doc.CurRow)) return;
  doc.grid.SetCell(doc.CurCol, doc.CurRow, std::string(text));
  doc.CurRow = 0;
  WidenColWidth(doc, doc.CurCol);
}

CivilDate LocalToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string FormatDate(DateItem item, CivilDate date, const std::optional<EraYear>& era) {
  // The program speaks Japanese whatever the system's locale: "/" is the
  // Japanese date separator.
  const std::string yyyy = std::to_string(date.year);
  const std::string yy = TwoDigits(date.year);
  const std::string mm = TwoDigits(date.month);
  const std::string dd = TwoDigits(date.day);
  std::string utf8;
  switch (item) {
    case DateItem::YYYYMMDD1:
      utf8 = yyyy + "/" + mm + "/" + dd;
      break;
    case DateItem::YYMMDD1:
      utf8 = "'" + yy + "/" + mm + "/" + dd;
      break;
    case DateItem::MMDD1:
      utf8 = mm + "/" + dd;
      break;
    case DateItem::YYYYMMDD2:
      utf8 = yyyy + "年" + mm + "月" + dd + "日";
      break;
    case DateItem::YMMDD1:
      utf8 = "'" + yy + "年" + mm + "月" + dd + "日";
      break;
    case DateItem::MMDD2:
      utf8 = mm + "月" + dd + "日";
      break;
    case DateItem::GGMMDD1:
      // The year within the era: the Western year's last two digits after
      // an era name would make a date that does not exist.
      utf8 = era ? era->name + TwoDigits(era->year) : yy;
      utf8 += "年" + mm + "月" + dd + "日";
      break;
  }
  return InsideFromUtf8(utf8);
}

void NumberDown(Document& doc) {
  if (!InDataCells(doc.CurCol, doc.CurRow)) return;
  const Grid& g = doc.grid;
  const int last = FindLastRow(g);
  int n = 1;
  for (int r = doc.CurRow; r <= last; ++r) {
    if (g.Cell(0, r) != ContinuationMark) doc.grid.SetCell(doc.CurCol, r, std::to_string(n++));
  }
}

void NumberAcross(Document& doc) {
  if (!InDataCells(doc.CurCol, doc.CurRow)) return;
  const int last = FindLastCol(doc.grid);
  int n = 1;
  for (int c = doc.CurCol; c <= last; ++c) doc.grid.SetCell(c, doc.CurRow, std::to_string(n++));
}

}  // namespace tabulon
