// Draws the picture of the simulation page shown in the README and the manual: the
// choice example loaded, opened under "Go", RA0 typed and the chart run a moment.
//   talven_sim_screenshot examples/choice docs/screenshot-sim.png
#include <cstdio>
#include <filesystem>

#include "files/files.h"
#include "platform/backends/headless.h"

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: talven_sim_screenshot example-folder file.png\n");
    return 2;
  }
  std::filesystem::path picture = std::filesystem::absolute(argv[2]);
  std::filesystem::current_path(argv[1]);
  headless_create_window();
  send_message(message_paint);
  send_message(message_other);  // the definition load armed by the first paint
  click_at(80, 20), click_at(320, 20);   // "Fich", "LD G"
  click_at(200, 20), click_at(440, 20);  // "Go", "Sim"
  send_message(message_char, '0');        // RA0 on
  click_at(30, 50);                       // run
  for (int k = 0; k < 5; k++) send_message(message_simulation_tick);
  if (!write_png_file(picture.string().c_str(), surface_rows(), client_width, client_height, surface_width)) {
    std::fprintf(stderr, "talven_sim_screenshot: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
