// The automaton definition loader on any bytes, then a compilation that uses every
// name the definition declared: constants of every kind at whatever address the
// file gave, and instructions until the program area overflows. Nothing may be
// written outside the images, and a written hex file must be well formed.
#include <cstdio>
#include <string>

#include "fuzz/fuzz_support.h"
#include "compiler/compiler.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  return 0;
}

static int used_entries_of(const char *(*name)(int), int count) {
  int used = 0;
  while (used < count && name(used)) used++;
  return used;
}

static const char *zb_name_at(int k) {
  const zb_entry &entry = automaton_definition.zb_table[k];
  return entry.zb_address == -1 ? nullptr : entry.zb_name;
}

static const char *cst_name_at(int k) {
  const cst_entry &entry = automaton_definition.cst_table[k];
  return entry.cst_address == -1 ? nullptr : entry.cst_name;
}

// Constant lines first (values that exercise both bytes and the sign), then one
// instruction per declared bit variable and one more, so that programs fit some
// areas and overflow others.
static void write_program_for_definition() {
  int zb_used = used_entries_of(zb_name_at, zb_entries), cst_used = used_entries_of(cst_name_at, cst_entries);
  static const char *const values[] = {"4660", "-1", "255", "0x12", "70000"};
  static const char *const orders[] = {"*", "l", "an", "=", ">", "-", "xn"};
  int line = 0;
  for (int k = 0; k < cst_used && line < literal_lines; k++, line++)
    std::snprintf(literal_buffer[line], text_size, "#%s %s", automaton_definition.cst_table[k].cst_name, values[k % 5]);
  for (int k = 0; k <= zb_used && line < literal_lines; k++, line++)
    std::snprintf(literal_buffer[line], text_size, "%s %s", orders[k % 7],
                  zb_used ? automaton_definition.zb_table[k % zb_used].zb_name : "x0");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  init_project();
  init_automaton_definition();
  write_input("input.def", data, size);
  copy_field(config_entries[config_automate].value, text_size, "input.def");
  copy_field(config_entries[config_hex].value, text_size, "out.hex");
  std::remove("out.hex");
  if (load_automaton_definition() != 0) return 0;
  copy_constant_names();
  check_project_fields();

  write_program_for_definition();
  compile_result result = compile_literal_to_hex();
  // A definition of a bundled chip whose program area is not where its interpreter
  // reads is refused whole, and no hex is written.
  char refusal[200];
  bool refused = !program_area_fits(refusal, sizeof refusal);
  if (refused) {
    FUZZ_CHECK(result == compile_file_failed);
    FUZZ_CHECK(std::fopen("out.hex", "r") == nullptr);
    return 0;
  }
  FUZZ_CHECK(result == compile_ok || result == compile_errors);
  if (result == compile_ok) check_hex_file("out.hex");
  return 0;
}
