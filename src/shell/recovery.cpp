// The recovery copies: the project written beside its files every half minute
// while it has unsaved changes, removed once nothing is left unsaved, and
// offered back at start-up after a crash.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "files/files.h"
#include "model/model.h"
#include "shell/shell.h"

constexpr int recovery_interval_seconds = 30;
static int seconds_with_changes;

// The graphic and the literal file, each with its copy.
struct recovered_file {
  app_config_row row;
  bool (*write)(const char *path);
  bool (*read)(const char *path);
};
static const recovered_file recovered_files[] = {
    {config_graphic, write_graphic_file, read_graphic_file},
    {config_literal, write_literal_file, read_literal_file},
};

// Empty when the project has no name for that file.
static std::string recovery_path(app_config_row row) {
  return app_config(row)[0] ? std::string(app_config(row)) + ".recovery" : std::string();
}

static bool exists(const std::string &path) {
  std::error_code ignored;
  return !path.empty() && std::filesystem::exists(path, ignored);
}

// A copy older than its project file was overtaken by a save made elsewhere.
static bool newer_than_project(app_config_row row) {
  std::string copy = recovery_path(row);
  if (!exists(copy)) return false;
  if (!exists(app_config(row))) return true;
  std::error_code failed;
  auto copy_time = std::filesystem::last_write_time(copy, failed);
  auto project_time = std::filesystem::last_write_time(app_config(row), failed);
  return !failed && copy_time > project_time;
}

// The copies this run wrote or restored. Any other copy was left by a run that
// crashed: it is removed only once the user has been asked, or once it is older
// than its project file.
static bool own_copy[2];
static_assert(sizeof own_copy / sizeof own_copy[0] == sizeof recovered_files / sizeof recovered_files[0]);

void forget_own_recovery_copies() {
  for (bool &own : own_copy) own = false;
}

void write_recovery_copies() {
  seconds_with_changes = 0;
  for (int k = 0; k < 2; k++) {
    if (recovery_path(recovered_files[k].row).empty()) continue;
    recovered_files[k].write(recovery_path(recovered_files[k].row).c_str());
    own_copy[k] = true;
  }
  // The names that find the copies again after a crash, even in a project never exited.
  write_config_file_silently();
}

static void remove_copy(int k) {
  if (exists(recovery_path(recovered_files[k].row))) std::remove(recovery_path(recovered_files[k].row).c_str());
  own_copy[k] = false;
}

void remove_recovery_copies() {
  for (int k = 0; k < 2; k++)
    if (own_copy[k] || !newer_than_project(recovered_files[k].row)) remove_copy(k);
}

void sync_recovery_copies() {
  if (chart_changed() || literal_changed()) write_recovery_copies();
  else remove_recovery_copies();
}

void recovery_timer_tick() {
  if (!chart_changed() && !literal_changed()) {
    seconds_with_changes = 0;
    return;
  }
  if (++seconds_with_changes >= recovery_interval_seconds) write_recovery_copies();
}

static bool left_by_a_crash(int k) { return !own_copy[k] && newer_than_project(recovered_files[k].row); }

bool offer_recovery() {
  bool newer[2] = {left_by_a_crash(0), left_by_a_crash(1)};
  if (!newer[0] && !newer[1]) return true;
  box_answer answer = ask_question("Recovery", "TALVEN was not closed normally. A recovery copy of the project is "
                                                "newer than its files.\n\nRestore it ?");
  if (answer == answer_no)
    for (int k = 0; k < 2; k++)
      if (newer[k]) remove_copy(k);
  if (answer != answer_yes) return answer == answer_no;
  // The restored work stays unsaved, so its copies stay until it is saved.
  for (int k = 0; k < 2; k++)
    if (newer[k]) own_copy[k] = recovered_files[k].read(recovery_path(recovered_files[k].row).c_str());
  return false;
}
