// The graphic file loader on any bytes: it must stay inside every field and the
// grid, and what it loaded must save and load back to the very same file. The
// loaded chart is then translated and compiled, as "G->H" does.
#include "files/files.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  load_fuzz_definition();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  check_round_trip(config_graphic, load_graphic_file, save_graphic_file, data, size);
  compile_and_check(compile_graphic_to_hex);
  check_project_fields();
  return 0;
}
