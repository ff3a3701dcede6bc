#include "startup/start_folder.h"

#include <filesystem>
#include <string>

#include "platform/message_box.h"

bool enter_start_folder(int argc, char **argv) {
  if (argc > 2) {
    show_message_box(box_error, "talven", "usage: talven [FOLDER]");
    return false;
  }
  if (argc < 2) return true;
  std::error_code error;
  std::filesystem::path folder = argv[1];
  std::string problem;
  if (!std::filesystem::exists(folder, error)) problem = "the folder " + folder.string() + " does not exist";
  else if (!std::filesystem::is_directory(folder, error)) problem = folder.string() + " is not a folder";
  else if (std::filesystem::current_path(folder, error); error) problem = "cannot enter the folder " + folder.string();
  if (problem.empty()) return true;
  show_message_box(box_error, "talven", problem.c_str());
  return false;
}
