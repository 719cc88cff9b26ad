#include "editing/history.h"

#include <algorithm>
#include <bitset>
#include <utility>
#include <vector>

namespace tabulon {

namespace {

constexpr int kCells = kColCount * kRowCount;

constexpr std::uint16_t IndexOf(int col, int row) {
  return static_cast<std::uint16_t>(col * kRowCount + row);
}

}  // namespace

// One side of every cell and width a step changed, packed: the cells as
// runs of consecutive indexes (a column's rows are consecutive), their texts
// one after another with each length as a variable-length number.
struct History::Step {
  std::vector<std::pair<std::uint16_t, std::uint16_t>> runs;  // first index, count
  std::string lengths;
  std::string text;
  std::vector<std::pair<std::uint8_t, int>> widths;
  std::optional<OptionState::Values> options;

  void Add(std::uint16_t index, std::string_view cell) {
    if (!runs.empty() && runs.back().first + runs.back().second == index) {
      ++runs.back().second;
    } else {
      runs.emplace_back(index, 1);
    }
    for (std::size_t n = cell.size();; n >>= 7) {
      lengths += static_cast<char>((n & 0x7f) | (n >= 0x80 ? 0x80 : 0));
      if (n < 0x80) break;
    }
    text += cell;
  }
  bool Empty() const { return runs.empty() && widths.empty() && !options; }
  std::size_t Bytes() const {
    return sizeof(Step) + runs.capacity() * sizeof(runs[0]) + lengths.capacity() + text.capacity() +
           widths.capacity() * sizeof(widths[0]) + (options ? options->title.capacity() : 0);
  }
};

// The open step: what each cell and width held when the step first changed
// it, and the options at its start.
struct History::Pending final : GridJournal {
  std::bitset<kCells> touched;
  std::vector<std::pair<std::uint16_t, std::string>> cells;
  std::bitset<kColCount> widthTouched;
  std::vector<std::pair<std::uint8_t, int>> widths;
  OptionState::Values options;

  void CellChanging(int col, int row, const std::string& text) override {
    const std::uint16_t i = IndexOf(col, row);
    if (touched[i]) return;
    touched.set(i);
    cells.emplace_back(i, text);
  }
  void WidthChanging(int col, int pixels) override {
    if (widthTouched[col]) return;
    widthTouched.set(col);
    widths.emplace_back(static_cast<std::uint8_t>(col), pixels);
  }
};

History::History(Document& doc, std::size_t limit)
    : doc_(doc), limit_(std::max<std::size_t>(limit, 1)) {}

History::~History() {
  doc_.grid.SetJournal(nullptr);
}

void History::Begin() {
  if (depth_++ > 0) return;
  pending_ = std::make_unique<Pending>();
  pending_->options = doc_.options.Save();
  doc_.grid.SetJournal(pending_.get());
}

void History::End() {
  if (depth_ == 0 || --depth_ > 0) return;
  doc_.grid.SetJournal(nullptr);
  const std::unique_ptr<Pending> pending = std::move(pending_);
  auto step = std::make_unique<Step>();
  std::sort(pending->cells.begin(), pending->cells.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [i, before] : pending->cells) {
    if (doc_.grid.Cell(i / kRowCount, i % kRowCount) != before) step->Add(i, before);
  }
  for (const auto& [col, before] : pending->widths) {
    if (doc_.grid.ColWidth(col) != before) step->widths.emplace_back(col, before);
  }
  if (!(doc_.options.Save() == pending->options)) step->options = std::move(pending->options);
  if (step->Empty()) return;
  step->runs.shrink_to_fit();
  step->lengths.shrink_to_fit();
  step->text.shrink_to_fit();
  redo_.clear();
  undo_.push_back(std::move(step));
  if (undo_.size() > limit_) undo_.pop_front();
}

// Swaps the step's side with the document's, so the same step serves the
// way back afterwards, and selects the data cells that changed.
void History::Apply(Step& step) {
  Grid& g = doc_.grid;
  Step other;
  other.runs.reserve(step.runs.size());
  std::size_t at = 0, lengthAt = 0;
  int left = kLastCol + 1, top = kLastRow + 1, right = -1, bottom = -1;
  for (const auto& [first, count] : step.runs) {
    for (int i = first; i < first + count; ++i) {
      std::size_t n = 0;
      for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(step.lengths[lengthAt++]);
        n |= static_cast<std::size_t>(byte & 0x7f) << shift;
        if (!(byte & 0x80)) break;
      }
      const int col = i / kRowCount, row = i % kRowCount;
      other.Add(static_cast<std::uint16_t>(i), g.Cell(col, row));
      g.SetCell(col, row, step.text.substr(at, n));
      at += n;
      if (InDataCells(col, row)) {
        left = std::min(left, col);
        top = std::min(top, row);
        right = std::max(right, col);
        bottom = std::max(bottom, row);
      }
    }
  }
  other.text.shrink_to_fit();
  other.lengths.shrink_to_fit();
  step.runs = std::move(other.runs);
  step.lengths = std::move(other.lengths);
  step.text = std::move(other.text);
  for (auto& [col, pixels] : step.widths) {
    const int now = g.ColWidth(col);
    g.SetColWidth(col, pixels);
    pixels = now;
  }
  if (step.options) {
    OptionState::Values now = doc_.options.Save();
    doc_.options.Restore(std::move(*step.options));
    step.options = std::move(now);
  }
  if (right >= 0) g.SetSelection({right, bottom, left, top});
}

bool History::Undo() {
  return Shift(undo_, redo_);
}

bool History::Redo() {
  return Shift(redo_, undo_);
}

// The newest step of `from` applied and moved to `to`. An open step (a
// mouse gesture's) ends first and goes on as a new one, so that what the
// gesture still changes (the border's snap at the release) is a step too.
bool History::Shift(std::deque<std::unique_ptr<Step>>& from,
                    std::deque<std::unique_ptr<Step>>& to) {
  const int open = depth_;
  if (open > 0) {
    depth_ = 1;
    End();
  }
  const bool shifted = !from.empty();
  if (shifted) {
    std::unique_ptr<Step> step = std::move(from.back());
    from.pop_back();
    Apply(*step);
    to.push_back(std::move(step));
  }
  if (open > 0) {
    Begin();
    depth_ = open;
  }
  return shifted;
}

std::size_t History::Bytes() const {
  std::size_t bytes = 0;
  for (const auto& step : undo_) bytes += step->Bytes();
  for (const auto& step : redo_) bytes += step->Bytes();
  return bytes;
}

}  // namespace tabulon
