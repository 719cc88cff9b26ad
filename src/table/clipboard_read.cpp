#include "table/clipboard_read.h"

#include <utility>

#include "table/rich_cells.h"

namespace tabulon {

namespace {

bool ReadCells(const ClipboardRead& read) {
  return read.status == ClipboardRead::Status::Ok && (read.cells || HoldsCells(read.text));
}

}  // namespace

ClipboardRead WithX11Cells(ClipboardRead wayland,
                           const std::function<std::optional<ClipboardRead>()>& x11) {
  if (wayland.status != ClipboardRead::Status::Ok || wayland.text.empty() || ReadCells(wayland)) {
    return wayland;
  }
  std::optional<ClipboardRead> other = x11();
  return other && ReadCells(*other) ? std::move(*other) : std::move(wayland);
}

}  // namespace tabulon
