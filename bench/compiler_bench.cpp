// Times the target side on a full-size target: loading a definition with 8K program
// words, 400 bit variables and 100 constants, and compiling a 250-row program into
// it with the hex file written; beside them, one plain write of as many bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "model/model.h"
#include "platform/message_box.h"
#include "compiler/compiler.h"

namespace {

std::string scratch_file(const char *name) {
  return (std::filesystem::temp_directory_path() / (std::string("talven_bench_") + name)).string();
}

void write_whole(const std::string &path, const std::string &bytes) {
  FILE *file = std::fopen(path.c_str(), "wb");
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// A definition as large as the tables allow.
std::string full_definition() {
  std::string text = "@INFOS\r\nuc_type pic_1\r\nuc_taille_flash 2000\r\nuc_taille_eeprom 100\r\n"
                     "adr_start_graphcet 1000\r\nadr_stop_graphcet 1C00\r\ntaille_zb 400\r\n@HEX\r\n";
  char record[64];
  for (int w = 0; w < 0x2000; w += 8) {
    std::snprintf(record, sizeof record, ":10%04X00%s00\r\n", 2 * w, "0030A0008316031383120800FF3F2800");
    text += record;
  }
  text += ":00000001FF\r\n@ZB\r\n";
  for (int n = 0; n < 400; n++) text += "zb " + std::to_string(n) + " v" + std::to_string(n) + "\r\n";
  text += "@CST\r\n";
  for (int n = 0; n < 100; n++) text += "eb " + std::to_string(n) + " c" + std::to_string(n) + "\r\n";
  return text + "@END\r\n";
}

void ignore_box(box_kind, const char *, const char *) {}

void prepare() {
  static bool prepared = false;
  if (prepared) return;
  prepared = true;
  set_message_box_handler(ignore_box);
  init_project();
  write_whole(scratch_file("def.txt"), full_definition());
  copy_field(config_entries[config_automate].value, text_size, scratch_file("def.txt").c_str());
  copy_field(config_entries[config_hex].value, text_size, scratch_file("out.hex").c_str());
  // Operands from the end of the bit-variable table, where finding them takes longest.
  for (int n = 0; n < literal_lines; n++)
    std::snprintf(literal_buffer[n], text_size, "l v%d an v%d = v%d", 399 - n % 50, 398 - n % 50, 397);
}

void load_full_definition(benchmark::State &state) {
  prepare();
  for (auto _ : state)
    if (load_automaton_definition() != 0) state.SkipWithError("definition not loaded");
}
BENCHMARK(load_full_definition)->Unit(benchmark::kMicrosecond);

void compile_250_rows_and_write_hex(benchmark::State &state) {
  prepare();
  if (load_automaton_definition() != 0) state.SkipWithError("definition not loaded");
  for (auto _ : state)
    if (compile_literal_to_hex() != compile_ok) state.SkipWithError("program not compiled");
  state.counters["hex_bytes"] = double(std::filesystem::file_size(scratch_file("out.hex")));
}
BENCHMARK(compile_250_rows_and_write_hex)->Unit(benchmark::kMicrosecond);

// The floor for the step above: the same number of bytes in one write.
void single_write_of_the_hex_size(benchmark::State &state) {
  prepare();
  if (load_automaton_definition() != 0 || compile_literal_to_hex() != compile_ok)
    state.SkipWithError("no hex to measure");
  std::string bytes(std::filesystem::file_size(scratch_file("out.hex")), 'x');
  for (auto _ : state) write_whole(scratch_file("plain.bin"), bytes);
  state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(single_write_of_the_hex_size)->Unit(benchmark::kMicrosecond);

}  // namespace
