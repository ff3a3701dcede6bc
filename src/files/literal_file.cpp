// The literal file: the 250 lines of the literal program, line for line.
#include <cstdio>

#include "files/files.h"
#include "files/text_io.h"
#include "model/model.h"
#include "platform/message_box.h"

bool save_literal_file() {
  show_message_box(box_notice, "Files", "Saving Literal File ?");
  pending_file file;
  if (begin_file(file, app_config(config_literal))) {
    for (const char *line : literal_buffer) put_text(file, "%s\n", line);
    if (finish_file(file)) return true;
  }
  show_message_box(box_error, "Files", "Impossible de creer le fichier literal");
  return false;
}

// Lines after the last one read keep their contents.
bool load_literal_file() {
  show_message_box(box_notice, "Files", "Loading Literal File ?");
  FILE *stream = open_for_reading(app_config(config_literal));
  if (!stream) {
    show_message_box(box_error, "Files", "Impossible d'ouvrir le fichier litteral");
    return false;
  }
  for (int k = 0; k < literal_lines; k++)
    if (read_line(stream, literal_buffer[k], text_size)) break;
  std::fclose(stream);
  return true;
}
