// The automaton definition: the target's sizes, its program area, the interpreter's
// memory image from Intel HEX records, its bit variables and its constants.
#include <cctype>
#include <cstdio>
#include <cstring>

#include <iterator>

#include "files/text_io.h"
#include "model/model.h"
#include "platform/message_box.h"
#include "compiler/compiler.h"

definition_record automaton_definition;
bool automaton_definition_loaded;

// Keys only the simulator reads; a definition that lacks them must not inherit the previous one's.
static int32_t definition_record::*const simulator_fields[] = {
    &definition_record::frequence_horloge,       &definition_record::cycles_lecture_ordre,
    &definition_record::cycles_debut_passe,      &definition_record::cycles_avant_controle,
    &definition_record::cycles_apres_controle,   &definition_record::cycles_controle_ordre,
    &definition_record::periode_interruption,    &definition_record::interruptions_par_tick,
    &definition_record::cycles_interruption,     &definition_record::chemin_lecture_ordre,
    &definition_record::cycles_interruption_tick,
};

// The spare bits: a definition without them has none, whatever the previous one had.
static int32_t definition_record::*const spare_fields[] = {&definition_record::zb_libre_debut,
                                                           &definition_record::zb_libre_fin};

void init_automaton_definition() {
  automaton_definition_loaded = false;
  std::memset(&automaton_definition, 0, sizeof automaton_definition);
  for (int32_t definition_record::*field : simulator_fields) automaton_definition.*field = not_given;
  for (int32_t definition_record::*field : spare_fields) automaton_definition.*field = not_given;
  automaton_definition.frequence_horloge = 0;
  for (zb_entry &entry : automaton_definition.zb_table) entry.zb_address = -1;
  for (cst_entry &entry : automaton_definition.cst_table) {
    entry.cst_kind = cst_none;
    entry.cst_address = -1;
  }
}

// ---- Reading words and characters of the definition file --------------------

constexpr int definition_word_size = 112;  // a word of the file: at most 111 characters
constexpr int no_char = -2;

static FILE *definition_stream;
static char current_word[definition_word_size];
// A value word that turned out to be the next key is read again.
static char held_word[definition_word_size];
static bool word_held;
// The character after a short hexadecimal field of a HEX record.
static int held_char = no_char;

static bool next_word(char *word) {
  if (word_held) {
    word_held = false;
    copy_field(word, definition_word_size, held_word);
    return true;
  }
  return read_word(definition_stream, word, definition_word_size);
}

static int next_char() {
  int c = held_char;
  held_char = no_char;
  return c != no_char ? c : read_char(definition_stream);
}

static int next_non_blank_char() {
  int c = next_char();
  while (c != EOF && std::isspace(c)) c = next_char();
  return c;
}

static int hex_digit_value(int c) { return std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10; }

// Up to `digits` hexadecimal digits after any blanks; false at the end of the file.
static bool read_hex_field(int digits, int &value) {
  int c = next_non_blank_char();
  if (c == EOF) return false;
  value = 0;
  for (int read = 0; read < digits; read++) {
    if (!std::isxdigit(c)) {
      held_char = c;
      break;
    }
    value = value * 16 + hex_digit_value(c);
    if (read + 1 < digits) c = next_char();
  }
  return true;
}

// Hexadecimal digits of either case after an optional "0x"; false when the word
// does not begin like a number. Larger numbers wrap like a 32-bit field.
static bool parse_hexadecimal(const char *word, int32_t &value) {
  const char *p = word;
  if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && std::isxdigit(static_cast<unsigned char>(p[2]))) p += 2;
  if (!std::isxdigit(static_cast<unsigned char>(*p))) return false;
  uint32_t number = 0;
  for (; std::isxdigit(static_cast<unsigned char>(*p)); p++) number = number * 16 + hex_digit_value(*p);
  value = int32_t(number);
  return true;
}

static bool parse_decimal(const char *word, int32_t &value) {
  const char *end;
  value = read_decimal_text(word, &end);
  return end != word;
}

static bool refuse(const char *format, const char *detail) {
  char text[200];
  std::snprintf(text, sizeof text, format, detail);
  show_message_box(box_error, "Def File", text);
  return false;
}

// ---- The sections ------------------------------------------------------------

