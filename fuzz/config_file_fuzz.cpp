// config.txt on any bytes: silent, inside the 64 rows and their fields, and the
// values read must be written and read back to the same file.
#include <unistd.h>

#include "files/files.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  init_project();
  write_input("config.txt", data, size);
  read_config_file();
  check_project_fields();

  FUZZ_CHECK(write_config_file());
  std::string first = file_bytes("config.txt");
  init_project();
  read_config_file();
  FUZZ_CHECK(write_config_file());
  FUZZ_CHECK(file_bytes("config.txt") == first);
  return 0;
}
