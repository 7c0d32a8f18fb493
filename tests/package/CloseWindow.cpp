// close_window TITLE [TENTHS]: asks the top-level window of that title to close, as a
// window manager's close button does (WM_DELETE_WINDOW), once it appears (at most 60 s)
// and TENTHS of a second more (default none).
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  xcb_intern_atom_reply_t* r =
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  const xcb_atom_t atom = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
  std::free(r);
  return atom;
}

std::string Title(xcb_connection_t* c, xcb_window_t w) {
  xcb_get_property_reply_t* r = xcb_get_property_reply(
      c, xcb_get_property(c, 0, w, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
  std::string title;
  if (r)
    title.assign(static_cast<const char*>(xcb_get_property_value(r)),
                 size_t(xcb_get_property_value_length(r)));
  std::free(r);
  return title;
}

xcb_window_t Find(xcb_connection_t* c, xcb_window_t root, const std::string& title) {
  xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, xcb_query_tree(c, root), nullptr);
  xcb_window_t found = XCB_WINDOW_NONE;
  if (!tree) return found;
  const xcb_window_t* children = xcb_query_tree_children(tree);
  for (int k = 0; k < xcb_query_tree_children_length(tree) && !found; ++k)
    if (Title(c, children[k]) == title) found = children[k];
  std::free(tree);
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: close_window TITLE [TENTHS]\n");
    return 2;
  }
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) return 1;
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
  for (int tries = 0; tries < 600; ++tries) {
    if (const xcb_window_t w = Find(c, root, argv[1])) {
      if (argc == 3)
        std::this_thread::sleep_for(std::chrono::milliseconds(100 * std::atoi(argv[2])));
      xcb_client_message_event_t e{};
      e.response_type = XCB_CLIENT_MESSAGE;
      e.format = 32;
      e.window = w;
      e.type = Atom(c, "WM_PROTOCOLS");
      e.data.data32[0] = Atom(c, "WM_DELETE_WINDOW");
      e.data.data32[1] = XCB_CURRENT_TIME;
      xcb_send_event(c, 0, w, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&e));
      // A round trip: the server has handled the message before this client goes.
      std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
      xcb_disconnect(c);
      return 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  std::fprintf(stderr, "close_window: no window \"%s\"\n", argv[1]);
  return 1;
}
