#include "desktop/x11_clipboard.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "desktop/desktop.h"

namespace tabulon {

namespace {

template <typename T>
using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
XcbReply<T> Reply(T* reply) {
  return XcbReply<T>(reply, &std::free);
}

xcb_atom_t Intern(xcb_connection_t* c, std::string_view name, bool onlyIfExists) {
  const auto reply = Reply(xcb_intern_atom_reply(
      c, xcb_intern_atom(c, onlyIfExists, static_cast<uint16_t>(name.size()), name.data()),
      nullptr));
  return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// The property's value, deleting it (which asks an INCR owner for a chunk).
XcbReply<xcb_get_property_reply_t> Take(xcb_connection_t* c, xcb_window_t window,
                                        xcb_atom_t property) {
  return Reply(xcb_get_property_reply(
      c, xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
      nullptr));
}

void Append(std::string& out, xcb_get_property_reply_t* reply) {
  out.append(static_cast<const char*>(xcb_get_property_value(reply)),
             static_cast<std::size_t>(xcb_get_property_value_length(reply)));
}

// The next event of `type` that `wanted` accepts, within the owner's time
// to answer (counted afresh for each, as an INCR owner sends chunk by
// chunk); empty when none comes.
template <typename Wanted>
XcbReply<xcb_generic_event_t> Wait(xcb_connection_t* c, uint8_t type, Wanted wanted) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + kAnswerTimeout;
  for (;;) {
    while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
      auto event = Reply(e);
      if ((e->response_type & 0x7F) == type && wanted(e)) return event;
    }
    if (xcb_connection_has_error(c)) return Reply<xcb_generic_event_t>(nullptr);
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return Reply<xcb_generic_event_t>(nullptr);
    pollfd p{xcb_get_file_descriptor(c), POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(left.count())) < 0 && errno != EINTR) {
      return Reply<xcb_generic_event_t>(nullptr);
    }
  }
}

}  // namespace

xcb_window_t SelectionOwner(xcb_connection_t* c, std::string_view name) {
  const xcb_atom_t atom = Intern(c, name, true);
  if (atom == XCB_ATOM_NONE) return XCB_NONE;
  const auto owner =
      Reply(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom), nullptr));
  return owner ? owner->owner : xcb_window_t{XCB_NONE};
}

// The window manager's windows share the client's part of their ids with
// the window that owns WM_S0.
bool CompositorOwnsX11Clipboard(xcb_connection_t* c) {
  const xcb_window_t clipboard = SelectionOwner(c, "CLIPBOARD");
  const xcb_window_t manager = SelectionOwner(c, "WM_S0");
  const uint32_t client = ~xcb_get_setup(c)->resource_id_mask;
  return clipboard != XCB_NONE && manager != XCB_NONE && (clipboard & client) == (manager & client);
}

X11Clipboard::X11Clipboard(std::size_t limit) : c_(xcb_connect(nullptr, nullptr)), limit_(limit) {}

X11Clipboard::~X11Clipboard() {
  xcb_disconnect(c_);
}

FormRead X11Clipboard::Read(std::string_view target, std::string& out) {
  if (xcb_connection_has_error(c_)) return FormRead::Unavailable;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
  const xcb_atom_t clipboard = Atom("CLIPBOARD"), type = Atom(target);
  const xcb_atom_t incr = Atom("INCR"), property = Atom("TABULON_CLIPBOARD");
  if (!screen || !clipboard || !type || !incr || !property) return FormRead::Unavailable;
  const auto owner =
      Reply(xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, clipboard), nullptr));
  if (!owner || owner->owner == XCB_NONE) return FormRead::NoText;

  if (window_ == 0) {
    window_ = xcb_generate_id(c_);
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, XCB_CW_EVENT_MASK, &events);
  }
  xcb_convert_selection(c_, window_, clipboard, type, property, XCB_CURRENT_TIME);
  xcb_flush(c_);
  const auto notify = Wait(c_, XCB_SELECTION_NOTIFY, [&](const xcb_generic_event_t* e) {
    return reinterpret_cast<const xcb_selection_notify_event_t*>(e)->requestor == window_;
  });
  if (!notify) return FormRead::NoAnswer;
  if (reinterpret_cast<const xcb_selection_notify_event_t*>(notify.get())->property == XCB_NONE) {
    return FormRead::NoText;  // not on offer in that form
  }
  const auto first = Take(c_, window_, property);
  if (!first) return FormRead::NoAnswer;
  if (first->type != incr) {
    Append(out, first.get());
    return FormRead::Text;
  }
  for (;;) {
    const auto chunkReady = Wait(c_, XCB_PROPERTY_NOTIFY, [&](const xcb_generic_event_t* e) {
      const auto* p = reinterpret_cast<const xcb_property_notify_event_t*>(e);
      return p->window == window_ && p->atom == property && p->state == XCB_PROPERTY_NEW_VALUE;
    });
    if (!chunkReady) return FormRead::NoAnswer;
    const auto chunk = Take(c_, window_, property);
    if (!chunk) return FormRead::NoAnswer;
    if (xcb_get_property_value_length(chunk.get()) == 0) return FormRead::Text;
    Append(out, chunk.get());
    if (out.size() > limit_) return FormRead::TooLarge;
  }
}

bool X11Clipboard::ProgramOwns() {
  return !xcb_connection_has_error(c_) && !CompositorOwnsX11Clipboard(c_);
}

bool X11Clipboard::Offers(std::string_view target) {
  if (!targets_) {
    std::string list;
    targets_.emplace();
    if (Read("TARGETS", list) == FormRead::Text) {
      for (std::size_t at = 0; at + 4 <= list.size(); at += 4) {
        xcb_atom_t atom;
        std::memcpy(&atom, list.data() + at, 4);
        targets_->push_back(atom);
      }
    }
  }
  const xcb_atom_t atom = Atom(target);
  return atom && std::find(targets_->begin(), targets_->end(), atom) != targets_->end();
}

xcb_atom_t X11Clipboard::Atom(std::string_view name) {
  return Intern(c_, name, false);
}

}  // namespace tabulon
