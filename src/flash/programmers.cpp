// programmers.txt: "[name]" sections of KEY value lines, # comments.
#include "flash/programmers.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "files/text_io.h"
#include "startup/bundled_files.h"

programmer_preset programmers[programmer_capacity];
int programmer_count;
char chosen_programmer[programmer_name_size];

void clear_programmers() {
  programmer_count = 0;
  chosen_programmer[0] = '\0';
}

// Reading stops at the first error; its text goes to the caller's buffer.
static const char *reading_label;
static char *error_out;
static int error_out_size;
static int current_line;
static programmer_preset *current;  // the section being read; nullptr before the first

static bool fail(const char *format, const char *detail) {
  char what[programmer_text_size + 128];
  std::snprintf(what, sizeof what, format, detail);
  std::snprintf(error_out, size_t(error_out_size), "%s line %d: %s", reading_label, current_line, what);
  return false;
}

static bool copy_value(char *field, int size, const char *value) {
  if (std::strlen(value) >= size_t(size)) return fail("value longer than %s characters", std::to_string(size - 1).c_str());
  std::strcpy(field, value);
  return true;
}

static bool take_text(size_t offset, int size, const char *value) {
  return copy_value(reinterpret_cast<char *>(current) + offset, size, value);
}

static bool take_limit(const char *value) {
  char *end;
  long seconds = std::strtol(value, &end, 10);
  if (*end || seconds < 1 || seconds > 3600) return fail("limit '%s' is not a number of seconds from 1 to 3600", value);
  current->limit_seconds = int(seconds);
  return true;
}

// "chip pic16f628a PIC16F628A": TALVEN's name, then the tool's.
static bool take_chip(const char *value) {
  const char *blank = std::strchr(value, ' ');
  if (!blank) return fail("chip needs TALVEN's name and the tool's: %s", value);
  std::string ours(value, blank);
  for (int k = 0; k < chip_count; k++)
    if (ours == chip_table[k].name) {
      const char *theirs = blank + std::strspn(blank, " \t");
      if (std::strpbrk(theirs, " \t")) return fail("the tool's chip name is one word: %s", theirs);
      return copy_value(current->chips[k], programmer_chip_name_size, theirs);
    }
  return fail("no TALVEN target %s (pic16f628a, pic16f84a, pic16f877a, pic16f88, pic16f887)", ours.c_str());
}

#define TEXT_KEY(key, field) \
  {key, offsetof(programmer_preset, field), sizeof(programmer_preset::field), nullptr}
static const struct {
  const char *key;
  size_t offset;
  int size;
  bool (*take)(const char *value);  // keys that are not plain text
} keys[] = {
    TEXT_KEY("about", about),     TEXT_KEY("program", program), TEXT_KEY("verify", verify),
    TEXT_KEY("success", success), TEXT_KEY("verify-success", verify_success), TEXT_KEY("install", install),
    {"limit", 0, 0, take_limit},  {"chip", 0, 0, take_chip},
};
#undef TEXT_KEY

// A section with no program cannot run anything.
static bool finish_section() {
  if (!current || current->program[0]) return true;
  current_line = current->line;
  return fail("[%s] has no program line", current->name);
}

static bool begin_section(const char *line) {
  if (!finish_section()) return false;
  size_t length = std::strlen(line);
  std::string name(line + 1, length - 1);
  if (line[length - 1] != ']' || (name.pop_back(), name.empty()) || name.find_first_of(" \t[]") != std::string::npos)
    return fail("a section is one name in brackets: %s", line);
  if (name.size() >= size_t(programmer_name_size)) return fail("name longer than 31 characters: %s", name.c_str());
  current = const_cast<programmer_preset *>(find_programmer(name.c_str()));
  if (!current) {
    if (programmer_count == programmer_capacity) return fail("more than %s programmers", "16");
    current = &programmers[programmer_count++];
  }
  *current = {};
  std::strcpy(current->name, name.c_str());
  current->limit_seconds = default_limit_seconds;
  current->line = current_line;
  return true;
}

