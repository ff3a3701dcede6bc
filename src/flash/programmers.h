// The programmer tools TALVEN can run on a written hex: presets read from programmers.txt
// (bundled beside the targets; the user's configuration folder's and the project folder's
// add to it, a preset of the same name replacing the earlier one).
#pragma once
#include <iterator>

#include "model/chips.h"

constexpr int programmer_capacity = 16;
constexpr int programmer_name_size = 32;
constexpr int programmer_command_size = 256;
constexpr int programmer_text_size = 200;
constexpr int programmer_chip_name_size = 24;
constexpr int programmer_error_size = 4352;  // a file's path and the line's complaint
constexpr int default_limit_seconds = 120;

struct programmer_preset {
  char name[programmer_name_size];
  char about[programmer_text_size];     // the hardware it drives
  char program[programmer_command_size];  // words split at blanks; {hex} and {chip} replaced
  char verify[programmer_command_size];   // empty: the program command verifies, or none
  char success[programmer_text_size];   // in the program command's output when it worked; empty: the exit status alone
  char verify_success[programmer_text_size];
  char install[programmer_text_size];   // how the tool is usually installed
  int limit_seconds;                    // each command is stopped after this
  char chips[chip_count][programmer_chip_name_size];  // the tool's name for each chip_table row; empty: unknown
  int line;                             // where its section began
};

extern programmer_preset programmers[programmer_capacity];
extern int programmer_count;
extern char chosen_programmer[programmer_name_size];  // "choose NAME" outside the sections; empty: none

void clear_programmers();
// One file's text read into the table, errors as "LABEL line N: ..."; false at the first error.
bool read_programmers_text(const char *text, long size, const char *label, char *error, int error_size);
// The bundled file, then the user's configuration folder's, then project_folder's (nullptr: none).
bool load_programmers(const char *project_folder, char *error, int error_size);
// The files load_programmers reads, in that order (the bundled one first).
int programmer_files(const char *project_folder, char (*paths)[4096], int capacity);
const programmer_preset *find_programmer(const char *name);
