#include "startup/startup.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "compiler/compiler.h"
#include "startup/bundled_files.h"
#include "files/files.h"
#include "model/model.h"
#include "platform/message_box.h"

void start_project(config_reading config) {
  init_project();
  init_automaton_definition();
  if (config == with_config_file) read_config_file();
}

static bool loaded(int status) {
  if (status != 0) return false;
  show_message_box(box_report, "Def File", "Fichier de definition charge avec succes");
  copy_constant_names();
  return true;
}

// The bundled file of a target's name, with or without its .def.
static std::filesystem::path bundled_target_path(const char *name) {
  std::string file = name;
  if (!file.ends_with(".def")) file += ".def";
  return std::filesystem::path(bundled_targets_folder()) / file;
}

bool load_definition_and_names() {
  const char *name = app_config(config_automate);
  std::error_code error;
  bool bundled = name[0] && std::strpbrk(name, "/\\") == nullptr && !std::filesystem::exists(name, error) &&
                 std::filesystem::exists(bundled_target_path(name), error);
  if (bundled) return loaded(load_automaton_definition_from(bundled_target_path(name).string().c_str()));
  return loaded(load_automaton_definition());
}

bool load_bundled_target(const char *name) {
  if (std::strlen(name) >= size_t(text_size) || std::strpbrk(name, "/\\")) return false;
  if (!loaded(load_automaton_definition_from(bundled_target_path(name).string().c_str()))) return false;
  copy_field(config_entries[config_automate].value, text_size, name);
  return true;
}

int bundled_target_names(char (*names)[text_size], int capacity) {
  std::error_code error;
  int count = 0;
  for (const auto &entry : std::filesystem::directory_iterator(bundled_targets_folder(), error)) {
    std::string stem = entry.path().stem().string();
    if (entry.path().extension() != ".def" || stem.size() >= size_t(text_size) || count == capacity) continue;
    copy_field(names[count++], text_size, stem.c_str());
  }
  // The folder lists them in no set order.
  for (int i = 1; i < count; i++)
    for (int k = i; k > 0 && std::strcmp(names[k - 1], names[k]) > 0; k--) {
      char held[text_size];
      std::memcpy(held, names[k], text_size);
      std::memcpy(names[k], names[k - 1], text_size);
      std::memcpy(names[k - 1], held, text_size);
    }
  return count;
}
