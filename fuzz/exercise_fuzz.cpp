// The exercise.txt reader on any text, in a folder holding the files an exercise
// names: an exercise it accepts has a title, a target and a scenario, each scenario
// a file of the folder; one it refuses says which line.
#include <cstdlib>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "grade/exercise.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  for (const char *name : {"press.txt", "hidden.txt", "statement.txt", "target.def"}) {
    FILE *file = std::fopen(name, "w");
    if (!file) std::abort();
    std::fclose(file);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  char error[exercise_error_size] = "";
  if (!parse_exercise(reinterpret_cast<const char *>(data), long(size), ".", error, sizeof error)) {
    FUZZ_CHECK(std::strncmp(error, "exercise.txt line ", 18) == 0);
    int line = std::atoi(error + 18);
    FUZZ_CHECK(line >= 1 && line <= lines_in(data, size) + 1);  // what is missing is missing after the last line
    return 0;
  }
  FUZZ_CHECK(exercise.title[0] && exercise.target[0]);
  FUZZ_CHECK(exercise.scenario_count >= 1 && exercise.scenario_count <= exercise_scenario_capacity);
  FUZZ_CHECK(exercise.margin_ns >= -1);
  for (int k = 0; k < exercise.scenario_count; k++) {
    const exercise_scenario &s = exercise.scenarios[k];
    FUZZ_CHECK(field_is_terminated(s.file, sizeof s.file));
    FUZZ_CHECK(std::filesystem::is_regular_file(s.file));
    FUZZ_CHECK(s.line >= 1 && s.line <= lines_in(data, size));
  }
  return 0;
}
