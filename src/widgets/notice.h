// A passing note over the bottom of a window: it takes no focus, stops
// nothing, and goes after a few seconds or at a click.
#pragma once

#include <QLabel>
#include <cstddef>
#include <string>
#include <vector>

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

// What a note says when `count` characters CP932 lacks became "?": how many,
// and which (`chars`, UTF-8, as MissingFromCp932 lists them).
QString ReplacedNote(std::size_t count, const std::vector<std::string>& chars);

// A text typed into a field as CP932; where characters became "?", `notice`
// says which.
std::string ToCp932Noting(const QString& text, Notice* notice);

}  // namespace tabulon
