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
  check_round_trip(config_literal, load_literal_file, save_literal_file, data, size);
  compile_and_check(compile_literal_to_hex);
  return 0;
}
