// Timings of the core on full-size input: the writer on a full grid, the
// reader on a full grid's tab text (plain, and with quoted cells of two
// lines) and on a large text that mostly falls outside the grid, the
// conversions at the edges (UTF-8 and CP932, both ways), the width of a full
// grid's cells, the whole filter in process, the row and column menus'
// commands on a full grid, and the cell paste and copy. Text inside is UTF-8:
// the generated texts, well formed, go to the core as they are.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "bench_text.h"
#include "document/codec.h"
#include "document/document.h"
#include "document/inside_text.h"
#include "document/width.h"
#include "editing/alignment.h"
#include "editing/cells.h"
#include "editing/history.h"
#include "editing/inserted_content.h"
#include "editing/mouse.h"
#include "editing/rows_columns.h"
#include "filter/filter.h"
#include "table/paste.h"
#include "table/reader.h"
#include "table/writer.h"

namespace {

using namespace tabulon;
std::size_t TextBytes(const std::vector<std::string>& lines) {
  std::size_t n = 0;
  for (const std::string& l : lines) n += l.size() + 2;  // CR LF
  return n;
}

// All 35 x 256 data cells filled, 1 to 12 columns each, widths fitted, and every
// option of the ruled style on.
std::unique_ptr<Document> MakeFullGrid(bool box) {
  auto doc = std::make_unique<Document>();
  SetUpGrid(*doc);
  bench::Lcg rng(7);
  for (int c = kFirstDataCol; c <= kLastCol; ++c) {
    for (int r = kFirstDataRow; r <= kLastRow; ++r) {
      const bench::CellKind kind = bench::PickKind(rng);
      doc->grid.SetCell(c, r, bench::MakeCellUtf8(rng, kind, 1 + rng.Below(12)));
    }
    FitColWidth(*doc, c);
  }
  OptionState& o = doc->options;
  o.SetChecked(Option::Ruled, true);
  o.SetChecked(Option::ColumnHeadings, true);
  o.SetChecked(Option::RowHeadings, true);
  o.SetChecked(Option::Title, true);
  o.SetTitle("月次売上表 Plan");
  o.SetChecked(box ? Option::BoxRules : Option::AsciiRules, true);
  return doc;
}

void BM_WriteFullGrid(benchmark::State& state, bool box) {
  auto doc = MakeFullGrid(box);
  // The first run widens; every later run does equal work.
  const std::vector<std::string> lines = WriteTable(*doc).lines;
  if (lines.size() < 2 * kLastRow) {
    state.SkipWithError("the writer left rows out of a full grid");
    return;
  }
  const std::size_t bytes = TextBytes(lines);
  for (auto _ : state) {
    benchmark::DoNotOptimize(WriteTable(*doc));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["lines"] = static_cast<double>(lines.size());
}
BENCHMARK_CAPTURE(BM_WriteFullGrid, ascii, false);
BENCHMARK_CAPTURE(BM_WriteFullGrid, box, true);

// The tab text of a full grid, as a spreadsheet would copy it.
const bench::TabTextShape kFullGridShape{256, 35, 1, 12, 0, 1};

// Reads `text` into a document made once: SetUpGrid does what a new window
// does, and every cell is overwritten, so each run does a fresh read's work.
void ReadLoop(benchmark::State& state, const std::string& text, ReadReport::Kind expect,
              bool expectLeftOut) {
  auto doc = std::make_unique<Document>();
  SetUpGrid(*doc);
  const ReadReport first = ReadClipboardText(*doc, text);
  if (first.kind != expect ||
      (expectLeftOut && (first.rowsLeftOut == 0 || first.fieldsLeftOut == 0))) {
    state.SkipWithError("the text was not read as planned");
    return;
  }
  for (auto _ : state) {
    SetUpGrid(*doc);
    benchmark::DoNotOptimize(ReadClipboardText(*doc, text));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
  state.counters["rowsLeftOut"] = static_cast<double>(first.rowsLeftOut);
  state.counters["fieldsLeftOut"] = static_cast<double>(first.fieldsLeftOut);
}

void BM_ReadPlainTabText(benchmark::State& state) {
  const std::string text = bench::MakeTabTextUtf8(kFullGridShape);
  ReadLoop(state, text, ReadReport::Kind::PlainTabText, false);
}
BENCHMARK(BM_ReadPlainTabText)->Unit(benchmark::kMicrosecond);

// 11 to 13.5 MB of UTF-8 (about 10 MB as CP932) of which only 256 rows and
// 35 fields fit. dense: every field filled; sparse: a long export whose
// fields are mostly empty.
void BM_ReadLargeText(benchmark::State& state, bench::TabTextShape shape) {
  const std::string text = bench::MakeTabTextUtf8(shape);
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
  ReadLoop(state, text, ReadReport::Kind::PlainTabText, true);
}
BENCHMARK_CAPTURE(BM_ReadLargeText, dense, bench::TabTextShape{37000, 60, 1, 6, 0, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReadLargeText, sparse, bench::TabTextShape{130000, 60, 1, 6, 92, 3})
    ->Unit(benchmark::kMillisecond);

// The full grid's tab text with the first cell of every line holding a line
// break, quoted as a spreadsheet copies it: each record takes two rows, so
// half the records fall below the grid.
void BM_ReadQuotedTabText(benchmark::State& state) {
  const std::string plain = bench::MakeTabTextUtf8(kFullGridShape);
  std::string text;
  for (std::size_t at = 0; at < plain.size();) {
    const std::size_t tab = plain.find('\t', at), end = plain.find('\n', at);
    const std::string first = plain.substr(at, tab - at);
    text += "\"" + first + "\n" + first + "\"" + plain.substr(tab, end + 1 - tab);
    at = end + 1;
  }
  ReadLoop(state, text, ReadReport::Kind::PlainTabText, false);
}
BENCHMARK(BM_ReadQuotedTabText)->Unit(benchmark::kMicrosecond);

// A full 99-column table of 256 rows as the writer made it, back through the
// reader: the text a user copies out of a source file. As it was written,
// behind a comment leader on every line, and with every data row typed into
// by hand (a character more in its first cell moves all its bars).
enum class TableCopy { AsWritten, Prefixed, TouchedByHand };

void BM_ReadGeneratedTable(benchmark::State& state, bool box, TableCopy copy) {
  auto doc = MakeFullGrid(box);
  std::string text;
  const std::string bar = box ? "│" : "|";  // the box style's vertical line
  for (std::string line : WriteTable(*doc).lines) {
    if (copy == TableCopy::TouchedByHand && line.starts_with(bar)) {
      line.insert(line.find(bar, bar.size() + 1) + bar.size(), "x");
    }
    text += (copy == TableCopy::Prefixed ? "    // " : "") + line + "\r\n";
  }
  ReadLoop(state, text, ReadReport::Kind::GeneratedTable, false);
}
BENCHMARK_CAPTURE(BM_ReadGeneratedTable, ascii, false, TableCopy::AsWritten)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadGeneratedTable, box, true, TableCopy::AsWritten)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadGeneratedTable, ascii_prefixed, false, TableCopy::Prefixed)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadGeneratedTable, ascii_by_hand, false, TableCopy::TouchedByHand)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadGeneratedTable, box_by_hand, true, TableCopy::TouchedByHand)
    ->Unit(benchmark::kMicrosecond);

