// Builds a chip's automaton definition from its assembled interpreter, its row of
// model/chips.h and the tables of names below:  make_definition CHIP firmware.hex out.def
// The names and addresses follow the bit map and the EEPROM layout of
// firmware/interpreter.inc; the simulator tests run compiled charts through both.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "model/chips.h"

static const chip_entry *chip;

struct info_entry {
  const char *key;
  int chip_entry::*value;  // nullptr: common, the same on every chip
  bool hex;                // sizes and program area in hexadecimal, the rest in decimal
  const char *common;
};
constexpr info_entry infos[] = {
    {"uc_type", nullptr, false, "pic_1"},
    {"uc_taille_flash", &chip_entry::flash_words, true, nullptr},
    {"uc_taille_eeprom", &chip_entry::eeprom_bytes, true, nullptr},
    {"adr_start_graphcet", &chip_entry::program_start, true, nullptr},
    {"adr_stop_graphcet", &chip_entry::program_stop, true, nullptr},
    {"taille_zb", nullptr, false, "256"},
    {"frequence_horloge", &chip_entry::clock, false, nullptr},
    {"cycles_lecture_ordre", &chip_entry::fetch_cycles, false, nullptr},
    {"cycles_debut_passe", &chip_entry::pass_start_cycles, false, nullptr},
    {"cycles_avant_controle", &chip_entry::reset_cycles, false, nullptr},
    {"cycles_controle_ordre", &chip_entry::check_cycles, false, nullptr},
    {"cycles_apres_controle", &chip_entry::setup_cycles, false, nullptr},
    {"periode_interruption", &chip_entry::interrupt_period, false, nullptr},
    {"interruptions_par_tick", &chip_entry::interrupts_per_tick, false, nullptr},
    {"cycles_interruption", &chip_entry::interrupt_cycles, false, nullptr},
    {"chemin_lecture_ordre", &chip_entry::fetch_path, false, nullptr},
    {"cycles_interruption_tick", &chip_entry::tick_extra_cycles, false, nullptr},
    {"zb_libre_debut", &chip_entry::spare_first, false, nullptr},
    {"zb_libre_fin", &chip_entry::spare_last, false, nullptr},
};

// Bit variables come in groups of consecutive bit addresses: prefix + index.
struct bit_group {
  const char *prefix;
  int chip_entry::*count;  // nullptr: fixed_count
  int fixed_count;
  int first_address;
  bool forty_pins;  // only on the chips with PORTC to PORTE
};
constexpr bit_group bit_groups[] = {
    {"x", nullptr, 64, 0, false},                   // steps
    {"RA", &chip_entry::porta_pins, 0, 64, false},  // PORTA image
    {"RB", nullptr, 8, 72, false},                  // PORTB image
    {"RC", nullptr, 8, 168, true},
    {"RD", nullptr, 8, 176, true},
    {"RE", &chip_entry::porte_pins, 0, 184, true},
    {"M", nullptr, 64, 80, false},                  // internal bits
    {"TE", &chip_entry::timers, 0, 144, false},     // timer enables
    {"T", &chip_entry::timers, 0, 152, false},      // timer done bits
};

// Bits with a name of their own, after the groups.
struct named_bit {
  const char *name;
  int address;
};
constexpr named_bit named_bits[] = {
    {"UNSTABLE", 160},  // the scan reached the pass cap
};

struct constant_entry {
  const char *kind;
  int address;  // EEPROM byte
  const char *name;
  int timer;        // -1: no timer; else kept while the chip has that many timers
  bool forty_pins;  // only on the chips with PORTC to PORTE
};
constexpr constant_entry constant_entries[] = {
    {"eb", 0x00, "TRISA", -1, false}, {"eb", 0x01, "TRISB", -1, false}, {"ew", 0x02, "TP0", 0, false},
    {"ew", 0x04, "TP1", 1, false},    {"ew", 0x06, "TP2", 2, false},    {"ew", 0x08, "TP3", 3, false},
    {"ew", 0x0a, "TP4", 4, false},    {"ew", 0x0c, "TP5", 5, false},    {"ew", 0x0e, "TP6", 6, false},
    {"ew", 0x10, "TP7", 7, false},    {"eb", 0x12, "TRISC", -1, true},  {"eb", 0x13, "TRISD", -1, true},
    {"eb", 0x14, "TRISE", -1, true},
};

