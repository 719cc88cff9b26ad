// A clipboard manager for the end-to-end test, as small as the protocol
// allows: it owns CLIPBOARD_MANAGER, and when a program that is ending asks
// it to SAVE_TARGETS it fetches the clipboard's text from that program, takes
// the clipboard, confirms, and then serves the text until another program
// takes the clipboard; it stays the manager until it is ended. With --refuse it answers that it kept nothing, as a
// failing manager would. Prints "ready" once it is the manager. Enough for the
// test's small text: no INCR transfers, no requests without a property, and
// the current time in place of event times.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

xcb_connection_t* c;

xcb_atom_t Atom(const char* name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

// Waits for the SelectionNotify of a conversion this window asked for and
// returns the converted text; other events meanwhile are dropped.
std::string Fetch(xcb_window_t window, xcb_atom_t property) {
  while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
    const bool notify = (event->response_type & ~0x80) == XCB_SELECTION_NOTIFY;
    const bool converted =
        notify && reinterpret_cast<xcb_selection_notify_event_t*>(event)->property != XCB_NONE;
    std::free(event);
    if (!notify) continue;
    if (!converted) return {};
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 1, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24),
        nullptr);
    std::string text;
    if (reply) {
      text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                  static_cast<std::size_t>(xcb_get_property_value_length(reply)));
    }
    std::free(reply);
    return text;
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  const bool refuse = argc > 1 && std::strcmp(argv[1], "--refuse") == 0;
  int screenNumber = 0;
  c = xcb_connect(nullptr, &screenNumber);
  if (xcb_connection_has_error(c)) return 1;
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(c));
  for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
  const xcb_window_t window = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screens.data->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
  const xcb_atom_t manager = Atom("CLIPBOARD_MANAGER"), save = Atom("SAVE_TARGETS"),
                   clipboard = Atom("CLIPBOARD"), targets = Atom("TARGETS"),
                   utf8 = Atom("UTF8_STRING"), kept = Atom("TABULON_TEST_KEPT");
  xcb_set_selection_owner(c, window, manager, XCB_CURRENT_TIME);
  xcb_get_selection_owner_reply_t* owns =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, manager), nullptr);
  if (!owns || owns->owner != window) return 1;
  std::free(owns);
  std::puts("ready");
  std::fflush(stdout);

  std::string text;
  bool owner = false;
  while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
    const int type = event->response_type & ~0x80;
    if (type == XCB_SELECTION_CLEAR &&
        reinterpret_cast<xcb_selection_clear_event_t*>(event)->selection == clipboard) {
      owner = false;  // another program copied: the kept text has done its work
    }
    if (type == XCB_SELECTION_REQUEST) {
      const auto request = *reinterpret_cast<xcb_selection_request_event_t*>(event);
      xcb_atom_t answered = XCB_NONE;
      if (request.selection == manager && request.target == save && !refuse) {
        xcb_convert_selection(c, window, clipboard, utf8, kept, XCB_CURRENT_TIME);
        xcb_flush(c);
        text = Fetch(window, kept);
        xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
        owner = true;
        answered = request.property;
      } else if (request.selection == clipboard && owner && request.target == targets) {
        const xcb_atom_t offered[] = {targets, utf8};
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, request.property,
                            XCB_ATOM_ATOM, 32, 2, offered);
        answered = request.property;
      } else if (request.selection == clipboard && owner && request.target == utf8) {
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, request.requestor, request.property, utf8, 8,
                            static_cast<uint32_t>(text.size()), text.data());
        answered = request.property;
      }
      xcb_selection_notify_event_t reply{};
      reply.response_type = XCB_SELECTION_NOTIFY;
      reply.time = request.time;
      reply.requestor = request.requestor;
      reply.selection = request.selection;
      reply.target = request.target;
      reply.property = answered;
      xcb_send_event(c, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                     reinterpret_cast<const char*>(&reply));
      xcb_flush(c);
    }
    std::free(event);
  }
  return 0;
}