// "貼り付け" of tab text at the first data cell of a document made once: every
// run writes the same cells and, the columns having widened on the first run,
// sets the same widths.
void PasteLoop(benchmark::State& state, const std::string& text) {
  auto doc = std::make_unique<Document>();
  SetUpGrid(*doc);
  doc->CurCol = kFirstDataCol;
  doc->CurRow = kFirstDataRow;
  if (PasteText(*doc, text) != PasteKind::Block) {
    state.SkipWithError("the text was not pasted as a block");
    return;
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(PasteText(*doc, text));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void BM_PasteFullBlock(benchmark::State& state) {
  PasteLoop(state, bench::MakeTabTextUtf8(kFullGridShape));
}
BENCHMARK(BM_PasteFullBlock)->Unit(benchmark::kMicrosecond);

// The same large texts as BM_ReadLargeText, pasted instead of read.
void BM_PasteLargeText(benchmark::State& state, bench::TabTextShape shape) {
  const std::string text = bench::MakeTabTextUtf8(shape);
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
  PasteLoop(state, text);
}
BENCHMARK_CAPTURE(BM_PasteLargeText, dense, bench::TabTextShape{37000, 60, 1, 6, 0, 2})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PasteLargeText, sparse, bench::TabTextShape{130000, 60, 1, 6, 92, 3})
    ->Unit(benchmark::kMillisecond);

// "コピー" of every data cell of a full grid.
void BM_CopyCellsFullGrid(benchmark::State& state) {
  auto doc = MakeFullGrid(false);
  SelectAllCells(*doc);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::optional<std::string> text = CopyCells(*doc);
    bytes = text ? text->size() : 0;
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_CopyCellsFullGrid)->Unit(benchmark::kMicrosecond);

// "文字揃え" over every data cell of a full grid, right then left, so each
// run rewrites every cell.
void BM_AlignFullGrid(benchmark::State& state) {
  auto doc = MakeFullGrid(false);
  SelectAllCells(*doc);
  bool right = false;
  for (auto _ : state) {
    AlignCells(*doc, (right = !right) ? Alignment::Right : Alignment::Left);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_AlignFullGrid)->Unit(benchmark::kMicrosecond);

// "連番" ▸ "行" down a full column: the search for the last used row finds
// it at once; ▸ "列" along a row of a grid used only in its first column
// reads every other column whole first.
void BM_NumberDownFullColumn(benchmark::State& state) {
  auto doc = MakeFullGrid(false);
  doc->CurCol = 5;
  doc->CurRow = 1;
  for (auto _ : state) {
    NumberDown(*doc);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_NumberDownFullColumn)->Unit(benchmark::kMicrosecond);

void BM_NumberAcrossEmptyColumns(benchmark::State& state) {
  Document doc;
  SetUpGrid(doc);
  doc.grid.SetCell(2, 256, "x");
  doc.CurCol = 2;
  doc.CurRow = 1;
  for (auto _ : state) {
    NumberAcross(doc);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_NumberAcrossEmptyColumns)->Unit(benchmark::kMicrosecond);

// Undo and redo of the largest steps: a full-grid paste over a full grid
// and the clear of a full grid, each swapped back and forth. The counter
// gives the memory of a history of 100 such steps, alternately a full
// paste and a clear, in MiB.
void BM_UndoRedoFullGrid(benchmark::State& state, bool clear) {
  auto doc = MakeFullGrid(false);
  History history(*doc);
  const std::string block = bench::MakeTabTextUtf8(kFullGridShape);
  {
    HistoryStep step(history);
    if (clear) {
      ClearTable(*doc);
    } else {
      doc->CurCol = kFirstDataCol;
      doc->CurRow = kFirstDataRow;
      PasteText(*doc, block);
    }
  }
  bool undo = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(undo ? history.Undo() : history.Redo());
    undo = !undo;
  }
  auto full = MakeFullGrid(false);
  History hundred(*full);
  for (int i = 0; i < 100; ++i) {
    HistoryStep step(hundred);
    if (i % 2) {
      ClearTable(*full);
    } else {
      full->CurCol = kFirstDataCol;
      full->CurRow = kFirstDataRow;
      PasteText(*full, block);
    }
  }
  state.counters["steps"] = static_cast<double>(hundred.Steps());
  state.counters["historyMiB"] = static_cast<double>(hundred.Bytes()) / (1 << 20);
}
BENCHMARK_CAPTURE(BM_UndoRedoFullGrid, paste, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_UndoRedoFullGrid, clear, true)->Unit(benchmark::kMicrosecond);

// The conversions at the edges, on a full grid's tab text ("mixed") and on
// the same shape of text all ASCII words or all kanji: UTF-8 from the
// clipboard or the filter's input made inside text (checked and copied),
// inside text given out as UTF-8, saved or filtered out as CP932, and a CP932
// file or filter input made inside text.
enum class CodecText { Mixed, Ascii, Kanji };
std::string MakeCodecText(CodecText kind) {
  if (kind == CodecText::Mixed) return bench::MakeTabTextUtf8(kFullGridShape);
  const auto cell = kind == CodecText::Ascii ? bench::CellKind::Word : bench::CellKind::Kanji;
  bench::Lcg rng(kFullGridShape.seed);
  std::string text;
  for (int r = 0; r < kFullGridShape.lines; ++r) {
    for (int c = 0; c < kFullGridShape.fields; ++c) {
      if (c > 0) text.push_back('\t');
      text += bench::MakeCellUtf8(rng, cell, 1 + rng.Below(kFullGridShape.maxBytes));
    }
    text.push_back('\n');
  }
  return text;
}

void BM_InsideFromUtf8(benchmark::State& state, CodecText kind) {
  const std::string utf8 = MakeCodecText(kind);
  for (auto _ : state) {
    Replacements replaced;
    benchmark::DoNotOptimize(InsideFromUtf8(utf8, replaced));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
}
BENCHMARK_CAPTURE(BM_InsideFromUtf8, mixed, CodecText::Mixed)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_InsideFromUtf8, ascii, CodecText::Ascii)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_InsideFromUtf8, kanji, CodecText::Kanji)->Unit(benchmark::kMicrosecond);

void BM_Utf8FromInside(benchmark::State& state) {
  const std::string inside = MakeCodecText(CodecText::Mixed);
  for (auto _ : state) benchmark::DoNotOptimize(Utf8FromInside(inside));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * inside.size()));
}
BENCHMARK(BM_Utf8FromInside)->Unit(benchmark::kMicrosecond);

