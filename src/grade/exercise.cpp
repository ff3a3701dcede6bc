// exercise.txt: KEY value lines, # comments, read into one fixed record.
#include "grade/exercise.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "files/text_io.h"
#include "simulate/simulate.h"

exercise_record exercise;

// Reading stops at the first error; its text goes to the caller's buffer.
static char *error_out;
static int error_out_size;
static int current_line;
static const char *exercise_folder;

static bool fail(const char *format, const char *detail) {
  char what[exercise_error_size];
  std::snprintf(what, sizeof what, format, detail);
  std::snprintf(error_out, size_t(error_out_size), "exercise.txt line %d: %s", current_line, what);
  return false;
}

static bool file_in_folder(const char *name) {
  std::error_code error;
  return std::filesystem::is_regular_file(std::filesystem::path(exercise_folder) / name, error);
}

static bool copy_value(char *field, const char *value) {
  if (std::strlen(value) >= size_t(exercise_name_size)) return fail("value longer than %s characters", "255");
  std::strcpy(field, value);
  return true;
}

static bool take_file(char *field, const char *value) {
  if (!copy_value(field, value)) return false;
  return file_in_folder(value) || fail("no file %s in the exercise folder", value);
}

static bool take_title(const char *value) { return copy_value(exercise.title, value); }

static bool take_target(const char *value) {
  if (!copy_value(exercise.target, value)) return false;
  exercise.target_is_file = file_in_folder(value);
  exercise.target_line = current_line;
  return true;
}

static bool take_scenario(const char *value, bool hidden) {
  if (exercise.scenario_count == exercise_scenario_capacity) return fail("more than %s scenarios", "32");
  exercise_scenario &s = exercise.scenarios[exercise.scenario_count];
  if (!take_file(s.file, value)) return false;
  s.hidden = hidden;
  s.line = current_line;
  exercise.scenario_count++;
  return true;
}

static bool take_public(const char *value) { return take_scenario(value, false); }
static bool take_hidden(const char *value) { return take_scenario(value, true); }
static bool take_statement(const char *value) { return take_file(exercise.statement, value); }

static bool take_margin(const char *value) {
  if (!parse_scenario_time(value, exercise.margin_ns)) return fail("malformed margin '%s' (for example 5ms or 0.1s)", value);
  return true;
}

// The keys: the first two once and needed, the scenarios any number of times.
static const struct {
  const char *key;
  bool (*take)(const char *value);
  bool once;
} keys[] = {
    {"title", take_title, true},          {"target", take_target, true}, {"scenario", take_public, false},
    {"hidden", take_hidden, false},       {"statement", take_statement, true}, {"margin", take_margin, true},
};
constexpr int key_count = sizeof keys / sizeof keys[0];
static int seen_on_line[key_count];

static void trim_end(char *text) {
  size_t length = std::strlen(text);
  while (length > 0 && (text[length - 1] == ' ' || text[length - 1] == '\t' || text[length - 1] == '\r')) text[--length] = 0;
}

// One line without its comment: KEY value, the value running to the end of the line.
static bool parse_line(char *line) {
  if (char *hash = std::strchr(line, '#')) *hash = 0;
  trim_end(line);
  char *key = line + std::strspn(line, " \t");
  if (!*key) return true;
  char *value = key + std::strcspn(key, " \t");
  if (*value) *value++ = 0;
  value += std::strspn(value, " \t");
  int k = 0;
  while (k < key_count && std::strcmp(key, keys[k].key) != 0) k++;
  if (k == key_count) return fail("unknown key '%.60s' (title, target, scenario, hidden, statement, margin)", key);
  if (!*value) return fail("%s needs a value", key);
  if (keys[k].once && seen_on_line[k]) {
    char again[80];
    std::snprintf(again, sizeof again, "%s given again (first on line %d)", key, seen_on_line[k]);
    return fail("%s", again);
  }
  seen_on_line[k] = current_line;
  return keys[k].take(value);
}

bool parse_exercise(const char *text, long size, const char *folder, char *error, int error_size) {
  error_out = error;
  error_out_size = error_size;
  exercise_folder = folder;
  exercise = {};
  exercise.margin_ns = -1;
  std::memset(seen_on_line, 0, sizeof seen_on_line);
  current_line = 0;
  char line[1024];
  const char *problem = nullptr;
  for (long start = 0; next_text_line(text, size, start, line, int(sizeof line), problem);) {
    current_line++;
    if (problem) return fail("%s", problem);
    if (!parse_line(line)) return false;
  }
  current_line++;  // what is missing is missing at the end
  if (!exercise.title[0]) return fail("%s", "no title");
  if (!exercise.target[0]) return fail("%s", "no target");
  if (exercise.scenario_count == 0) return fail("%s", "no scenario");
  return true;
}

bool read_exercise(const char *folder, char *error, int error_size) {
  static char text[1 << 16];
  std::filesystem::path path = std::filesystem::path(folder) / "exercise.txt";
  FILE *file = std::fopen(path.string().c_str(), "rb");
  if (!file) {
    std::snprintf(error, size_t(error_size), "cannot read %s", path.string().c_str());
    return false;
  }
  size_t size = std::fread(text, 1, sizeof text, file);
  bool too_long = size == sizeof text;
  std::fclose(file);
  if (too_long) {
    std::snprintf(error, size_t(error_size), "%s is longer than 64 KB", path.string().c_str());
    return false;
  }
  return parse_exercise(text, long(size), folder, error, error_size);
}
