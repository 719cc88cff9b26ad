// The Wayland clipboard for a process without a window, through the
// data-control protocol that wlroots compositors (sway) and KWin announce.
// Elsewhere a Wayland program sees the clipboard only while one of its
// windows has the focus, and the program goes through Xwayland instead.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "desktop/form_read.h"

namespace tabulon {

class WaylandClipboard {
 public:
  // A connection of its own to the session's compositor; null where no
  // Wayland display runs or the compositor announces no data-control.
  static std::unique_ptr<WaylandClipboard> Connect();
  ~WaylandClipboard();
  WaylandClipboard(const WaylandClipboard&) = delete;
  WaylandClipboard& operator=(const WaylandClipboard&) = delete;

  // The forms (MIME types) the clipboard's content is offered in; none when
  // the clipboard is empty.
  const std::vector<std::string>& Forms() const;
  bool Offers(std::string_view form) const;
  // How often the clipboard's content has changed hands since the connection
  // was made (this process's own text included).
  unsigned Changes() const;

  // Asks the clipboard's owner for `form`; the returned descriptor gives the
  // bytes and ends after the last of them. -1 when it is not offered.
  int Receive(std::string_view form);

  // The bytes of `form`, waiting at most `patience` for each block of them.
  FormRead ReadForm(std::string_view form, std::string& out, std::size_t limit,
                    std::chrono::milliseconds patience);

  // The first of the forms text is asked for that the clipboard offers; empty
  // when it offers none.
  std::string TextForm() const;

  // Owns the clipboard with `utf8` as its plain text, offered in the forms
  // Wayland and X11 programs ask text for. False when the compositor refused
  // or did not answer.
  bool Own(std::string utf8);
  // Whether the clipboard still holds this process's text.
  bool Owns() const { return source_ != nullptr; }

  // The connection's descriptor, readable when the compositor has news, and
  // the handling of that news (requests to send the text, a new owner).
  // False once the connection has failed.
  int Descriptor() const;
  bool Dispatch();

  // The connection and its protocol objects; the source file defines them.
  struct Proxies;

 private:
  friend struct WaylandSourceEvents;
  explicit WaylandClipboard(std::unique_ptr<Proxies> proxies);
  bool Flush();

  std::unique_ptr<Proxies> p_;
  void* source_ = nullptr;  // this process's offer while it owns the clipboard
  std::string text_;
};

}  // namespace tabulon
