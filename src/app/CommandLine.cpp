#include "app/CommandLine.h"

#include <xcb/xcb.h>

#include <cstdlib>

const char* const kViewerUsage =
    "Usage: kesto [OPTIONS] [FILE]\n"
    "Shows a grid of x,y,z points as a 3-D graph or a flat colour map; FILE is loaded at\n"
    "start (without it, a sample surface is shown).\n"
    "\n"
    "      --watch        load FILE again whenever it changes on disk\n"
    "  -h, --help         show this help\n"
    "      --version      show the version\n"
    "\n"
    "In the graph window, F1 lists the keys and mouse gestures. kesto needs a display;\n"
    "kesto-render draws the same pictures without one.\n";

TViewerCommand ParseViewerCommand(const std::vector<std::string>& args) {
  TViewerCommand c;
  bool options = true;
  for (const std::string& a : args) {
    if (options && a == "--") {
      options = false;
    } else if (options && (a == "-h" || a == "--help")) {
      c.Help = true;
    } else if (options && a == "--version") {
      c.Version = true;
    } else if (options && a == "--watch") {
      c.Watch = true;
    } else if (options && a.size() > 1 && a[0] == '-') {
      c.Error = "unknown option " + a;
      return c;
    } else if (!c.File.empty()) {
      c.Error = "one file at a time: " + c.File + " and " + a;
      return c;
    } else {
      c.File = a;
    }
  }
  if (c.Watch && c.File.empty()) c.Error = "--watch needs a FILE to watch";
  return c;
}

std::string MissingDisplay() {
  const auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  // A platform chosen by hand (offscreen, wayland, ...) is the user's to answer for.
  if (set("QT_QPA_PLATFORM") || set("WAYLAND_DISPLAY")) return "";
  if (!set("DISPLAY")) return "no display is set (DISPLAY or WAYLAND_DISPLAY)";
  xcb_connection_t* x = xcb_connect(nullptr, nullptr);
  const bool reached = xcb_connection_has_error(x) == 0;
  xcb_disconnect(x);
  if (reached) return "";
  return "the display " + std::string(std::getenv("DISPLAY")) + " cannot be reached";
}
