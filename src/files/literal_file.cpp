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

// The file replaces the whole program: lines past its end are emptied, so no
// line of an earlier, longer program stays under it.
bool read_literal_file(const char *path) {
  FILE *stream = open_for_reading(path);
  if (!stream) return false;
  int k = 0;
  while (k < literal_lines && !read_line(stream, literal_buffer[k], text_size)) k++;
  for (k++; k < literal_lines; k++) literal_buffer[k][0] = 0;
  std::fclose(stream);
  return true;
}

bool load_literal_file() {
  show_message_box(box_notice, "Files", "Loading Literal File ?");
  if (read_literal_file(app_config(config_literal))) return true;
  show_message_box(box_error, "Files", "Impossible d'ouvrir le fichier litteral");
  return false;
}
