// The literal-to-hex compiler: program words into the definition's program area,
// constant values into its images, and the whole image written as Intel HEX.
#include <cstdio>
#include <cstring>

#include <iterator>

#include "files/text_io.h"
#include "model/chips.h"
#include "model/model.h"
#include "model/orders.h"
#include "platform/message_box.h"
#include "compiler/compiler.h"

// Every program word is RETLW with the value: the interpreter reads a table of literals.
constexpr int program_word_base = 0x3400;
constexpr int error_limit = 10;

static char error_text[1024];
static int error_count;
static int address_step;
// Wider than the definition's addresses, so that stepping past an area at the
// integer limit cannot overflow.
static int64_t program_address;
// An area that is too small is reported once, not for every word that follows.
static bool area_error_reported;
static int last_line;

// Records an error; false when it is the one past the limit, which ends the compilation.
static bool record_error(int line, const char *what, const char *word) {
  error_count++;
  if (error_count > error_limit) return false;
  size_t used = std::strlen(error_text);
  std::snprintf(error_text + used, sizeof error_text - used, "\nligne %3d: %s%s", line, what, word);
  return true;
}

// From adr_start_graphcet included towards adr_stop_graphcet excluded, inside program memory.
static bool in_program_area(int64_t address) {
  const definition_record &d = automaton_definition;
  bool inside = address_step > 0 ? address >= d.adr_start_graphcet && address < d.adr_stop_graphcet
                                 : address <= d.adr_start_graphcet && address > d.adr_stop_graphcet;
  return inside && address >= 0 && address < flash_words;
}

static bool holds_empty_program(int32_t address) {
  const definition_record &d = automaton_definition;
  return address >= 0 && address + 1 < flash_words && d.flash_image[address] == program_word_base + order_end &&
         d.flash_image[address + 1] == program_word_base;
}

// The chips whose interpreter reads its program where this one's does, in a flash of the
// same size, as the refusal names them: "PIC16F877A/PIC16F887".
static void chips_alike(const chip_entry &chip, char *names, size_t size) {
  names[0] = '\0';
  for (const chip_entry &other : chip_table) {
    if (other.flash_words != chip.flash_words || other.program_start != chip.program_start) continue;
    char title[16];
    chip_title(other, title);
    size_t used = std::strlen(names);
    std::snprintf(names + used, size - used, "%s%s", used ? "/" : "", title);
  }
}

// The chip is recognised by its flash size and the empty program its interpreter leaves
// where it reads its program.
bool program_area_fits(char *error, int error_size) {
  const definition_record &d = automaton_definition;
  for (const chip_entry &chip : chip_table) {
    if (d.uc_taille_flash != chip.flash_words || !holds_empty_program(chip.program_start)) continue;
    if (d.adr_start_graphcet == chip.program_start) return true;
    char names[128];
    chips_alike(chip, names, sizeof names);
    std::snprintf(error, size_t(error_size),
                  "adr_start_graphcet %X is not where the %s interpreter of this definition reads its program (%X)",
                  unsigned(d.adr_start_graphcet), names, unsigned(chip.program_start));
    return false;
  }
  return true;
}

// Writes one program word (a known one) at program_address and moves on.
static bool place_program_word(bool known, int value, int line) {
  int64_t address = program_address;
  program_address += address_step;
  if (!in_program_area(address)) {
    if (area_error_reported) return true;
    area_error_reported = true;
    char where[24];
    std::snprintf(where, sizeof where, "%04llx", static_cast<unsigned long long>(address) & 0xFFFFFFFFull);
    return record_error(line, "OUT OF PROGRAM AREA: ", where);
  }
  // Added whole, but with wrap-around: an address near the integer limit keeps its low bits.
  if (known) automaton_definition.flash_image[address] = int32_t(uint32_t(program_word_base) + uint32_t(value));
  return true;
}

// One whole order, both its words known.
static bool place_order(order_code code, int operand, int line) {
  return place_program_word(true, code, line) && place_program_word(true, operand, line);
}

// ---- Step times: a timer each, its enable appended, its preset in the EEPROM ----

constexpr int timer_capacity = 64;
struct target_timer {
  int enable, done, preset;  // TEn, Tn, TPn's EEPROM address
  bool taken;                // named by the program, or given to a step time
};
static target_timer timers[timer_capacity];
static int timer_count, timers_named;

