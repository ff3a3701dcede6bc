// The literal file loader on any bytes: never more than 250 lines of 39
// characters, and what it loaded must save and load back to the same file. The
// loaded program is then compiled under a definition whose small program area and
// edge-placed constants make overflowing programs and constants likely.
#include <string>

#include "files/files.h"
#include "fuzz/fuzz_support.h"
#include "target/target.h"

static definition_record loaded_definition;

static std::string definition_text() {
  std::string text = "@INFOS\nuc_type pic_1\nuc_taille_flash 2000\nuc_taille_eeprom 100\n"
                     "adr_start_graphcet 100\nadr_stop_graphcet 140\ntaille_zb 80\n@HEX\n:020000000528D1\n:00000001FF\n@ZB\n";
  for (int n = 0; n < 64; n++) text += "zb " + std::to_string(n) + " x" + std::to_string(n) + "\n";
  text += "in 64 i0\nin 65 i1\nout 66 LED\nout 67 MOTOR\nout 68 LAMP\n"
          "@CST\neb 0 tempo\new ff count\nfb 1fff mask\nfw 1fff wide\nzz 10 other\new fe limit\n@END\n";
  return text;
}

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  enter_fuzz_folder();
  init_project();
  std::string text = definition_text();
  write_input("target.def", reinterpret_cast<const uint8_t *>(text.data()), text.size());
  copy_field(config_entries[config_automate].value, text_size, "target.def");
  FUZZ_CHECK(load_automaton_definition() == 0);
  loaded_definition = automaton_definition;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  init_project();
  copy_field(config_entries[config_literal].value, text_size, "input.lit");
  write_input("input.lit", data, size);
  FUZZ_CHECK(load_literal_file());
  check_project_fields();

  copy_field(config_entries[config_literal].value, text_size, "first.lit");
  FUZZ_CHECK(save_literal_file());
  init_project();
  copy_field(config_entries[config_literal].value, text_size, "first.lit");
  FUZZ_CHECK(load_literal_file());
  copy_field(config_entries[config_literal].value, text_size, "second.lit");
  FUZZ_CHECK(save_literal_file());
  FUZZ_CHECK(file_bytes("first.lit") == file_bytes("second.lit"));

  automaton_definition = loaded_definition;
  copy_field(config_entries[config_hex].value, text_size, "out.hex");
  std::remove("out.hex");
  compile_result result = compile_literal_to_hex();
  FUZZ_CHECK(result == compile_ok || result == compile_errors);
  if (result == compile_ok) check_hex_file("out.hex");
  return 0;
}
