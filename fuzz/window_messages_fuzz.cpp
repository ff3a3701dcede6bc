// The window on any run of messages: clicks anywhere, every key, every character,
// on every page and in every menu, with the file operations and translations they
// start (in the fuzzer's own folder). Nothing may be written past a field, a
// table or the surface, and "Exit" ends the run as it ends the message loop.
#include <algorithm>
#include <string>

#include "editors/page_state.h"
#include "fuzz/fuzz_support.h"
#include "platform/backends/headless.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  std::string definition = file_bytes(TALVEN_SOURCE_DIR "/targets/pic16f628a.def");
  write_input("pic.def", reinterpret_cast<const uint8_t *>(definition.data()), definition.size());
  return 0;
}

static const char start_config[] =
    "title\nAutomate pic.def\nFichier.gra project.gra\nFichier.lit project.lit\nFichier.hex project.hex\n";

// Four bytes a message: what, which key, where across, where down (covering the
// whole client area and a little beyond it).
static const message_kind kinds[] = {message_paint, message_key_down, message_char, message_left_button_down,
                                     message_left_button_down, message_right_button_down,
                                     message_left_double_click, message_other, message_simulation_tick,
                                     message_left_button_up};
constexpr int kind_count = int(sizeof kinds / sizeof kinds[0]);
// Nearly every message draws the whole window again: a bounded run keeps a thousand
// inputs within seconds, and the stored inputs reach the pages in a few steps each.
constexpr size_t messages_per_input = 64;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  write_input("config.txt", reinterpret_cast<const uint8_t *>(start_config), sizeof start_config - 1);
  reset_page_state();
  headless_create_window();
  send_message(message_paint);
  size = std::min(size, 4 * messages_per_input);
  for (size_t at = 0; at + 4 <= size && !quit_posted; at += 4) {
    message_kind kind = kinds[data[at] % kind_count];
    send_message(kind, int8_t(data[at + 1]), data[at + 2] * 3, data[at + 3] * 2);
  }
  check_project_fields();
  return 0;
}
