// An exercise folder: exercise.txt names the title, the target, the scenarios every
// student folder is graded on (public or hidden), a statement and the margin of an
// expectation. Everything it holds is fixed in size.
#pragma once
#include <cstdint>

constexpr int exercise_scenario_capacity = 32;
constexpr int exercise_name_size = 256;
constexpr int exercise_error_size = 400;

struct exercise_scenario {
  char file[exercise_name_size];  // as written, inside the exercise folder
  bool hidden;                    // graded, never shown to students
  int line;                       // its line in exercise.txt
};

struct exercise_record {
  char title[exercise_name_size];
  char target[exercise_name_size];  // a bundled target's name or a definition file in the folder
  bool target_is_file;
  int target_line;
  exercise_scenario scenarios[exercise_scenario_capacity];
  int scenario_count;
  char statement[exercise_name_size];  // empty: none
  int64_t margin_ns;                   // -1: one scan
};

extern exercise_record exercise;

// Reads folder/exercise.txt. False with "exercise.txt line N: ..." (or a file message) in error.
bool read_exercise(const char *folder, char *error, int error_size);
// Parses exercise.txt's text; the files it names are looked for in folder.
bool parse_exercise(const char *text, long size, const char *folder, char *error, int error_size);