struct step_time_timer {
  int step, ticks, timer;
};
static step_time_timer step_times[timer_capacity];
static int step_time_count;

// The target's timers: TEn, Tn and the EEPROM word TPn, from 0 up to the first one missing.
static void find_timers() {
  timer_count = 0;
  for (int n = 0; n < timer_capacity; n++) {
    char enable[16], done[16], preset[16];
    std::snprintf(enable, sizeof enable, "TE%d", n);
    std::snprintf(done, sizeof done, "T%d", n);
    std::snprintf(preset, sizeof preset, "TP%d", n);
    target_timer &t = timers[n];
    int kind = cst_none;
    if (!find_zb(enable, t.enable) || !find_zb(done, t.done) || !find_cst(preset, t.preset, kind) || kind != cst_ew)
      break;
    t.taken = false;
    timer_count++;
  }
}

// A timer whose TEn, Tn or TPn the program names is its own: step times never take it.
static void note_named_timers() {
  step_time_count = 0;
  find_timers();
  char first[literal_word_size], second[literal_word_size];
  int line = 0, address = 0, kind = 0;
  next_literal_pair(true, first, second, line);
  while (next_literal_pair(false, first, second, line) == 0) {
    bool constant = first[0] == '#';
    if (constant ? !find_cst(first + 1, address, kind) : !find_zb(second, address)) continue;
    for (int n = 0; n < timer_count; n++)
      if (constant ? kind == cst_ew && address == timers[n].preset
                   : address == timers[n].enable || address == timers[n].done)
        timers[n].taken = true;
  }
  timers_named = 0;
  for (int n = 0; n < timer_count; n++) timers_named += timers[n].taken;
}

// The done bit of the step time's timer, the highest free one taken at its first use.
static bool step_time_timer_bit(const char *word, int step, int ticks, int line, int &address) {
  for (int k = 0; k < step_time_count; k++)
    if (step_times[k].step == step && step_times[k].ticks == ticks) {
      address = timers[step_times[k].timer].done;
      return true;
    }
  for (int n = timer_count - 1; n >= 0; n--) {
    if (timers[n].taken) continue;
    timers[n].taken = true;
    step_times[step_time_count++] = {step, ticks, n};
    address = timers[n].done;
    return true;
  }
  char form[literal_word_size + 48];
  std::snprintf(form, sizeof form, "%s (%d timers, %d free for step times)", word, timer_count,
                timer_count - timers_named);
  record_error(line, "NO TIMER FREE FOR: ", form);
  return false;
}

// Whether the word is a step time at all; if it is, known says whether address holds its bit.
static bool step_time_operand(const char *word, int line, bool &known, int &address) {
  static const char *const refusals[] = {
      /* none */ nullptr, /* ok */ nullptr, "STEP TIME MALFORMED: ", "ZB  UNKNOWN: ", "STEP TIME OF NO STEP: ",
      "STEP TIME TOO LONG: ",
  };
  static_assert(std::size(refusals) == step_time_too_long + 1, "a refusal per reading");
  int step = 0, ticks = 0;
  step_time_reading reading = read_step_time(word, step, ticks);
  if (reading == step_time_none) return false;
  known = reading == step_time_ok && step_time_timer_bit(word, step, ticks, line, address);
  if (refusals[reading]) record_error(line, refusals[reading], word);
  return true;
}

static bool compile_constant(const char *name, const char *value_word, int line);

// After the last pair, so in the action part: "l STEP = TEn" follows the step in every pass.
static void append_step_time_enables(int line) {
  for (int k = 0; k < step_time_count; k++) {
    const step_time_timer &s = step_times[k];
    char preset[16], ticks[16];
    std::snprintf(preset, sizeof preset, "TP%d", s.timer);
    std::snprintf(ticks, sizeof ticks, "%d", s.ticks);
    if (!place_order(order_load, s.step, line) || !place_order(order_assign, timers[s.timer].enable, line) ||
        !compile_constant(preset, ticks, line))
      return;
  }
}

// ---- Input edges: /P rises, \P falls -------------------------------------------
// Each input pin whose edge the program reads gets, at the very start of the program,
//   l P an Q = rise   ln P a Q = fall   l P = Q
// with Q the pin as the previous pass read it: inputs are frozen within a scan, so an
// edge is 1 in the first pass of a scan whose read found the pin changed, 0 after it.

