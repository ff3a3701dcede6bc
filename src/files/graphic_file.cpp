// The graphic save file: the whole grid and the texts of the five tables.
// Written in full, read back by position: titles and row labels are for people.
#include <cstdio>

#include <iterator>

#include "files/files.h"
#include "files/text_io.h"
#include "model/model.h"
#include "platform/message_box.h"

static const char *const section_titles[] = {
    "**_SORTIES_PAR_ETAPE", "**_TRANSITIONS", "**_PRE_TRAITEMENTS", "**_POST_TRAITEMENTS", "**_CONSTANTES",
};
static_assert(std::size(section_titles) == text_table_count, "one title per text table");

static void write_grid(pending_file &file) {
  put_text(file, "\n**_PLAN_XY");
  for (int y = 0; y < grid_size; y++) {
    put_text(file, "\n");
    for (int x = 0; x < grid_size; x++) put_text(file, "%2d %3d  ", plan_xy[x][y].kind, plan_xy[x][y].number);
  }
}

static void write_tables(pending_file &file) {
  for (int table = 0; table < text_table_count; table++) {
    put_text(file, "\n%s", section_titles[table]);
    for (int n = 0; n < table_rows; n++) {
      if (table == table_constants)
        put_text(file, "\n%2d--(%s): %s", n, table_name(table, n), table_text(table, n));
      else
        put_text(file, "\n%2d: %s", n, table_text(table, n));
    }
  }
}

bool write_graphic_file(const char *path) {
  pending_file file;
  if (!begin_file(file, path)) return false;
  put_text(file, "**_SAUVEGARDE_GRAPHIQUE_**\n");
  write_grid(file);
  write_tables(file);
  put_text(file, "\n\n**_SAUVEGARDE_GRAPHIQUE_FIN**");
  return finish_file(file);
}

bool save_graphic_file() {
  show_message_box(box_notice, "Files", "Saving Graphical File ?");
  if (write_graphic_file(app_config(config_graphic))) return true;
  show_message_box(box_error, "Files", "Impossible de creer le fichier graphique");
  return false;
}

// Cells whose numbers cannot be read keep what they held.
static void read_grid(FILE *stream) {
  for (int y = 0; y < grid_size; y++)
    for (int x = 0; x < grid_size; x++) {
      read_decimal(stream, plan_xy[x][y].kind);
      read_decimal(stream, plan_xy[x][y].number);
    }
}

// Rows are filled in the order met, whatever number a label shows; rows past
// the end of the file become empty.
static void read_tables(FILE *stream) {
  char word[text_size];
  for (int table = 0; table < text_table_count; table++) {
    read_word(stream, word, sizeof word);
    for (int n = 0; n < table_rows; n++) {
      read_word(stream, word, sizeof word);
      read_line(stream, table_text(table, n), text_size);
    }
  }
}

bool read_graphic_file(const char *path) {
  FILE *stream = open_for_reading(path);
  if (!stream) return false;
  char word[text_size];
  read_word(stream, word, sizeof word);
  read_word(stream, word, sizeof word);
  read_grid(stream);
  read_tables(stream);
  std::fclose(stream);
  return true;
}

bool load_graphic_file() {
  show_message_box(box_notice, "Files", "Loading Graphical File ?");
  if (read_graphic_file(app_config(config_graphic))) return true;
  show_message_box(box_error, "Files", "Impossible d'ouvrir le fichier graphique");
  return false;
}

bool read_line(FILE *stream, char *destination, int size) {
  int c = read_char(stream);
  while (c == ' ') c = read_char(stream);
  int length = 0;
  for (; c != '\n' && c != EOF; c = read_char(stream))
    if (length < size - 1) destination[length++] = char(c);
  destination[length] = 0;
  return c == EOF;
}
