// talvenc --grade EXERCISE STUDENT_FOLDER... [--csv FILE] [--report FILE.html] [--on-chip]:
// every student folder translated, compiled for the exercise's target and run on its
// scenarios, in memory (and in gpsim on the exercise's chip with --on-chip).
#pragma once

// Exit 0 when every student passes, 1 when one fails or cannot be graded, 2 for a bad
// exercise, command line or output file. folders are the students' folders as given.
struct grade_options {
  const char *csv, *report;  // nullptr: not written
  bool on_chip;
};
int grade_students(const char *exercise_folder, char **folders, int folder_count, const grade_options &options);
