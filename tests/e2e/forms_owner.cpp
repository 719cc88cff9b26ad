// A clipboard owner that offers the same copy in several forms, as a
// spreadsheet does: each argument TYPE=FILE offers the file's bytes as TYPE
// (UTF8_STRING for the plain text). It takes CLIPBOARD, prints "ready", and
// answers requests until another program takes the clipboard.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const std::string& name) {
  xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(name.size()), name.c_str()), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
  std::free(reply);
  return atom;
}

}  // namespace

int main(int argc, char** argv) {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 1;
  std::vector<std::pair<xcb_atom_t, std::string>> forms;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const std::size_t eq = arg.find('=');
    if (eq == std::string::npos) return 2;
    std::ifstream file(arg.substr(eq + 1), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    forms.emplace_back(Atom(c, arg.substr(0, eq)), bytes.str());
  }
  const xcb_atom_t clipboard = Atom(c, "CLIPBOARD"), targets = Atom(c, "TARGETS");
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_window_t window = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
  xcb_set_selection_owner(c, window, clipboard, XCB_CURRENT_TIME);
  xcb_flush(c);
  std::puts("ready");
  std::fflush(stdout);
  while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
    const uint8_t type = event->response_type & 0x7F;
    if (type == XCB_SELECTION_CLEAR) {
      std::free(event);
      break;
    }
    if (type == XCB_SELECTION_REQUEST) {
      const auto* request = reinterpret_cast<xcb_selection_request_event_t*>(event);
      xcb_atom_t property = XCB_ATOM_NONE;
      if (request->target == targets) {
        std::vector<xcb_atom_t> list{targets};
        for (const auto& form : forms) list.push_back(form.first);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, request->requestor, request->property,
                            XCB_ATOM_ATOM, 32, static_cast<uint32_t>(list.size()), list.data());
        property = request->property;
      }
      for (const auto& [atom, bytes] : forms) {
        if (atom != request->target) continue;
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, request->requestor, request->property,
                            atom, 8, static_cast<uint32_t>(bytes.size()), bytes.data());
        property = request->property;
      }
      xcb_selection_notify_event_t notify{};
      notify.response_type = XCB_SELECTION_NOTIFY;
      notify.time = request->time;
      notify.requestor = request->requestor;
      notify.selection = request->selection;
      notify.target = request->target;
      notify.property = property;
      xcb_send_event(c, 0, request->requestor, XCB_EVENT_MASK_NO_EVENT,
                     reinterpret_cast<const char*>(&notify));
      xcb_flush(c);
    }
    std::free(event);
  }
  return 0;
}