void BM_Cp932FromInside(benchmark::State& state, CodecText kind) {
  const std::string inside = MakeCodecText(kind);
  for (auto _ : state) {
    Replacements replaced;
    benchmark::DoNotOptimize(Cp932FromInside(inside, replaced));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * inside.size()));
}
BENCHMARK_CAPTURE(BM_Cp932FromInside, mixed, CodecText::Mixed)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Cp932FromInside, ascii, CodecText::Ascii)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Cp932FromInside, kanji, CodecText::Kanji)->Unit(benchmark::kMicrosecond);

void BM_InsideFromCp932(benchmark::State& state) {
  const std::string cp932 = Cp932FromInside(MakeCodecText(CodecText::Mixed));
  for (auto _ : state) {
    Replacements replaced;
    benchmark::DoNotOptimize(InsideFromCp932(cp932, replaced));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * cp932.size()));
}
BENCHMARK(BM_InsideFromCp932)->Unit(benchmark::kMicrosecond);

// The check under InsideFromUtf8 alone: valid text is checked in place and
// not copied (the copy is what BM_InsideFromUtf8 adds).
void BM_SanitizeUtf8(benchmark::State& state, CodecText kind) {
  const std::string utf8 = MakeCodecText(kind);
  for (auto _ : state) {
    Replacements replaced;
    std::string storage;
    benchmark::DoNotOptimize(SanitizeUtf8(utf8, storage, replaced));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
}
BENCHMARK_CAPTURE(BM_SanitizeUtf8, mixed, CodecText::Mixed)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SanitizeUtf8, ascii, CodecText::Ascii)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SanitizeUtf8, kanji, CodecText::Kanji)->Unit(benchmark::kMicrosecond);