constexpr int record_size = 600;
static FILE *definition;

static void put_line(const char *text) { std::fprintf(definition, "%s\r\n", text); }

static int hex_value(const char *digits, int count) {
  int value = 0;
  for (int i = 0; i < count; i++) {
    if (!std::isxdigit(static_cast<unsigned char>(digits[i]))) return -1;
    value = value * 16 + (std::isdigit(static_cast<unsigned char>(digits[i])) ? digits[i] - '0'
                                                                              : std::tolower(digits[i]) - 'a' + 10);
  }
  return value;
}

// A data or end record whose length and checksum agree, as gpasm writes them.
static bool record_is_sound(const char *record) {
  int length = static_cast<int>(std::strlen(record));
  if (record[0] != ':' || length < 11 || length % 2 == 0) return false;
  int count = hex_value(record + 1, 2);
  int type = hex_value(record + 7, 2);
  if (count < 0 || length != 11 + 2 * count || (type != 0 && type != 1)) return false;
  int sum = 0;
  for (int i = 1; i < length; i += 2) {
    int byte = hex_value(record + i, 2);
    if (byte < 0) return false;
    sum += byte;
  }
  return sum % 256 == 0;
}

// Copies the firmware's records into the HEX section; false on a damaged file.
static bool put_hex_section(const char *hex_name) {
  FILE *hex = std::fopen(hex_name, "r");
  if (!hex) return false;
  char record[record_size];
  bool sound = true;
  bool ended = false;
  while (sound && !ended && std::fgets(record, sizeof record, hex)) {
    record[std::strcspn(record, "\r\n")] = '\0';
    sound = record_is_sound(record);
    ended = std::strcmp(record, ":00000001FF") == 0;
    if (sound) put_line(record);
  }
  std::fclose(hex);
  return sound && ended;
}

static void put_zb_section() {
  char line[64];
  for (const bit_group &group : bit_groups) {
    if (group.forty_pins && chip->porte_pins == 0) continue;
    int count = group.count ? chip->*group.count : group.fixed_count;
    for (int i = 0; i < count; i++) {
      std::snprintf(line, sizeof line, "zb %d %s%d", group.first_address + i, group.prefix, i);
      put_line(line);
    }
  }
  for (const named_bit &bit : named_bits) {
    std::snprintf(line, sizeof line, "zb %d %s", bit.address, bit.name);
    put_line(line);
  }
}

static void put_cst_section() {
  char line[64];
  for (const constant_entry &entry : constant_entries) {
    if ((entry.forty_pins && chip->porte_pins == 0) || entry.timer >= chip->timers) continue;
    std::snprintf(line, sizeof line, "%s %x %s", entry.kind, entry.address, entry.name);
    put_line(line);
  }
}

int main(int argc, char **argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: make_definition CHIP firmware.hex out.def\n");
    return 2;
  }
  for (const chip_entry &entry : chip_table)
    if (std::strcmp(entry.name, argv[1]) == 0) chip = &entry;
  if (!chip) {
    std::fprintf(stderr, "make_definition: no chip named %s\n", argv[1]);
    return 2;
  }
  definition = std::fopen(argv[3], "wb");
  if (!definition) {
    std::fprintf(stderr, "make_definition: cannot create %s\n", argv[3]);
    return 1;
  }
  char line[64];
  put_line("@INFOS");
  for (const info_entry &info : infos) {
    if (info.value)
      std::snprintf(line, sizeof line, info.hex ? "%s %x" : "%s %d", info.key, chip->*info.value);
    else
      std::snprintf(line, sizeof line, "%s %s", info.key, info.common);
    put_line(line);
  }
  put_line("@HEX");
  bool sound = put_hex_section(argv[2]);
  put_line("@ZB");
  put_zb_section();
  put_line("@CST");
  put_cst_section();
  put_line("@END");
  if (std::fclose(definition) != 0 || !sound) {
    std::fprintf(stderr, "make_definition: %s is missing or damaged\n", argv[2]);
    std::remove(argv[3]);
    return 1;
  }
  return 0;
}
