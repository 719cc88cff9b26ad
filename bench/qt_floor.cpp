// The floor for the start-up benchmark: a bare Qt window of the main window's
// size from the same toolkit, which quits after its first paint as tabulon
// does under TABULON_QUIT_AFTER_FIRST_PAINT. With --text it also shows one
// line of Japanese text, the least any window with text pays for its fonts.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <cstring>

namespace {

class Floor : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    if (!painted_) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    painted_ = true;
  }

 private:
  bool painted_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Floor window;
  window.setWindowTitle("floor");
  window.setFixedSize(644, 349);
  if (argc > 1 && std::strcmp(argv[1], "--text") == 0) {
    auto* label = new QLabel(QString::fromUtf8("表を作成する ─┼─ ｶﾅ"), &window);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    label->setFont(font);
    label->move(10, 10);
  }
  window.show();
  return app.exec();
}