enum edge_kind_value { edge_none = -1, edge_rising = 0, edge_falling = 1 };
constexpr char edge_marks[] = {'/', '\\'};

struct edge_pin {
  char name[4];
  int pin, tris;      // the pin's bit and its TRIS constant's EEPROM byte
  int used_line[2];   // the first line of /P and of \P; -1: not read
  int edge_bit[2];    // -1: none
  int previous_bit;   // -1: no spare bit was left for the pin
};
constexpr int edge_pin_capacity = 5 * 8;  // RA0..RE7
static edge_pin edge_pins[edge_pin_capacity];
static int edge_pin_count;

static edge_kind_value edge_kind(const char *word) {
  for (int kind : {edge_rising, edge_falling})
    if (word[0] == edge_marks[kind] && word[1]) return edge_kind_value(kind);
  return edge_none;
}

static edge_pin *edge_pin_named(const char *name) {
  for (int k = 0; k < edge_pin_count; k++)
    if (std::strcmp(edge_pins[k].name, name) == 0) return &edge_pins[k];
  return nullptr;
}

// Kept in bit order, which is pin order.
static void note_edge(const char *operand, int line) {
  edge_kind_value kind = edge_kind(operand);
  int pin, tris;
  if (kind == edge_none || !find_pin(operand + 1, pin, tris)) return;
  edge_pin *entry = edge_pin_named(operand + 1);
  if (!entry) {
    int at = edge_pin_count++;
    for (; at > 0 && edge_pins[at - 1].pin > pin; at--) edge_pins[at] = edge_pins[at - 1];
    entry = &edge_pins[at];
    *entry = {{}, pin, tris, {-1, -1}, {-1, -1}, -1};
    copy_field(entry->name, sizeof entry->name, operand + 1);
  }
  if (entry->used_line[kind] < 0) entry->used_line[kind] = line;
}

static void collect_edges() {
  char first[literal_word_size], second[literal_word_size];
  int line = 0;
  edge_pin_count = 0;
  next_literal_pair(true, first, second, line);
  while (next_literal_pair(false, first, second, line) == 0)
    if (first[0] != '#') note_edge(second, line);
}

// The word of a pin's edge: "/RA0" or "\\RA0".
static void edge_word(const edge_pin &entry, int kind, char (&word)[8]) {
  word[0] = edge_marks[kind];
  copy_field(word + 1, sizeof word - 1, entry.name);
}

// The kind of the pin's edge read first in the text.
static int first_edge_kind(const edge_pin &entry) {
  const int *at = entry.used_line;
  return at[edge_rising] >= 0 && (at[edge_falling] < 0 || at[edge_rising] <= at[edge_falling]) ? edge_rising
                                                                                                 : edge_falling;
}

// From the lowest spare bit up; the first pin left without bits is reported, once.
static bool allocate_edge_bits() {
  int next = automaton_definition.zb_libre_debut, left = spare_bit_count();
  for (int k = 0; k < edge_pin_count; k++) {
    edge_pin &entry = edge_pins[k];
    int needed = 1 + (entry.used_line[edge_rising] >= 0) + (entry.used_line[edge_falling] >= 0);
    if (needed > left) {
      char word[8], detail[48];
      edge_word(entry, first_edge_kind(entry), word);
      std::snprintf(detail, sizeof detail, "%s (%d spare bits)", word, spare_bit_count());
      return record_error(entry.used_line[first_edge_kind(entry)], "NO SPARE BIT FOR: ", detail);
    }
    for (int kind : {edge_rising, edge_falling})
      if (entry.used_line[kind] >= 0) entry.edge_bit[kind] = next++;
    entry.previous_bit = next++;
    left -= needed;
  }
  return true;
}

// The orders of an edge: load the pin, combine the previous read, write the edge's bit.
static const struct {
  edge_kind_value kind;
  order_code load, combine;
} edge_orders[] = {{edge_rising, order_load, order_and_not}, {edge_falling, order_load_not, order_and}};

// A pin's edges, then the pin kept as the next pass's previous read.
static bool write_pin_orders(const edge_pin &e, int line) {
  for (const auto &o : edge_orders)
    if (e.edge_bit[o.kind] >= 0 &&
        !(place_order(o.load, e.pin, line) && place_order(o.combine, e.previous_bit, line) &&
          place_order(order_assign, e.edge_bit[o.kind], line)))
      return false;
  return place_order(order_load, e.pin, line) && place_order(order_assign, e.previous_bit, line);
}