// INFOS keys with a number value, and whether the number is hexadecimal.
static const struct {
  const char *key;
  int32_t definition_record::*field;
  bool hexadecimal;
} info_keys[] = {
    {"uc_taille_flash", &definition_record::uc_taille_flash, true},
    {"uc_taille_eeprom", &definition_record::uc_taille_eeprom, true},
    {"adr_start_graphcet", &definition_record::adr_start_graphcet, true},
    {"adr_stop_graphcet", &definition_record::adr_stop_graphcet, true},
    {"taille_zb", &definition_record::taille_zb, false},
    {"frequence_horloge", &definition_record::frequence_horloge, false},
    {"cycles_lecture_ordre", &definition_record::cycles_lecture_ordre, false},
    {"cycles_debut_passe", &definition_record::cycles_debut_passe, false},
    {"cycles_avant_controle", &definition_record::cycles_avant_controle, false},
    {"cycles_controle_ordre", &definition_record::cycles_controle_ordre, false},
    {"cycles_apres_controle", &definition_record::cycles_apres_controle, false},
    {"periode_interruption", &definition_record::periode_interruption, false},
    {"interruptions_par_tick", &definition_record::interruptions_par_tick, false},
    {"cycles_interruption", &definition_record::cycles_interruption, false},
    {"chemin_lecture_ordre", &definition_record::chemin_lecture_ordre, false},
    {"cycles_interruption_tick", &definition_record::cycles_interruption_tick, false},
    {"zb_libre_debut", &definition_record::zb_libre_debut, false},
    {"zb_libre_fin", &definition_record::zb_libre_fin, false},
};


// The hex writer reads the images up to these sizes, so larger ones are refused.
static bool info_value_fits(int32_t definition_record::*field, int32_t value) {
  if (field == &definition_record::uc_taille_flash && value > flash_words)
    return refuse("%s", "uc_taille_flash trop grand (maximum 0x2000)");
  if (field == &definition_record::uc_taille_eeprom && value > eeprom_bytes)
    return refuse("%s", "uc_taille_eeprom trop grand (maximum 0x100)");
  return true;
}

static bool read_info_value(const char *key, const char *value) {
  if (std::strcmp(key, "uc_type") == 0) {
    if (std::strcmp(value, "pic_1") != 0) return refuse("%s", "Bad uc type");
    automaton_definition.uc_type = 0;
    return true;
  }
  for (const auto &info : info_keys) {
    if (std::strcmp(key, info.key) != 0) continue;
    int32_t number;
    bool is_number = info.hexadecimal ? parse_hexadecimal(value, number) : parse_decimal(value, number);
    if (!is_number) {
      // Not a number: the field stays as it was and the word is read next as a key.
      copy_field(held_word, definition_word_size, value);
      word_held = true;
      return true;
    }
    if (!info_value_fits(info.field, number)) return false;
    automaton_definition.*info.field = number;
  }
  return true;
}

static bool read_infos() {
  char value[definition_word_size];
  for (;;) {
    if (!next_word(current_word)) return false;
    if (current_word[0] == '@') return true;
    if (!next_word(value)) return false;
    if (!read_info_value(current_word, value)) return false;
  }
}

static void store_hex_word(int word_address, int32_t word) {
  definition_record &d = automaton_definition;
  if (word_address >= 0 && word_address < flash_words) d.flash_image[word_address] = word;
  int config_index = word_address - config_words_address;
  if (config_index >= 0 && config_index < config_word_count) d.config_words[config_index] = word;
  int eeprom_index = word_address - eeprom_address;
  if (eeprom_index >= 0 && eeprom_index < eeprom_bytes) d.eeprom_image[eeprom_index] = word;
}

static bool read_hex_record() {
  int count, address, type, checksum;
  if (!read_hex_field(2, count) || !read_hex_field(4, address) || !read_hex_field(2, type)) return false;
  int word_address = address / 2;
  for (int word = 0; word < count / 2; word++) {
    int low, high;
    if (!read_hex_field(2, low) || !read_hex_field(2, high)) return false;
    store_hex_word(word_address++, high * 256 + low);
  }
  return read_hex_field(2, checksum);
}

static bool read_hex() {
  definition_record &d = automaton_definition;
  for (int32_t &word : d.flash_image) word = -1;
  for (int32_t &byte : d.eeprom_image) byte = -1;
  for (int32_t &word : d.config_words) word = -1;
  for (;;) {
    int c = next_non_blank_char();
    if (c == EOF) return false;
    if (c != ':') {
      // Whatever the character, it stands for the "@" of the next header.
      current_word[0] = '@';
      return read_word(definition_stream, current_word + 1, definition_word_size - 1);
    }
    if (!read_hex_record()) return false;
  }
}

// ZB and CST entries: three words each, until a word that begins with "@".
static bool read_entries(int limit, const char *too_many,
                         bool (*store)(int index, const char *lead, const char *address, const char *name)) {
  char address[definition_word_size], name[definition_word_size];
  for (int count = 0;; count++) {
    if (!next_word(current_word)) return false;
    if (current_word[0] == '@') return true;
    if (!next_word(address) || !next_word(name)) return false;
    if (count == limit) return refuse("%s", too_many);
    if (!store(count, current_word, address, name)) return false;
  }
}

static bool store_zb(int index, const char *, const char *address, const char *name) {
  if (std::strlen(name) >= definition_name_size)
    return refuse("Nom de ZB trop long (maximum 19 caracteres): %s", name);
  zb_entry &entry = automaton_definition.zb_table[index];
  entry.zb_address = read_decimal_text(address);
  copy_field(entry.zb_name, definition_name_size, name);
  return true;
}

