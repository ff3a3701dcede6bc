// Draws TALVEN's window headless, as it looks right after start in the current
// folder, and saves the client area as a PNG picture: talven_screenshot file.png
#include "platform/backends/headless.h"

#include <cstdio>

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: talven_screenshot file.png\n");
    return 2;
  }
  headless_create_window();
  send_message(message_paint);
  send_message(message_other);
  if (!write_surface_png(argv[1], client_width, client_height)) {
    std::fprintf(stderr, "talven_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
