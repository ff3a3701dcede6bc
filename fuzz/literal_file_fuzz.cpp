// The literal file loader on any bytes: never more than 250 lines of 39
// characters, and what it loaded must save and load back to the same file. The
// loaded program is then compiled, as "L->H" does.
#include "files/files.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  load_fuzz_definition();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  init_project();
  copy_field(config_entries[config_literal].value, text_size, "input.lit");
  write_input("input.lit", data, size);
  FUZZ_CHECK(load_literal_file());
  check_project_fields();

  copy_field(config_entries[config_literal].value, text_size, "first.lit");
  FUZZ_CHECK(save_literal_file());
  init_project();
  copy_field(config_entries[config_literal].value, text_size, "first.lit");
  FUZZ_CHECK(load_literal_file());
  copy_field(config_entries[config_literal].value, text_size, "second.lit");
  FUZZ_CHECK(save_literal_file());
  FUZZ_CHECK(file_bytes("first.lit") == file_bytes("second.lit"));

  compile_and_check(compile_literal_to_hex);
  return 0;
}
