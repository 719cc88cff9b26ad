// A passing note over the bottom of a window: it takes no focus, stops
// nothing, and goes after a few seconds or at a click.
#pragma once

#include <QLabel>
#include <string>

#include "document/codec.h"

class QTimer;

namespace tabulon {

class Notice : public QLabel {
 public:
  explicit Notice(QWidget* window);
  // Shows `text` (replacing a note still shown) for some seconds.
  void Show(const QString& text);

 protected:
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QTimer* timer_;
};

// What a note says of characters CP932 lacks that were written "?": how
// many, and which.
QString ReplacedNote(const Replacements& replaced);

// What a note says of byte sequences that are no character, read as U+FFFD
// (from the clipboard or a file): how many.
QString UnreadableNote(const Replacements& replaced);

}  // namespace tabulon
