#include "startup/bundled_files.h"

#include <filesystem>

#include "platform/own_location.h"

// The build gives where the install puts each file, relative to the programs'
// folder, and the source tree that a program still in its build folder uses.
#ifndef TALVEN_INSTALLED_TARGETS
#define TALVEN_INSTALLED_TARGETS "../share/talven/targets"
#endif
#ifndef TALVEN_INSTALLED_MANUAL
#define TALVEN_INSTALLED_MANUAL "../share/doc/talven/manual.html"
#endif
#ifndef TALVEN_SOURCE_TREE
#define TALVEN_SOURCE_TREE "."
#endif

struct bundled_file {
  const char *installed;       // relative to the programs' folder
  const char *in_source_tree;  // relative to the source tree
};
static const bundled_file targets_folder = {TALVEN_INSTALLED_TARGETS, "targets"};
static const bundled_file manual_file = {TALVEN_INSTALLED_MANUAL, "docs/manual.html"};

static std::filesystem::path locate(const bundled_file &file, const std::string &program_folder) {
  std::error_code error;
  if (!program_folder.empty()) {
    std::filesystem::path installed = std::filesystem::path(program_folder) / file.installed;
    if (std::filesystem::exists(installed, error)) return installed.lexically_normal();
  }
  return (std::filesystem::path(TALVEN_SOURCE_TREE) / file.in_source_tree).lexically_normal();
}

std::string bundled_targets_folder_for(const std::string &program_folder) {
  return locate(targets_folder, program_folder).string();
}

// file:///C:/... on Windows, file:///usr/... elsewhere.
std::string manual_address_for(const std::string &program_folder) {
  std::string path = locate(manual_file, program_folder).generic_string();
  return path.starts_with('/') ? "file://" + path : "file:///" + path;
}

std::string bundled_targets_folder() { return bundled_targets_folder_for(executable_folder()); }
const char *manual_address() {
  static std::string address;
  address = manual_address_for(executable_folder());
  return address.c_str();
}
