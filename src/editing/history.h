// Undo and redo of the commands that change the document: its cells
// (headings and continuation marks included), column widths and options.
// A step keeps what its command changed and nothing else: one side of each
// changed cell and width, swapped with the document's at every undo and
// redo, so a step costs the changed cells' text once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>

#include "document/document.h"

namespace tabulon {

class History {
 public:
  explicit History(Document& doc, std::size_t limit = 100);
  ~History();
  History(const History&) = delete;
  History& operator=(const History&) = delete;

  // Everything the document takes between Begin and End is one step; pairs
  // inside an open step join it. A step that leaves the document as it
  // found it is dropped; a new step drops the steps undone before it.
  void Begin();
  void End();
  bool Open() const { return depth_ > 0; }

  // The document as before the newest step, or as after the newest step
  // undone; the selection then covers the data cells that changed. False,
  // and nothing done, when there is no such step. An open step ends first
  // and goes on as a new one.
  bool Undo();
  bool Redo();

  std::size_t Steps() const { return undo_.size(); }
  // Memory the kept steps take, in bytes.
  std::size_t Bytes() const;

  struct Step;
  struct Pending;

 private:
  void Apply(Step& step);
  bool Shift(std::deque<std::unique_ptr<Step>>& from, std::deque<std::unique_ptr<Step>>& to);

  Document& doc_;
  std::size_t limit_;
  int depth_ = 0;
  std::unique_ptr<Pending> pending_;
  std::deque<std::unique_ptr<Step>> undo_;
  std::deque<std::unique_ptr<Step>> redo_;
};

// Begin and End around a scope.
class HistoryStep {
 public:
  explicit HistoryStep(History& history) : history_(history) { history_.Begin(); }
  ~HistoryStep() { history_.End(); }
  HistoryStep(const HistoryStep&) = delete;
  HistoryStep& operator=(const HistoryStep&) = delete;

 private:
  History& history_;
};

}  // namespace tabulon
