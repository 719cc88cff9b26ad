// From a right click on a column heading to the column menu painted on
// screen, against the floor: a bare QMenu of as many items popped up by the
// same window. The first click also builds the grid's menus. Needs an X
// server: xvfb-run -a build/bin/tabulon_menu_bench [RUNS]
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "app/Unit1.h"
#include "app/grid_view.h"

namespace {

// Milliseconds from `open` to the first paint of the menu it opens.
double TimeToPaint(const std::function<void()>& open) {
  QElapsedTimer timer;
  bool painted = false;
  double ms = 0;
  struct Watch : QObject {
    std::function<void()> onPaint;
    bool eventFilter(QObject* watched, QEvent* event) override {
      if (event->type() == QEvent::Paint && qobject_cast<QMenu*>(watched)) onPaint();
      return false;
    }
  } watch;
  watch.onPaint = [&] {
    if (!painted) ms = timer.nsecsElapsed() / 1e6;
    painted = true;
  };
  qApp->installEventFilter(&watch);
  timer.start();
  open();
  while (!painted && timer.elapsed() < 5000) QCoreApplication::processEvents();
  qApp->removeEventFilter(&watch);
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  QCoreApplication::processEvents();
  return ms;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
  tabulon::TForm1 form;
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) return 1;
  QWidget* headings = form.grid()->horizontalHeader()->viewport();
  const QPoint at(10, 5);
  const auto rightClick = [&] {
    QTest::mousePress(headings, Qt::RightButton, {}, at);
    QTest::mouseRelease(headings, Qt::RightButton, {}, at);
  };
  QMenu floor(&form);
  for (const char* item : {"one", "two", "three", "four", "five", "six"}) floor.addAction(item);
  const auto popFloor = [&] { floor.popup(headings->mapToGlobal(at)); };

  const double first = TimeToPaint(rightClick);
  TimeToPaint(popFloor);
  std::vector<double> grid, bare;
  for (int i = 0; i < runs; ++i) {
    grid.push_back(TimeToPaint(rightClick));
    bare.push_back(TimeToPaint(popFloor));
  }
  std::printf(
      "right click to the column menu painted: first %.2f ms (menus built), then median "
      "%.2f ms over %d runs\n",
      first, Median(grid), runs);
  std::printf(
      "floor, a bare QMenu popped up: median %.2f ms; difference %.2f ms (a frame is "
      "16.7 ms)\n",
      Median(bare), Median(grid) - Median(bare));
  return 0;
}
