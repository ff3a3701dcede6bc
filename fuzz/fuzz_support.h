// Shared by the fuzz targets: a private working folder (config.txt lives in the
// current folder), silent message boxes, the input written to a file that the
// readers open by name, and a check that stops the run with a clear report.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "model/model.h"
#include "platform/message_box.h"
#include "compiler/compiler.h"

static void ignore_message_box(box_kind, const char *, const char *) {}

// Every target runs in its own folder, on tmpfs when there is one, because
// each finished file is synced to disk.
static char fuzz_folder[256];

static void remove_fuzz_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(fuzz_folder, ignored);
}

inline void enter_fuzz_folder() {
  const char *base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  char *folder = fuzz_folder;
  std::snprintf(folder, sizeof fuzz_folder, "%s/talven-fuzz-XXXXXX", base);
  if (!mkdtemp(folder) || chdir(folder) != 0) {
    std::perror("talven fuzz folder");
    std::abort();
  }
  std::atexit(remove_fuzz_folder);
  set_message_box_handler(ignore_message_box);
}

inline void write_input(const char *path, const uint8_t *data, size_t size) {
  FILE *file = std::fopen(path, "wb");
  if (!file) std::abort();
  if (size) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

inline std::string file_bytes(const char *path) {
  std::string bytes;
  FILE *file = std::fopen(path, "rb");
  if (!file) return bytes;
  char block[4096];
  for (size_t n; (n = std::fread(block, 1, sizeof block, file)) > 0;) bytes.append(block, n);
  std::fclose(file);
  return bytes;
}

// A broken promise of the code under test: reported like a sanitizer finding.
#define FUZZ_CHECK(condition)                                                         \
  do {                                                                                \
    if (!(condition)) {                                                               \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                   \
    }                                                                                 \
  } while (0)

// Every text field must still end inside itself.
// The lines of an input, as a reader that names "line N" in its errors counts them.
inline int lines_in(const uint8_t *data, size_t size) {
  int lines = 1;
  for (size_t k = 0; k < size; k++) lines += data[k] == '\n';
  return lines;
}

inline bool field_is_terminated(const char *field, int size) { return std::memchr(field, 0, size_t(size)) != nullptr; }

inline void check_project_fields() {
  for (int table = 0; table < text_table_count; table++)
    for (int row = 0; row < table_rows; row++) {
      FUZZ_CHECK(field_is_terminated(table_text(table, row), text_size));
      FUZZ_CHECK(field_is_terminated(table_name(table, row), table_name_size(table)));
    }
  for (const char *line : literal_buffer) FUZZ_CHECK(field_is_terminated(line, text_size));
  for (const config_entry &entry : config_entries) FUZZ_CHECK(field_is_terminated(entry.value, text_size));
}

// Bounds a chart's size: the first `cells` drawn cells, column by column, stay and
// the rest are emptied. Each walk over the chart costs in proportion to its cells, so
// a full random grid would take a thousand inputs well past a short run.
inline void keep_first_cells(int cells) {
  for (auto &column : plan_xy)
    for (cell &c : column)
      if (c.kind != cell_empty && cells-- <= 0) c = {cell_empty, 0};
}

// Likewise the texts: the first `rows` filled rows, table after table, stay (every
// unknown word of a text is measured against every name the target declares).
inline void keep_first_texts(int rows) {
  for (int table = 0; table < text_table_count; table++)
    for (int row = 0; row < table_rows; row++)
      if (table_text(table, row)[0] && rows-- <= 0) table_text(table, row)[0] = 0;
}

inline int hex_value(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A hex file as a programmer reads it: CR LF between records, each record
// ":", count, address, type, data and a checksum that brings the sum to 0,
// and the end record last.
inline void check_hex_file(const char *path) {
  std::string bytes = file_bytes(path);
  FUZZ_CHECK(!bytes.empty());
  size_t start = 0;
  std::string record;
  while (start <= bytes.size()) {
    size_t end = bytes.find("\r\n", start);
    record = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
    FUZZ_CHECK(record.size() >= 11 && record[0] == ':' && record.size() % 2 == 1);
    int sum = 0;
    for (size_t i = 1; i < record.size(); i += 2) {
      int high = hex_value(record[i]), low = hex_value(record[i + 1]);
      FUZZ_CHECK(high >= 0 && low >= 0);
      sum += high * 16 + low;
    }
    FUZZ_CHECK(sum % 256 == 0);
    FUZZ_CHECK(record.size() == size_t(11 + 2 * (hex_value(record[1]) * 16 + hex_value(record[2]))));
    if (end == std::string::npos) break;
    start = end + 2;
  }
  FUZZ_CHECK(record == ":00000001FF");
}

// What a loader read from the input must save, load back and save again to the
// very same bytes; the project is left as loaded from the saved file.
inline void check_round_trip(int config_row, bool (*load)(), bool (*save)(), const uint8_t *data, size_t size) {
  init_project();
  copy_field(config_entries[config_row].value, text_size, "input");
  write_input("input", data, size);
  FUZZ_CHECK(load());
  check_project_fields();
  copy_field(config_entries[config_row].value, text_size, "first");
  FUZZ_CHECK(save());
  init_project();
  copy_field(config_entries[config_row].value, text_size, "first");
  FUZZ_CHECK(load());
  copy_field(config_entries[config_row].value, text_size, "second");
  FUZZ_CHECK(save());
  FUZZ_CHECK(file_bytes("first") == file_bytes("second"));
}

// The file fuzzers compile for the bundled target, so that the example programs
// compile and mutated ones meet every error.
static definition_record fuzz_definition;

inline void load_fuzz_definition() {
  std::string text = file_bytes(TALVEN_SOURCE_DIR "/targets/pic16f628a.def");
  FUZZ_CHECK(!text.empty());
  init_project();
  write_input("target.def", reinterpret_cast<const uint8_t *>(text.data()), text.size());
  copy_field(config_entries[config_automate].value, text_size, "target.def");
  FUZZ_CHECK(load_automaton_definition() == 0);
  fuzz_definition = automaton_definition;
}

// Compiles under a fresh copy of that target; a hex file written must be well formed.
inline void compile_and_check(compile_result (*compile)()) {
  automaton_definition = fuzz_definition;
  copy_constant_names();  // as the window does after loading the definition
  copy_field(config_entries[config_hex].value, text_size, "out.hex");
  std::remove("out.hex");
  compile_result result = compile();
  FUZZ_CHECK(result == compile_ok || result == compile_errors);
  if (result == compile_ok) check_hex_file("out.hex");
}
