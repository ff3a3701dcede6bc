// Draws TALVEN's window headless, as it looks right after start in the current
// folder, and saves the client area as a PNG picture: talven_screenshot file.png
#include "files/files.h"
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
  if (!write_png_file(argv[1], surface_rows(), client_width, client_height, surface_width)) {
    std::fprintf(stderr, "talven_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
