// The target side: the literal language, the automaton definition and the compiler.
#pragma once
#include <cstdint>

// ---- The literal language ----------------------------------------------------

// A word of the literal program; longer words (continued across rows after "@")
// are cut, which cannot make them match any name a definition declares.
constexpr int literal_word_size = 64;

// With reset set, rewinds the reading position to row 0, column 0 and returns 0.
// Otherwise returns 0 with the next pair of words and the row of its second word,
// or 1 when no complete pair is left. The reading position persists between calls.
int next_literal_pair(bool reset, char *first, char *second, int &line);
// The order code of an order word (model/orders.h); false when the word is no order.
bool find_order(const char *word, int &code);

// Decimal reading as the literal language and the definition file use it: an
// optional sign, then digits up to the first other character; no digits gives 0.
// Sets end to the first character not read (the text itself when nothing was read).
int read_decimal_text(const char *text, const char **end = nullptr);

// ---- The automaton definition ------------------------------------------------

constexpr int flash_words = 0x2000;    // program memory word addresses 0x0000..0x1FFF
constexpr int eeprom_bytes = 0x100;    // chip word addresses 0x2100..0x21FF
constexpr int config_word_count = 8;   // chip word addresses 0x2000..0x2007
constexpr int zb_entries = 400;
constexpr int cst_entries = 100;
constexpr int definition_name_size = 20;  // 19 characters and the NUL
constexpr int config_words_address = 0x2000;
constexpr int eeprom_address = 0x2100;

enum cst_kind_value : int8_t { cst_none = -1, cst_eb = 0, cst_ew = 1, cst_fb = 2, cst_fw = 3 };

struct zb_entry {
  int32_t zb_address;  // -1: free entry
  char zb_name[definition_name_size];
};

struct cst_entry {
  int8_t cst_kind;
  int32_t cst_address;  // -1: free entry
  char cst_name[definition_name_size];
};

constexpr int32_t not_given = -1;  // a simulator key the definition lacks

struct definition_record {
  int32_t uc_type;
  int32_t uc_taille_flash;
  int32_t uc_taille_eeprom;
  int32_t adr_start_graphcet;
  int32_t adr_stop_graphcet;
  int32_t taille_zb;
  int32_t frequence_horloge;  // the chip's clock in Hz, for the simulator; 0 when not given
  // The interpreter's chip-dependent cycle costs, for the simulator; not_given when absent.
  int32_t cycles_lecture_ordre;      // fetching and decoding one order
  int32_t cycles_debut_passe;        // starting a pass
  int32_t cycles_avant_controle;     // reset to the program check
  int32_t cycles_controle_ordre;     // the check's read of one plain order
  int32_t cycles_apres_controle;     // program check to the first tick
  int32_t periode_interruption;      // cycles between timer interrupts
  int32_t interruptions_par_tick;    // interrupts per 10 ms tick
  int32_t cycles_interruption;       // one interrupt, the shorter of its two lengths
  int32_t chemin_lecture_ordre;      // the interpreter's fetch of an order: 0 fast core, 1 beyond 2K words, 2 compact core
  int32_t cycles_interruption_tick;  // added by the interrupt that counts a tick
  // The bits no name and no interpreter state use, first and last included, where the
  // compiler keeps the input edges; not_given: the target has none.
  int32_t zb_libre_debut;
  int32_t zb_libre_fin;
  int32_t flash_image[flash_words];  // -1: unset word
  int32_t eeprom_image[eeprom_bytes];
  int32_t config_words[config_word_count];
  zb_entry zb_table[zb_entries];
  cst_entry cst_table[cst_entries];
};

extern definition_record automaton_definition;
// Whether the last load of a definition succeeded; without one nothing can be compiled.
extern bool automaton_definition_loaded;

// The start-up state: images 0, numbers 0, every table entry free.
void init_automaton_definition();

// Loads the definition named by app_config's Automate entry. 0 on success, 1 on failure.
int load_automaton_definition();
// The same from a file named by its path rather than by Automate.
int load_automaton_definition_from(const char *path);
// Copies the used constant names of the loaded definition into the constants name column.
void copy_constant_names();

// The address of the first used entry with exactly this name.
bool find_zb(const char *name, int &address);
bool find_cst(const char *name, int &address, int &kind);
// A pin of the target: RA0..RE7 declared as a bit, on a port whose TRIS constant
// (an EEPROM byte) the definition declares; its TRIS constant's EEPROM address.
bool find_pin(const char *name, int &address, int &tris_address);
// How many spare bits the loaded definition declares.
int spare_bit_count();

// ---- Step times ----------------------------------------------------------------

// "2s/x3", "500ms/x3", "1.5s/x3": true once step x3 has been active for that long. Each
// distinct step and count takes a timer, from the highest free one down.
constexpr int step_variable_count = 64;     // x0..x63
constexpr int step_time_most_ticks = 65535;  // a timer preset: 655.35 s
enum step_time_reading {
  step_time_none,          // no "/" after the first character: not a step time
  step_time_ok,            // step_address and ticks set (10 ms ticks, rounded up)
  step_time_malformed,     // not a decimal number, then s or ms, before the "/"
  step_time_unknown_step,  // the definition has no such name after the "/"
  step_time_not_step,      // the name after the "/" is no step variable
  step_time_too_long,      // more ticks than a preset holds
};
step_time_reading read_step_time(const char *word, int &step_address, int &ticks);

// ---- The compiler ------------------------------------------------------------

// False, with why in error, when the loaded definition holds a bundled chip's interpreter
// but declares a program area other than the one that interpreter reads.
bool program_area_fits(char *error, int error_size);

enum compile_result { compile_ok = 0, compile_errors = 1, compile_file_failed = 2 };
// Compiles literal_buffer into the definition's images and writes the hex file.
compile_result compile_literal_to_hex();
// The same without the hex file, its notice and its summary: the images alone, for
// running the program on the host. Errors are shown as for the hex.
compile_result compile_literal_to_image();
// The images as compiled last, written as Intel HEX to path (no notice, no summary).
bool write_image_hex(const char *path);
// The translation, then the compiler when the translation succeeded; a failed
// translation gives compile_errors and no hex.
compile_result compile_graphic_to_hex();