static bool write_edge_orders() {
  collect_edges();
  if (!allocate_edge_bits()) return false;
  for (int k = 0; k < edge_pin_count && edge_pins[k].previous_bit >= 0; k++)
    if (!write_pin_orders(edge_pins[k], edge_pins[k].used_line[first_edge_kind(edge_pins[k])])) return false;
  return true;
}

// An edge operand: its bit, or an error naming it when it is no pin's; a pin left
// without spare bits was reported already.
static bool resolve_edge(const char *operand, int line, int &address, bool &known) {
  const edge_pin *entry = edge_pin_named(operand + 1);
  known = entry && entry->previous_bit >= 0;
  if (known) address = entry->edge_bit[edge_kind(operand)];
  return entry || record_error(line, "EDGE OF NO INPUT PIN: ", operand);
}

// An edge of a pin that the directions, as compiled, make an output.
static void refuse_edges_of_outputs() {
  for (int k = 0; k < edge_pin_count; k++) {
    const edge_pin &entry = edge_pins[k];
    int32_t tris = entry.tris >= 0 && entry.tris < eeprom_bytes ? automaton_definition.eeprom_image[entry.tris] : -1;
    if (tris != -1 && (tris >> (entry.name[2] - '0') & 1) == 0)
      for (int kind : {edge_rising, edge_falling}) {
        char word[8];
        edge_word(entry, kind, word);
        if (entry.used_line[kind] >= 0 && !record_error(entry.used_line[kind], "EDGE OF NO INPUT PIN: ", word)) return;
      }
  }
}

static bool compile_instruction(const char *order, const char *operand, int line) {
  int code = 0, address = 0;
  bool order_known = find_order(order, code);
  if (!order_known && !record_error(line, "ORDER UNKNOWN: ", order)) return false;
  if (!place_program_word(order_known, code, line)) return false;
  bool operand_known = false;
  if (edge_kind(operand) != edge_none) {
    if (!resolve_edge(operand, line, address, operand_known)) return false;
  } else {
    operand_known = find_zb(operand, address);
    if (!operand_known && !step_time_operand(operand, line, operand_known, address) &&
        !record_error(line, "ZB  UNKNOWN: ", operand))
      return false;
  }
  if (error_count > error_limit) return false;
  return place_program_word(operand_known, address, line);
}

// Where each kind of constant goes: its image, and whether it takes two addresses
// (high byte first) or one (masked).
static const struct {
  int32_t *image;
  int image_size;
  int width;
  int mask;
} constant_stores[] = {
    /* eb */ {automaton_definition.eeprom_image, eeprom_bytes, 1, 0xFF},
    /* ew */ {automaton_definition.eeprom_image, eeprom_bytes, 2, 0xFF},
    /* fb */ {automaton_definition.flash_image, flash_words, 1, 0x3FFF},
    /* fw */ {automaton_definition.flash_image, flash_words, 2, 0xFF},
};
static_assert(std::size(constant_stores) == cst_fw + 1, "one store per kind of constant");

static bool compile_constant(const char *name, const char *value_word, int line) {
  int address, kind;
  if (!find_cst(name, address, kind)) return record_error(line, "CST UNKNOWN: ", name);
  if (kind < cst_eb || kind > cst_fw) return true;
  const auto &store = constant_stores[kind];
  if (address < 0 || address > store.image_size - store.width)
    return record_error(line, "CST OUT OF IMAGE: ", name);
  int value = read_decimal_text(value_word);
  if (store.width == 1) {
    store.image[address] = value & store.mask;
  } else {
    store.image[address] = (value >> 8) & 0xFF;
    store.image[address + 1] = value & 0xFF;
  }
  return true;
}

static void compile_pairs() {
  char first[literal_word_size], second[literal_word_size];
  int line = 0;
  next_literal_pair(true, first, second, line);
  while (next_literal_pair(false, first, second, line) == 0) {
    last_line = line;
    bool going = first[0] == '#' ? compile_constant(first + 1, second, line)
                                 : compile_instruction(first, second, line);
    if (!going) return;
  }
}

// ---- The hex file ------------------------------------------------------------

static bool first_record;

