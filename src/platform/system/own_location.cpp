#include "platform/own_location.h"

#include <filesystem>

#ifdef _WIN32
#include <windows.h>

std::string executable_folder() {
  char name[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, name, sizeof name);
  // A full buffer means a cut name, which would name another folder.
  if (length == 0 || length == sizeof name) return "";
  return std::filesystem::path(std::string(name, length)).parent_path().string();
}
#else
std::string executable_folder() {
  std::error_code error;
  std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? "" : program.parent_path().string();
}
#endif