// The columns of every cell of a full grid, as the writer measures them:
// the benchmark texts in UTF-8, one cell in ten with a character the code
// page lacks (an accent, an emoji and its sequences, Hangul).
void BM_TextColumnsFullGrid(benchmark::State& state) {
  static constexpr std::string_view kOthers[] = {"é", "€", "✅", "⚠\uFE0F", "👍🏽", "🇯🇵", "한"};
  bench::Lcg rng(3);
  std::vector<std::string> cells;
  std::size_t bytes = 0, columns = 0;
  for (int k = 0; k < 256 * 35; ++k) {
    std::string cell = bench::MakeCellUtf8(rng, bench::PickKind(rng), 1 + rng.Below(12));
    if (rng.Below(10) == 0) cell += kOthers[rng.Below(std::size(kOthers))];
    bytes += cell.size();
    columns += TextColumns(cell);
    cells.push_back(std::move(cell));
  }
  for (auto _ : state) {
    std::size_t sum = 0;
    for (const std::string& cell : cells) sum += TextColumns(cell);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["columns"] = benchmark::Counter(
      static_cast<double>(state.iterations() * columns), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_TextColumnsFullGrid)->Unit(benchmark::kMicrosecond);

// tabulon-filter's work without the process: UTF-8 in, read, write, UTF-8 out.
void BM_RunFilterFullGrid(benchmark::State& state) {
  const std::string utf8 = bench::MakeTabTextUtf8(kFullGridShape);
  const std::vector<std::string> args{"--title", "Plan", "--rules", "box"};
  for (auto _ : state) {
    std::istringstream in(utf8);
    std::ostringstream out, err;
    if (RunFilter(args, in, out, err) != 0 || out.view().empty()) {
      state.SkipWithError("the filter failed");
      return;
    }
    benchmark::DoNotOptimize(out.view().data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * utf8.size()));
}
BENCHMARK(BM_RunFilterFullGrid)->Unit(benchmark::kMicrosecond);

// The row and column commands on a full grid at its first data cell, where
// deletes and inserts move the most. A command that empties or moves lines
// runs on a fresh copy of the grid each time, made outside the timing; copy
// and paste do the same work on every run. `hold` fills the held line first.
using LineCommand = void (*)(Document&, GridEditState&);

template <auto Command>
void AsLineCommand(Document& doc, GridEditState& editing) {
  if constexpr (std::is_invocable_v<decltype(Command), Document&, GridEditState&>) {
    Command(doc, editing);
  } else {
    Command(doc);
  }
}

void BM_LineCommand(benchmark::State& state, LineCommand command, bool freshGrid,
                    LineCommand hold) {
  const auto full = MakeFullGrid(false);
  full->CurCol = kFirstDataCol;
  full->CurRow = kFirstDataRow;
  Document doc = *full;
  GridEditState editing;
  if (hold != nullptr) hold(doc, editing);
  for (auto _ : state) {
    if (freshGrid) {
      state.PauseTiming();
      doc = *full;
      state.ResumeTiming();
    }
    command(doc, editing);
    benchmark::ClobberMemory();
  }
}
constexpr LineCommand kNoHold = nullptr;
BENCHMARK_CAPTURE(BM_LineCommand, CopyColumn, AsLineCommand<CopyColumn>, false, kNoHold);
BENCHMARK_CAPTURE(BM_LineCommand, CopyRow, AsLineCommand<CopyRow>, false, kNoHold);
BENCHMARK_CAPTURE(BM_LineCommand, CutColumn, AsLineCommand<CutColumn>, true, kNoHold);
BENCHMARK_CAPTURE(BM_LineCommand, CutRow, AsLineCommand<CutRow>, true, kNoHold);
BENCHMARK_CAPTURE(BM_LineCommand, PasteColumn, AsLineCommand<PasteHeldLine>, false,
                  AsLineCommand<CopyColumn>);
BENCHMARK_CAPTURE(BM_LineCommand, PasteRow, AsLineCommand<PasteHeldLine>, false,
                  AsLineCommand<CopyRow>);
BENCHMARK_CAPTURE(BM_LineCommand, DeleteColumn, AsLineCommand<DeleteColumn>, true, kNoHold);
BENCHMARK_CAPTURE(BM_LineCommand, DeleteRow, AsLineCommand<DeleteRow>, true, kNoHold);
BENCHMARK_CAPTURE(BM_LineCommand, InsertColumnBefore, AsLineCommand<InsertColumnBefore>, true,
                  kNoHold);
BENCHMARK_CAPTURE(BM_LineCommand, InsertColumnAfter, AsLineCommand<InsertColumnAfter>, true,
                  kNoHold);
BENCHMARK_CAPTURE(BM_LineCommand, InsertRowBefore, AsLineCommand<InsertRowBefore>, true, kNoHold);
BENCHMARK_CAPTURE(BM_LineCommand, InsertRowAfter, AsLineCommand<InsertRowAfter>, true, kNoHold);

// The mouse rules on a full grid: a press on each kind of cell (the right
// press on a data cell reads a clipboard text), a drag step, a border release
// and a double-click on a column heading.
void BM_MouseRule(benchmark::State& state, GridCell cell, ShiftState shift, int rule) {
  const auto full = MakeFullGrid(false);
  Document doc = *full;
  GridEditState editing;
  const std::string clipboard = "a\tb\r\n";
  for (auto _ : state) {
    switch (rule) {
      case 0:
        GridMouseDown(doc, editing, cell, shift, [&] { return clipboard; });
        break;
      case 1:
        doc.CurCol = doc.CurRow = 5;
        GridMouseMove(doc, cell, shift);
        break;
      case 2:
        GridMouseUp(doc, editing, cell, 200, false);
        break;
      default:
        doc.CurCol = cell.col;
        doc.CurRow = cell.row;
        GridDoubleClick(doc);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK_CAPTURE(BM_MouseRule, PressCorner, GridCell{1, 0}, kLeftButton, 0);
BENCHMARK_CAPTURE(BM_MouseRule, PressColumnHeading, GridCell{9, 0}, kLeftButton, 0);
BENCHMARK_CAPTURE(BM_MouseRule, RightPressDataCell, GridCell{9, 9}, kRightButton, 0);
BENCHMARK_CAPTURE(BM_MouseRule, ShiftPress, GridCell{9, 200}, kShift | kLeftButton, 0);
BENCHMARK_CAPTURE(BM_MouseRule, Drag, GridCell{30, 250}, kLeftButton, 1);
BENCHMARK_CAPTURE(BM_MouseRule, BorderRelease, GridCell{9, 0}, 0, 2);
BENCHMARK_CAPTURE(BM_MouseRule, DoubleClickHeading, GridCell{9, 0}, kLeftButton, 3);
BENCHMARK_CAPTURE(BM_MouseRule, DoubleClickCorner, GridCell{1, 0}, kLeftButton, 3);

}  // namespace