// One data record of 16 bytes; records are separated by line breaks, none before the first.
static void write_record(pending_file &file, int byte_address, const int bytes[16]) {
  char record[48];
  int length = std::snprintf(record, sizeof record, ":10%04x00", byte_address);
  int sum = 0x10 + (byte_address >> 8) + (byte_address & 0xFF);
  for (int i = 0; i < 16; i++) {
    length += std::snprintf(record + length, sizeof record - length, "%02x", bytes[i] & 0xFF);
    sum += bytes[i];
  }
  std::snprintf(record + length, sizeof record - length, "%02x", (0x100 - (sum & 0xFF)) & 0xFF);
  put_text(file, "%s%s", first_record ? "" : "\n", record);
  first_record = false;
}

// Eight words, low byte first; an unset word is written as its high byte says.
static void write_words(pending_file &file, int word_address, const int32_t *words, int unset_high, bool byte_wide) {
  int bytes[16];
  for (int i = 0; i < 8; i++) {
    bool unset = words[i] == -1;
    bytes[2 * i] = unset ? 0xFF : words[i] & 0xFF;
    bytes[2 * i + 1] = unset ? unset_high : byte_wide ? 0 : (words[i] >> 8) & 0xFF;
  }
  write_record(file, 2 * word_address, bytes);
}

static void write_hex_records(pending_file &file) {
  const definition_record &d = automaton_definition;
  first_record = true;
  for (int w = 0; w < d.uc_taille_flash && w < flash_words; w += 8)
    write_words(file, w, &d.flash_image[w], 0x3F, false);
  for (int a = 0; a < d.uc_taille_eeprom && a < eeprom_bytes; a += 8)
    write_words(file, eeprom_address + a, &d.eeprom_image[a], 0x00, true);
  write_words(file, config_words_address, d.config_words, 0x3F, false);
  put_text(file, "\n:00000001FF");
}

bool write_image_hex(const char *path) {
  pending_file file;
  if (!begin_file(file, path)) return false;
  write_hex_records(file);
  return finish_file(file);
}

static bool write_hex_file() {
  pending_file file;
  if (!begin_file(file, app_config(config_hex))) return false;
  write_hex_records(file);
  return finish_file(file);
}

static void show_summary() {
  const definition_record &d = automaton_definition;
  int used = int(address_step > 0 ? (program_address - d.adr_start_graphcet) / 2
                                  : (d.adr_start_graphcet - program_address) / 2);
  int remaining = int(address_step > 0 ? (d.adr_stop_graphcet - program_address) / 2
                                        : (program_address - d.adr_stop_graphcet) / 2);
  int percent = used + remaining > 0 ? 100 * used / (used + remaining) : 100;
  char text[200];
  std::snprintf(text, sizeof text,
                "Aucune erreur\n\nFichier a programmer : %s\nLignes utilisees: %d   (%d/100)\nLignes restantes: %d",
                app_config(config_hex), used, percent, remaining);
  show_message_box(box_summary, "OK", text);
}

compile_result compile_literal_to_image() {
  char refusal[200];
  if (!program_area_fits(refusal, sizeof refusal)) {
    show_message_box(box_error, "Def File", refusal);
    return compile_file_failed;
  }
  copy_field(error_text, sizeof error_text, "\nErrors:\n");
  error_count = 0;
  area_error_reported = false;
  last_line = 0;
  const definition_record &d = automaton_definition;
  address_step = d.adr_start_graphcet < d.adr_stop_graphcet ? 1 : -1;
  program_address = d.adr_start_graphcet;
  note_named_timers();
  if (write_edge_orders()) compile_pairs();
  append_step_time_enables(last_line);
  refuse_edges_of_outputs();
  // The end of program is written even after errors, as far as the area allows.
  if (place_program_word(true, order_end, last_line)) place_program_word(true, 0, last_line);
  if (error_count != 0) {
    show_message_box(box_error, "Error", error_text);
    return compile_errors;
  }
  return compile_ok;
}

compile_result compile_literal_to_hex() {
  show_message_box(box_notice, "Processing", "Converting Literal --> Hex ?");
  compile_result result = compile_literal_to_image();
  if (result != compile_ok) return result;
  if (!write_hex_file()) {
    show_message_box(box_error, "Files", "Impossible de creer le fichier hex");
    return compile_file_failed;
  }
  show_summary();
  return compile_ok;
}
