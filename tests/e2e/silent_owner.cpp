// A clipboard owner that never answers, as a hung program would be: it takes
// CLIPBOARD, prints "ready", and then reads every request without replying
// until it is ended.
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main() {
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 1;
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
  const xcb_window_t window = xcb_generate_id(c);
  xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                    XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
  const char* name = "CLIPBOARD";
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
  if (!atom) return 1;
  xcb_set_selection_owner(c, window, atom->atom, XCB_CURRENT_TIME);
  std::free(atom);
  xcb_flush(c);
  std::puts("ready");
  std::fflush(stdout);
  while (xcb_generic_event_t* event = xcb_wait_for_event(c)) std::free(event);
  return 0;
}
