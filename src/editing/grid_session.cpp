#include "editing/grid_session.h"

#include <algorithm>
#include <utility>

#include "editing/alignment.h"
#include "editing/cells.h"
#include "editing/rows_columns.h"
#include "files/text_file.h"
#include "table/markdown.h"
#include "table/paste.h"
#include "table/reader.h"

namespace tabulon {

namespace {

using Repaint = Outcome::Repaint;
using C = GridCommand;

Outcome Repainting(Repaint repaint) {
  return {repaint, std::nullopt, Outcome::EditorAction::None};
}

// The cell menu's first four items act on the open editor's text instead.
std::optional<Outcome::EditorAction> EditorActionOf(GridCommand command) {
  switch (command) {
    case C::Cut:
      return Outcome::EditorAction::Cut;
    case C::Copy:
      return Outcome::EditorAction::Copy;
    case C::Paste:
      return Outcome::EditorAction::Paste;
    case C::Delete:
      return Outcome::EditorAction::Delete;
    default:
      return std::nullopt;
  }
}

}  // namespace

GridSession::GridSession(Platform platform) : platform_(std::move(platform)) {
  SetUpGrid(doc_);
}

Outcome GridSession::Run(GridCommand command, const CommandArgs& args) {
  if (command == C::Undo || command == C::Redo) {
    const bool done = command == C::Undo ? history_.Undo() : history_.Redo();
    return Repainting(done ? Repaint::All : Repaint::None);
  }
  if (args.editorOpen) {
    if (const std::optional<Outcome::EditorAction> action = EditorActionOf(command)) {
      if (command == C::Cut || command == C::Copy) editing_.cellPasteEnabled = true;
      return {Repaint::None, std::nullopt, *action};
    }
  }
  const HistoryStep step(history_);
  switch (command) {
    case C::Cut: {
      Outcome outcome = Repainting(Repaint::Cells);
      outcome.clipboard = CutCells(doc_);
      editing_.cellPasteEnabled = true;
      return outcome;
    }
    case C::Copy: {
      Outcome outcome = Repainting(Repaint::None);
      outcome.clipboard = CopyCells(doc_);
      editing_.cellPasteEnabled = true;
      return outcome;
    }
    case C::Paste: {
      // A table is read again as at start-up, options and all.
      const bool table = PasteText(doc_, platform_.pasteText()) == PasteKind::Table;
      return Repainting(table ? Repaint::All : Repaint::Cells);
    }
    case C::Delete: {
      bool cleared = false;
      DeleteCells(doc_, [&](const char* question) { return cleared = platform_.ask(question); });
      return Repainting(cleared ? Repaint::All : Repaint::Cells);
    }
    case C::AlignLeft:
    case C::AlignCentre:
    case C::AlignRight:
      AlignCells(doc_, command == C::AlignLeft     ? Alignment::Left
                       : command == C::AlignCentre ? Alignment::Centre
                                                   : Alignment::Right);
      break;
    case C::InsertDate: {
      const CivilDate today = platform_.today();
      InsertText(doc_, FormatDate(args.date, today, platform_.eraOf(today)));
      break;
    }
    case C::InsertText:
      InsertText(doc_, args.text);
      break;
    case C::NumberDown:
      NumberDown(doc_);
      break;
    case C::NumberAcross:
      NumberAcross(doc_);
      break;
    case C::CutColumn:
      CutColumn(doc_, editing_);
      break;
    case C::CopyColumn:
      CopyColumn(doc_, editing_);
      break;
    case C::PasteColumn:
    case C::PasteRow:
      PasteHeldLine(doc_, editing_);
      break;
    case C::DeleteColumn:
      DeleteColumn(doc_);
      break;
    case C::CutRow:
      CutRow(doc_, editing_);
      break;
    case C::CopyRow:
      CopyRow(doc_, editing_);
      break;
    case C::DeleteRow:
      DeleteRow(doc_);
      break;
    case C::InsertColumnBefore:
      return RunInsert(kInsertColumnQuestion, InsertColumnBefore);
    case C::InsertColumnAfter:
      return RunInsert(kInsertColumnQuestion, InsertColumnAfter);
    case C::InsertRowBefore:
      return RunInsert(kInsertRowQuestion, InsertRowBefore);
    case C::InsertRowAfter:
      return RunInsert(kInsertRowQuestion, InsertRowAfter);
    case C::SelectAll:
      SelectAllCells(doc_);
      break;
    case C::RenewHeadings:
    case C::FitColumn:
    case C::ToggleContinuation:
    case C::ClearContinuations:
      RunDoubleClickCommand(doc_, command);
      break;
    case C::Undo:
    case C::Redo:
      return {};
  }
  return Repainting(Repaint::Cells);
}

Outcome GridSession::RunInsert(const char* question, void (*insert)(Document&)) {
  if (platform_.ask(question)) insert(doc_);
  return Repainting(Repaint::Cells);
}

Outcome GridSession::Start(std::string_view text, bool cells) {
  SetUpGrid(doc_);
  cameIn_ = WrapStyle::Plain;
  if (cells) {
    ReadTabCells(doc_, text);
  } else if (const ReadReport report = ReadClipboardText(doc_, text);
             report.kind == ReadReport::Kind::MarkdownTable) {
    cameIn_ = WrapStyle::Markdown;
  } else if (report.kind == ReadReport::Kind::GeneratedTable) {
    cameIn_ = WrapOfPrefix(report.prefix);
  }
  return Repainting(Repaint::All);
}

Outcome GridSession::Load(const std::string& text) {
  const HistoryStep step(history_);
  ReadLoadedText(doc_, text);
  Outcome outcome = Repainting(Repaint::All);
  outcome.clipboard = text;
  return outcome;
}

WrittenTable GridSession::Write() {
  return WriteTable(doc_);
}

std::vector<std::string> GridSession::WriteMarkdown() const {
  return WriteMarkdownTable(doc_);
}

std::string GridSession::Finished(WrittenTable table, WrapStyle style) const {
  if (style == WrapStyle::Markdown) return JoinLinesCrLf(WriteMarkdown());
  WrapComment(table.lines, table.ruleWidth, style, doc_.options);
  return JoinLinesCrLf(table.lines);
}

void GridSession::SetCell(int col, int row, std::string text) {
  const HistoryStep step(history_);
  doc_.grid.SetCell(col, row, std::move(text));
}

Outcome GridSession::Press(GridCell cell, ShiftState shift, bool doubleClick) {
  Repaint repaint = Repaint::Selection;
  if (doubleClick) {
    // On the cell the first click was released on, before this press moves it.
    if (const std::optional<GridCommand> command = DoubleClickCommand(doc_)) Run(*command);
    repaint = Repaint::Cells;
  }
  GridMouseDown(doc_, editing_, cell, shift, platform_.clipboardText);
  Outcome outcome = Repainting(repaint);
  if (doubleClick && InDataCells(cell.col, cell.row)) {
    outcome.editor = Outcome::EditorAction::Open;
  }
  return outcome;
}

GridMenu GridSession::Release(GridCell cell, int x, bool rightButton) {
  return GridMouseUp(doc_, editing_, cell, x, rightButton);
}

bool GridSession::MouseMove(GridCell under, ShiftState shift) {
  return GridMouseMove(doc_, under, shift);
}

bool GridSession::Hover(GridCell under) {
  return UpdateGridHint(editing_, under);
}

std::optional<GridCommand> GridSession::KeyDown(GridCell current, GridKey key, ShiftState shift) {
  return GridKeyDown(doc_, current, key, shift);
}

void GridSession::SelectBlock(const CellBlock& block, GridCell focused) {
  const int anchorCol = focused.col == block.left ? block.right : block.left;
  const int anchorRow = focused.row == block.top ? block.bottom : block.top;
  doc_.grid.SetSelection({anchorCol, anchorRow, focused.col, focused.row});
}

void GridSession::DragWidth(int col, int pixels) {
  doc_.grid.SetColWidth(col, std::max(pixels, 0));
}

void GridSession::MoveColumn(int from, int to) {
  if (IsDataCol(from) && IsDataCol(to)) doc_.grid.MoveColumn(from, to);
}

void GridSession::MoveRow(int from, int to) {
  if (IsDataRow(from) && IsDataRow(to)) doc_.grid.MoveRow(from, to);
}

void GridSession::BeginGesture() {
  if (!std::exchange(gesture_, true)) history_.Begin();
}

void GridSession::EndGesture() {
  if (std::exchange(gesture_, false)) history_.End();
}

}  // namespace tabulon
