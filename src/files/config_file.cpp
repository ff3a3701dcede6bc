// config.txt: the four file names of app_config, kept between runs.
#include <cstdio>
#include <cstring>

#include "files/files.h"
#include "files/text_io.h"
#include "model/model.h"
#include "platform/message_box.h"

static const char config_file_name[] = "config.txt";

// Values are assigned by position; keys are not compared. A key without a
// value, and pairs beyond the 64 rows, are ignored.
void read_config_file() {
  FILE *stream = open_for_reading(config_file_name);
  if (!stream) return;
  char word[text_size];
  read_word(stream, word, sizeof word);
  for (int row = 0; row < config_rows; row++) {
    if (!read_word(stream, word, sizeof word)) break;
    if (!read_word(stream, word, sizeof word)) break;
    copy_field(config_entries[row].value, text_size, std::strcmp(word, ".") == 0 ? "" : word);
  }
  std::fclose(stream);
}

static bool write_config_entries() {
  pending_file file;
  if (!begin_file(file, config_file_name)) return false;
  put_text(file, "Fichier_de_configuration_de_talven_(non_obligatoire)");
  for (const config_entry &entry : config_entries)
    if (entry.name[0]) put_text(file, "\n%-20s%s", entry.name, entry.value[0] ? entry.value : ".");
  return finish_file(file);
}

bool write_config_file() {
  if (write_config_entries()) return true;
  show_message_box(box_error, "Files", "Impossible de creer le fichier config.txt");
  return false;
}

bool write_config_file_silently() { return write_config_entries(); }
