// Which side's read counts on a desktop with two clipboards: the X11 side
// is asked only after a single Wayland cell, and stands in only with cells.
#include "table/clipboard_read.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tabulon {
namespace {

using Status = ClipboardRead::Status;

ClipboardRead Read(std::string text, bool cells = false, Status status = Status::Ok) {
  return {status, std::move(text), cells, {}};
}

TEST(ClipboardRead, X11CellsStandInForASingleWaylandCell) {
  struct Case {
    const char* name;
    ClipboardRead wayland;
    std::optional<ClipboardRead> x11;  // none: no X11 program owns its clipboard
    bool asked;
    bool x11Taken;
  };
  const Case cases[] = {
      {"wayland did not answer", Read("", false, Status::NoAnswer), Read("a\tb"), false, false},
      {"wayland too large", Read("", false, Status::TooLarge), Read("a\tb"), false, false},
      {"wayland empty", Read(""), Read("a\tb"), false, false},
      {"wayland cells of a richer form", Read("x\n", true), Read("a\tb"), false, false},
      {"wayland cells in its plain text", Read("x\ny"), Read("a\tb"), false, false},
      {"no x11 program owns it", Read("x"), std::nullopt, true, false},
      {"x11 cells in its plain text", Read("x"), Read("a\r\nb"), true, true},
      {"x11 cells of a richer form", Read("x"), Read("y\n", true), true, true},
      {"x11 a single cell too", Read("x"), Read("y"), true, false},
      {"x11 did not answer", Read("x"), Read("", false, Status::NoAnswer), true, false},
      {"x11 too large", Read("x"), Read("a\tb", true, Status::TooLarge), true, false},
  };
  for (const Case& c : cases) {
    bool asked = false;
    const ClipboardRead read = WithX11Cells(c.wayland, [&] {
      asked = true;
      return c.x11;
    });
    EXPECT_EQ(asked, c.asked) << c.name;
    const ClipboardRead& expected = c.x11Taken ? *c.x11 : c.wayland;
    EXPECT_EQ(read.text, expected.text) << c.name;
    EXPECT_EQ(read.cells, expected.cells) << c.name;
    EXPECT_EQ(read.status, expected.status) << c.name;
  }
}

}  // namespace
}  // namespace tabulon
