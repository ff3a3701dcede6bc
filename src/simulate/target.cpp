// The target as the simulator sees it: found through the names the loaded
// definition gives its bits and constants, so every bundled chip runs the same way.
#include <cstdio>
#include <cstring>

#include "compiler/compiler.h"
#include "simulate/simulate.h"

sim_target_map sim_target;

static int named_bit(const char *format, int n) {
  char name[definition_name_size];
  std::snprintf(name, sizeof name, format, n);
  int address;
  return find_zb(name, address) ? address : -1;
}

// An EEPROM byte as the chip reads it: a byte the image leaves unset is erased.
static int eeprom_byte(int address) {
  int32_t value = address >= 0 && address < eeprom_bytes ? automaton_definition.eeprom_image[address] : -1;
  return value == -1 ? 0xFF : value & 0xFF;
}

// The constant's EEPROM address when the definition declares it with this kind, else -1.
static int eeprom_constant(const char *format, int n, int kind) {
  char name[definition_name_size];
  std::snprintf(name, sizeof name, format, n);
  int address, found_kind;
  return find_cst(name, address, found_kind) && found_kind == kind ? address : -1;
}

static void bind_pins() {
  sim_target.pin_count = 0;
  for (int port = 0; port < sim_port_count; port++)
    for (int bit = 0; bit < sim_port_width; bit++) {
      char format[8];
      std::snprintf(format, sizeof format, "R%c%%d", 'A' + port);
      int address = named_bit(format, bit);
      if (address < 0) continue;
      sim_pin &pin = sim_target.pins[sim_target.pin_count++];
      std::snprintf(pin.name, sizeof pin.name, "R%c%d", 'A' + port, bit);
      pin.address = address;
      pin.port = port;
      pin.bit = bit;
    }
}

// Each port that has pins needs its directions; false names the first one without.
static bool bind_directions(char &missing_port) {
  for (int port = 0; port < sim_port_count; port++) {
    bool has_pins = false;
    for (int p = 0; p < sim_target.pin_count; p++) has_pins = has_pins || sim_target.pins[p].port == port;
    int address = eeprom_constant("TRIS%c", 'A' + port, cst_eb);
    sim_target.tris[port] = address >= 0 ? eeprom_byte(address) : 0xFF;
    if (has_pins && address < 0) {
      missing_port = char('A' + port);
      return false;
    }
  }
  return true;
}

// Timers come in threes (TEn, Tn, TPn) from 0 up to the first one missing.
static void bind_timers() {
  sim_target.timer_count = 0;
  for (int n = 0; n < sim_timer_count; n++) {
    int enable = named_bit("TE%d", n), done = named_bit("T%d", n), preset = eeprom_constant("TP%d", n, cst_ew);
    if (enable < 0 || done < 0 || preset < 0) break;
    sim_target.enable_address[n] = enable;
    sim_target.done_address[n] = done;
    sim_target.preset[n] = eeprom_byte(preset) << 8 | eeprom_byte(preset + 1);
    sim_target.timer_count++;
  }
}

// The chip's costs: every one comes from the definition, none is guessed.
static const struct {
  const char *key;
  int32_t definition_record::*given;
  int sim_target_map::*cost;
  int least;  // a period or a count of nothing would stall the clock
} cost_keys[] = {
    {"cycles_lecture_ordre", &definition_record::cycles_lecture_ordre, &sim_target_map::fetch_cycles, 0},
    {"cycles_debut_passe", &definition_record::cycles_debut_passe, &sim_target_map::pass_start_cycles, 0},
    {"cycles_avant_controle", &definition_record::cycles_avant_controle, &sim_target_map::reset_cycles, 0},
    {"cycles_controle_ordre", &definition_record::cycles_controle_ordre, &sim_target_map::check_order_cycles, 0},
    {"cycles_apres_controle", &definition_record::cycles_apres_controle, &sim_target_map::setup_cycles, 0},
    {"periode_interruption", &definition_record::periode_interruption, &sim_target_map::interrupt_period, 1},
    {"interruptions_par_tick", &definition_record::interruptions_par_tick, &sim_target_map::interrupts_per_tick, 1},
    {"cycles_interruption", &definition_record::cycles_interruption, &sim_target_map::interrupt_cycles, 0},
    {"chemin_lecture_ordre", &definition_record::chemin_lecture_ordre, &sim_target_map::fetch_path, 0},
    {"cycles_interruption_tick", &definition_record::cycles_interruption_tick, &sim_target_map::tick_extra_cycles, 0},
};

// False with the first key the definition does not give (or gives below its least).
static bool bind_costs(const char *&missing) {
  const definition_record &d = automaton_definition;
  bool used[sim_port_count] = {};
  for (int p = 0; p < sim_target.pin_count; p++) used[sim_target.pins[p].port] = true;
  sim_target.port_count = 0;
  for (bool port_used : used) sim_target.port_count += port_used;
  for (const auto &key : cost_keys) {
    if (d.*key.given < key.least) {
      missing = key.key;
      return false;
    }
    sim_target.*key.cost = d.*key.given;
  }
  if (sim_target.fetch_path >= sim_fetch_paths) missing = "chemin_lecture_ordre";
  return missing == nullptr;
}

static bool refuse(char *error, int size, const char *text) {
  std::snprintf(error, size_t(size), "%s", text);
  return false;
}

bool sim_bind_target(char *error, int error_size) {
  if (!program_area_fits(error, error_size)) return false;
  int steps = 0;
  for (int n = 0; n < sim_step_count; n++) {
    sim_target.step_address[n] = named_bit("x%d", n);
    steps += sim_target.step_address[n] >= 0;
  }
  if (steps == 0) return refuse(error, error_size, "the definition names no step variables (x0, x1, ...)");
  bind_pins();
  if (sim_target.pin_count == 0) return refuse(error, error_size, "the definition names no port pins (RA0, RB0, ...)");
  char port = 0;
  if (!bind_directions(port)) {
    std::snprintf(error, size_t(error_size), "the definition has pins on port %c but no constant TRIS%c", port, port);
    return false;
  }
  bind_timers();
  sim_target.unstable_address = named_bit("UNSTABLE", 0);
  int64_t clock = automaton_definition.frequence_horloge;
  if (clock <= 0)
    return refuse(error, error_size, "the definition does not give the chip's clock (frequence_horloge)");
  sim_target.cycles_per_second = clock / 4;
  sim_target.tick_cycles = int(sim_target.cycles_per_second / 100);
  const char *missing = nullptr;
  if (!bind_costs(missing)) {
    std::snprintf(error, size_t(error_size), "the definition does not give the simulator's cycle cost %s", missing);
    return false;
  }
  return true;
}

int sim_find_pin(const char *name) {
  for (int p = 0; p < sim_target.pin_count; p++)
    if (std::strcmp(sim_target.pins[p].name, name) == 0) return p;
  return -1;
}

bool sim_pin_is_input(int pin) {
  if (pin < 0 || pin >= sim_target.pin_count) return false;
  const sim_pin &p = sim_target.pins[pin];
  return (sim_target.tris[p.port] >> p.bit & 1) != 0;
}