static bool read_zb() {
  for (zb_entry &entry : automaton_definition.zb_table) entry = {-1, ""};
  return read_entries(zb_entries, "Trop de ZB (maximum 400)", store_zb);
}

static const struct {
  const char *word;
  cst_kind_value kind;
} cst_kind_words[] = {{"eb", cst_eb}, {"ew", cst_ew}, {"fb", cst_fb}, {"fw", cst_fw}};
static_assert(std::size(cst_kind_words) == cst_fw + 1, "one word per kind of constant");

static cst_kind_value cst_kind_of(const char *word) {
  for (const auto &kind : cst_kind_words)
    if (std::strcmp(word, kind.word) == 0) return kind.kind;
  return cst_none;
}

static bool store_cst(int index, const char *kind, const char *address, const char *name) {
  // The constants table holds 14 characters; a cut name could never be matched.
  if (std::strlen(name) >= constant_name_size)
    return refuse("Nom de CST trop long (maximum 14 caracteres): %s", name);
  cst_entry &entry = automaton_definition.cst_table[index];
  entry.cst_kind = cst_kind_of(kind);
  int32_t number = 0;
  parse_hexadecimal(address, number);
  entry.cst_address = number;
  copy_field(entry.cst_name, definition_name_size, name);
  return true;
}

static bool read_cst() {
  for (cst_entry &entry : automaton_definition.cst_table) entry = {cst_none, -1, ""};
  return read_entries(cst_entries, "Trop de CST (maximum 100)", store_cst);
}

// Sections in the order they are expected; a header out of this order is skipped.
static const struct {
  const char *header;
  bool (*read)();
} sections[] = {{"@INFOS", read_infos}, {"@HEX", read_hex}, {"@ZB", read_zb}, {"@CST", read_cst}};

static bool read_sections() {
  for (;;) {
    if (!next_word(current_word)) return true;
    for (const auto &section : sections)
      if (std::strcmp(current_word, section.header) == 0 && !section.read()) return false;
    if (std::strcmp(current_word, "@END") == 0) return true;
  }
}

int load_automaton_definition() { return load_automaton_definition_from(app_config(config_automate)); }

int load_automaton_definition_from(const char *path) {
  // Whatever the outcome, the target last loaded is no longer the one named.
  automaton_definition_loaded = false;
  definition_stream = open_for_reading(path);
  if (!definition_stream) {
    show_message_box(box_error, "Files", "Impossible d'ouvrir le fichier de definition de l'automate");
    return 1;
  }
  word_held = false;
  held_char = no_char;
  // A definition that does not give the clock or a cost must not inherit the previous one's.
  for (int32_t definition_record::*field : simulator_fields) automaton_definition.*field = not_given;
  for (int32_t definition_record::*field : spare_fields) automaton_definition.*field = not_given;
  automaton_definition.frequence_horloge = 0;
  bool loaded = read_sections();
  std::fclose(definition_stream);
  definition_stream = nullptr;
  automaton_definition_loaded = loaded;
  return loaded ? 0 : 1;
}

void copy_constant_names() {
  int row = 0;
  for (const cst_entry &entry : automaton_definition.cst_table)
    if (entry.cst_address != -1 && row < table_rows)
      copy_field(constants[row++].name, constant_name_size, entry.cst_name);
}

bool find_zb(const char *name, int &address) {
  for (const zb_entry &entry : automaton_definition.zb_table)
    if (entry.zb_address != -1 && std::strcmp(entry.zb_name, name) == 0) {
      address = entry.zb_address;
      return true;
    }
  return false;
}

bool find_cst(const char *name, int &address, int &kind) {
  for (const cst_entry &entry : automaton_definition.cst_table)
    if (entry.cst_address != -1 && std::strcmp(entry.cst_name, name) == 0) {
      address = entry.cst_address;
      kind = entry.cst_kind;
      return true;
    }
  return false;
}

bool find_pin(const char *name, int &address, int &tris_address) {
  if (std::strlen(name) != 3 || name[0] != 'R' || name[1] < 'A' || name[1] > 'E' || name[2] < '0' || name[2] > '7')
    return false;
  const char tris[] = {'T', 'R', 'I', 'S', name[1], 0};
  int kind;
  return find_zb(name, address) && find_cst(tris, tris_address, kind) && kind == cst_eb;
}

// Only bits an operand can name (one byte) count.
int spare_bit_count() {
  const definition_record &d = automaton_definition;
  if (d.zb_libre_debut < 0 || d.zb_libre_fin < d.zb_libre_debut || d.zb_libre_debut > 255) return 0;
  return (d.zb_libre_fin > 255 ? 255 : d.zb_libre_fin) - d.zb_libre_debut + 1;
}
