// The table being edited, without a window: the document, the editing state
// beside it and the undo history, with every grid command run as one undo
// step. Each call says what the window must do next (repaint some cells or
// everything, put a text on the clipboard, act on the open cell editor); the
// questions and today's date come from the platform given at construction.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "document/document.h"
#include "editing/editing_state.h"
#include "editing/grid_command.h"
#include "editing/history.h"
#include "editing/inserted_content.h"
#include "editing/keys.h"
#include "editing/mouse.h"
#include "table/comment_wrap.h"
#include "table/writer.h"

namespace tabulon {

// What the window does after a session call.
struct Outcome {
  // Selection: the selection alone; Cells: the cells, widths and selection;
  // All: the options and the scroll place too, as after a read.
  enum class Repaint { None, Selection, Cells, All };
  // The open cell editor's own command, run by the editor instead; or, for
  // a double-click on a data cell, the editor to open on it.
  enum class EditorAction { None, Cut, Copy, Paste, Delete, Open };
  Repaint repaint = Repaint::None;
  std::optional<std::string> clipboard;  // inside text for the system clipboard
  EditorAction editor = EditorAction::None;
};

// What a command is run with beside itself: a date item's format, a
// fixed-text item's text (inside text), and whether a cell editor is open.
struct CommandArgs {
  DateItem date = DateItem::YYYYMMDD1;
  std::string text;
  bool editorOpen = false;
};

class GridSession {
 public:
  struct Platform {
    std::function<bool(const char* question)> ask;  // Yes/No (UTF-8, CR LF); true for Yes
    std::function<std::string()> pasteText;         // inside text, what "貼り付け" pastes
    std::function<std::string()> clipboardText;     // inside text, enabling "貼り付け" or not
    std::function<CivilDate()> today;
    std::function<std::optional<EraYear>(CivilDate)> eraOf;  // for the era date item
  };

  // An empty grid, set up as at start-up.
  explicit GridSession(Platform platform);
  GridSession(const GridSession&) = delete;
  GridSession& operator=(const GridSession&) = delete;

  Document& document() { return doc_; }
  const Document& document() const { return doc_; }
  GridEditState& editing() { return editing_; }
  const GridEditState& editing() const { return editing_; }
  History& history() { return history_; }

  // Any command of the grid, one undo step (undo and redo aside).
  Outcome Run(GridCommand command, const CommandArgs& args = {});

  // Start-up: the clipboard's text read into a new grid, as TAB cells or as
  // the reader dispatches it.
  Outcome Start(std::string_view text, bool cells);
  // The form the start-up text came in, for the preview to open on: a
  // Markdown table, the line comment a table stood behind; plain for
  // anything else.
  WrapStyle CameIn() const { return cameIn_; }
  // A file loaded in the preview: read into the grid as one step, and put
  // on the clipboard.
  Outcome Load(const std::string& text);
  // "作成する": the table as the writer lays it out; the writer widens
  // columns, so the window repaints the cells.
  WrittenTable Write();
  // The same cells as a Markdown table, for the preview's "Markdown".
  std::vector<std::string> WriteMarkdown() const;
  // "Ｏ Ｋ": that table wrapped in the chosen comment style, or the Markdown
  // table, as the clipboard gets it (inside text, lines ended by CR LF).
  std::string Finished(WrittenTable table, WrapStyle style) const;
  // A cell's text committed from the editor: one step.
  void SetCell(int col, int row, std::string text);

  // A mouse gesture, from press to release, is one step: BeginGesture opens
  // it before the press closes an open editor, EndGesture closes it after the
  // release and whatever the view does with it. A double-click's press runs
  // the command its cell gives, and on a data cell opens the editor.
  void BeginGesture();
  Outcome Press(GridCell cell, ShiftState shift, bool doubleClick);
  GridMenu Release(GridCell cell, int x, bool rightButton);
  void EndGesture();
  // A move while a button is held or none: with the left button alone, the
  // block from the pressed data cell (true when the selection was set); see
  // GridMouseMove. Hover: whether the pointer has entered another cell, so
  // that the hint shown must go.
  bool MouseMove(GridCell under, ShiftState shift);
  bool Hover(GridCell under);
  // A key on the grid with no cell being edited: records the current cell
  // and gives the command the key runs, if any (GridKeyDown).
  std::optional<GridCommand> KeyDown(GridCell current, GridKey key, ShiftState shift);

  // What the view's own selection, sizing and moving do to the document.
  // They make no step of their own: the mouse gesture that does them is one.
  //
  // The selection the view shows: a block and its focused cell, the anchor
  // the block's corner opposite that cell.
  void SelectBlock(const CellBlock& block, GridCell focused);
  // A border dragged: column `col` `pixels` wide, never less than 0.
  void DragWidth(int col, int pixels);
  // A heading dragged to another place: the data column or row moves there
  // whole (cells, heading, width), shifting the ones between; anything but
  // two data columns or rows does nothing.
  void MoveColumn(int from, int to);
  void MoveRow(int from, int to);

 private:
  Outcome RunInsert(const char* question, void (*insert)(Document&));

  Platform platform_;
  Document doc_;
  GridEditState editing_;
  History history_{doc_};
  bool gesture_ = false;
  WrapStyle cameIn_ = WrapStyle::Plain;
};

}  // namespace tabulon
