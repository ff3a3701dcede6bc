#include "startup/start_folder.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/message_box.h"

static const char usage[] =
    "usage: talven [FOLDER]\n"
    "       talven --help | --version\n"
    "Opens the TALVEN window in FOLDER (by default the current folder), where config.txt\n"
    "names the project's files. talvenc does the same work from the command line.\n";

const char *program_version() {
  const char *version = std::strstr(program_title, "version ");
  return version ? version + std::strlen("version ") : program_title;
}

static int enter_folder(const char *name) {
  std::error_code error;
  std::filesystem::path folder = name;
  std::string problem;
  if (!std::filesystem::exists(folder, error)) problem = "the folder " + folder.string() + " does not exist";
  else if (!std::filesystem::is_directory(folder, error)) problem = folder.string() + " is not a folder";
  else if (std::filesystem::current_path(folder, error); error) problem = "cannot enter the folder " + folder.string();
  if (problem.empty()) return start_go_on;
  show_message_box(box_error, "talven", problem.c_str());
  return 1;
}

// The options are answered before any window or display is needed.
int enter_start_folder(int argc, char **argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(usage, stdout);
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("talven (TALVEN) %s\n", program_version());
    return 0;
  }
  bool option = argc >= 2 && argv[1][0] == '-';
  if (argc > 2 || option) {
    std::fputs(usage, stderr);
    return 2;
  }
  return argc < 2 ? start_go_on : enter_folder(argv[1]);
}
