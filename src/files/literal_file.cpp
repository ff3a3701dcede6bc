// The literal file: the 250 lines of the literal program, line for line.
#include <cstdio>

#include "files/files.h"
#include "files/text_io.h"
#include "model/model.h"
#include "platform/message_box.h"

bool write_literal_file(const char *path) {
  pending_file file;
  if (!begin_file(file, path)) return false;
  for (const char *line : literal_buffer) put_text(file, "%s\n", line);
  return finish_file(file);
}

bool save_literal_file() {
  show_message_box(box_notice, "Files", "Saving Literal File ?");
  if (write_literal_file(app_config(config_literal))) return true;
  show_message_box(box_error, "Files", "Impossible de creer le fichier literal");
  return false;
}

// Lines after the last one read keep their contents.
bool read_literal_file(const char *path) {
  FILE *stream = open_for_reading(path);
  if (!stream) return false;
  for (int k = 0; k < literal_lines; k++)
    if (read_line(stream, literal_buffer[k], text_size)) break;
  std::fclose(stream);
  return true;
}

bool load_literal_file() {
  show_message_box(box_notice, "Files", "Loading Literal File ?");
  if (read_literal_file(app_config(config_literal))) return true;
  show_message_box(box_error, "Files", "Impossible d'ouvrir le fichier litteral");
  return false;
}
