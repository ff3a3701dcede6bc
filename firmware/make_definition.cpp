// Builds the PIC16F628A automaton definition from the assembled interpreter and
// the table of names below:  make_definition firmware.hex out.def
// The names and addresses must follow the bit map and the EEPROM layout of
// pic16f628a.asm; the simulator tests run compiled charts through both.
#include <cctype>
#include <cstdio>
#include <cstring>

struct info_entry {
  const char *key;
  const char *value;
};
// Sizes and program area in hexadecimal, the bit zone in decimal.
constexpr info_entry infos[] = {
    {"uc_type", "pic_1"},
    {"uc_taille_flash", "800"},
    {"uc_taille_eeprom", "80"},
    {"adr_start_graphcet", "400"},
    {"adr_stop_graphcet", "800"},
    {"taille_zb", "256"},
    {"frequence_horloge", "4000000"},  // the internal oscillator: the simulator's clock
};

// Bit variables come in groups of consecutive bit addresses: prefix + index.
struct bit_group {
  const char *prefix;
  int count;
  int first_address;
};
constexpr bit_group bit_groups[] = {
    {"x", 64, 0},    // steps
    {"RA", 8, 64},   // PORTA image
    {"RB", 8, 72},   // PORTB image
    {"M", 64, 80},   // internal bits
    {"TE", 8, 144},  // timer enables
    {"T", 8, 152},   // timer done bits
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
};
constexpr constant_entry constant_entries[] = {
    {"eb", 0x00, "TRISA"}, {"eb", 0x01, "TRISB"}, {"ew", 0x02, "TP0"}, {"ew", 0x04, "TP1"},
    {"ew", 0x06, "TP2"},   {"ew", 0x08, "TP3"},   {"ew", 0x0a, "TP4"}, {"ew", 0x0c, "TP5"},
    {"ew", 0x0e, "TP6"},   {"ew", 0x10, "TP7"},
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
  for (const bit_group &group : bit_groups)
    for (int i = 0; i < group.count; i++) {
      std::snprintf(line, sizeof line, "zb %d %s%d", group.first_address + i, group.prefix, i);
      put_line(line);
    }
  for (const named_bit &bit : named_bits) {
    std::snprintf(line, sizeof line, "zb %d %s", bit.address, bit.name);
    put_line(line);
  }
}

static void put_cst_section() {
  char line[64];
  for (const constant_entry &entry : constant_entries) {
    std::snprintf(line, sizeof line, "%s %x %s", entry.kind, entry.address, entry.name);
    put_line(line);
  }
}

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_definition firmware.hex out.def\n");
    return 2;
  }
  definition = std::fopen(argv[2], "wb");
  if (!definition) {
    std::fprintf(stderr, "make_definition: cannot create %s\n", argv[2]);
    return 1;
  }
  char line[64];
  put_line("@INFOS");
  for (const info_entry &info : infos) {
    std::snprintf(line, sizeof line, "%s %s", info.key, info.value);
    put_line(line);
  }
  put_line("@HEX");
  bool sound = put_hex_section(argv[1]);
  put_line("@ZB");
  put_zb_section();
  put_line("@CST");
  put_cst_section();
  put_line("@END");
  if (std::fclose(definition) != 0 || !sound) {
    std::fprintf(stderr, "make_definition: %s is missing or damaged\n", argv[1]);
    std::remove(argv[2]);
    return 1;
  }
  return 0;
}