static bool take_line(char *line) {
  size_t length = std::strlen(line);
  while (length > 0 && (line[length - 1] == ' ' || line[length - 1] == '\t' || line[length - 1] == '\r')) line[--length] = 0;
  line += std::strspn(line, " \t");
  if (!*line || *line == '#') return true;
  if (*line == '[') return begin_section(line);
  size_t key_length = std::strcspn(line, " \t");
  std::string key(line, key_length);
  const char *value = line + key_length + std::strspn(line + key_length, " \t");
  if (!*value) return fail("%s has no value", key.c_str());
  if (key == "choose") {
    if (current) return fail("choose goes before the first section: %s", value);
    return copy_value(chosen_programmer, programmer_name_size, value);
  }
  for (const auto &k : keys) {
    if (key != k.key) continue;
    if (!current) return fail("%s before the first [name] section", k.key);
    return k.take ? k.take(value) : take_text(k.offset, k.size, value);
  }
  return fail("unknown key %s (about, program, verify, success, verify-success, install, limit, chip, choose)",
              key.c_str());
}

bool read_programmers_text(const char *text, long size, const char *label, char *error, int error_size) {
  reading_label = label, error_out = error, error_out_size = error_size;
  current = nullptr;
  current_line = 0;
  char line[programmer_command_size + 32];
  const char *problem = nullptr;
  for (long start = 0; next_text_line(text, size, start, line, sizeof line, problem);) {
    current_line++;
    if (problem) return fail("%s", problem);
    if (!take_line(line)) return false;
  }
  return finish_section();
}

const programmer_preset *find_programmer(const char *name) {
  for (int k = 0; k < programmer_count; k++)
    if (std::strcmp(programmers[k].name, name) == 0) return &programmers[k];
  return nullptr;
}

// The user's configuration folder: %APPDATA%\talven, $XDG_CONFIG_HOME/talven, ~/.config/talven.
static std::filesystem::path user_folder() {
#ifdef _WIN32
  const char *appdata = std::getenv("APPDATA");
  return appdata && *appdata ? std::filesystem::path(appdata) / "talven" : std::filesystem::path();
#else
  const char *config = std::getenv("XDG_CONFIG_HOME");
  if (config && *config) return std::filesystem::path(config) / "talven";
  const char *home = std::getenv("HOME");
  return home && *home ? std::filesystem::path(home) / ".config" / "talven" : std::filesystem::path();
#endif
}

int programmer_files(const char *project_folder, char (*paths)[4096], int capacity) {
  std::filesystem::path candidates[] = {std::filesystem::path(bundled_targets_folder()) / "programmers.txt",
                                        user_folder() / "programmers.txt",
                                        project_folder ? std::filesystem::path(project_folder) / "programmers.txt"
                                                       : std::filesystem::path()};
  int count = 0;
  std::error_code error;
  for (const auto &path : candidates)
    if (!path.empty() && path.has_parent_path() && std::filesystem::is_regular_file(path, error) && count < capacity &&
        path.string().size() < 4096)
      std::strcpy(paths[count++], path.string().c_str());
  return count;
}

static bool read_programmers_file(const char *path, char *error, int error_size) {
  FILE *file = open_for_reading(path);
  std::string text;
  if (file) {
    char block[4096];
    for (size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;) text.append(block, got);
    std::fclose(file);
  }
  if (!file) {
    std::snprintf(error, size_t(error_size), "cannot read %s", path);
    return false;
  }
  return read_programmers_text(text.data(), long(text.size()), path, error, error_size);
}

bool load_programmers(const char *project_folder, char *error, int error_size) {
  clear_programmers();
  char paths[3][4096];
  int count = programmer_files(project_folder, paths, 3);
  for (int k = 0; k < count; k++)
    if (!read_programmers_file(paths[k], error, error_size)) return false;
  return true;
}
