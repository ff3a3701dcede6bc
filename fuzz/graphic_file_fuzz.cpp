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
  init_project();
  copy_field(config_entries[config_graphic].value, text_size, "input.gra");
  write_input("input.gra", data, size);
  FUZZ_CHECK(load_graphic_file());
  check_project_fields();

  copy_field(config_entries[config_graphic].value, text_size, "first.gra");
  FUZZ_CHECK(save_graphic_file());
  init_project();
  copy_field(config_entries[config_graphic].value, text_size, "first.gra");
  FUZZ_CHECK(load_graphic_file());
  copy_field(config_entries[config_graphic].value, text_size, "second.gra");
  FUZZ_CHECK(save_graphic_file());
  FUZZ_CHECK(file_bytes("first.gra") == file_bytes("second.gra"));

  compile_and_check(compile_graphic_to_hex);
  check_project_fields();
  return 0;
}
