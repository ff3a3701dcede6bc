#include "startup/startup.h"

#include "compiler/compiler.h"
#include "files/files.h"
#include "model/model.h"
#include "platform/message_box.h"

void start_project(config_reading config) {
  init_project();
  init_automaton_definition();
  if (config == with_config_file) read_config_file();
}

bool load_definition_and_names() {
  if (load_automaton_definition() != 0) return false;
  show_message_box(box_report, "Def File", "Fichier de definition charge avec succes");
  copy_constant_names();
  return true;
}
