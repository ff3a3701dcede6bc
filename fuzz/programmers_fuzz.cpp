// The programmers.txt reader on any text: presets it accepts each have a name and a program,
// and a refusal says which line.
#include <cstdlib>
#include <cstring>

#include "flash/programmers.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  char error[programmer_error_size] = "";
  clear_programmers();
  if (!read_programmers_text(reinterpret_cast<const char *>(data), long(size), "programmers.txt", error, sizeof error)) {
    FUZZ_CHECK(std::strncmp(error, "programmers.txt line ", 21) == 0);
    int line = std::atoi(error + 21);
    FUZZ_CHECK(line >= 1 && line <= lines_in(data, size));
    return 0;
  }
  FUZZ_CHECK(programmer_count >= 0 && programmer_count <= programmer_capacity);
  FUZZ_CHECK(field_is_terminated(chosen_programmer, sizeof chosen_programmer));
  for (int k = 0; k < programmer_count; k++) {
    const programmer_preset &p = programmers[k];
    FUZZ_CHECK(p.name[0] && p.program[0] && field_is_terminated(p.program, sizeof p.program));
    FUZZ_CHECK(p.limit_seconds >= 1 && p.limit_seconds <= 3600);
    FUZZ_CHECK(find_programmer(p.name) == &p);  // names are unique
    for (const auto &chip : p.chips) FUZZ_CHECK(field_is_terminated(chip, sizeof chip));
  }
  return 0;
}
