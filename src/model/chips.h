// The bundled chips, once: the firmware's CHIP_chip.inc (written by make_chip_include),
// make_definition's targets/CHIP.def, the compiler's program-area check and the firmware
// tests read this table; definition_test checks docs/chips.md's table against it.
#pragma once
#include <iterator>

// How the chip is clocked, as docs/chips.md says it; the configuration word chooses it.
enum chip_oscillator : unsigned char { oscillator_internal, oscillator_crystal_xt };

// What counts the 10 ms tick: Timer 1 reset by CCP1's compare (ccp_tick.inc, one interrupt a
// tick) or Timer 0's overflows (tmr0_tick.inc, interrupts_per_tick of them a tick).
enum chip_tick : unsigned char { tick_ccp1, tick_timer0 };

struct chip_entry {
  const char *name;   // targets/NAME.def; gpasm's processor is the name without "pic"
  const char *gpsim;  // the processor gpsim simulates it as
  int package_pins;
  int porta_pins;  // RA0 up
  int porte_pins;  // 0: no PORTC, PORTD, PORTE
  int timers;      // TE0.., T0.., TP0..
  int flash_words, eeprom_bytes;
  // The orders from program_start up to program_stop excluded; words past it up to the end
  // of flash guard the end of memory.
  int program_start, program_stop;
  int ram_start, ram_end;  // the bytes the start-up clears
  bool compact_core;       // one handler per order: the fast core's per-bit handlers do not fit
  int clock;               // Hz
  chip_oscillator oscillator;
  chip_tick tick;
  // The configuration word in config_register (nullptr: the chip's only word; the others stay
  // erased): its value, which the built definition must carry, and the same in gpasm's symbols.
  const char *config_register;
  int config_word;
  const char *config;
  // Cycles the host simulator takes from the definition: an order's fetch, a pass's start, reset
  // to the program check, the check's read of one order, program check to the first tick.
  int fetch_cycles, pass_start_cycles, reset_cycles, check_cycles, setup_cycles;
  // The tick's interrupt: every interrupt_period cycles, interrupt_cycles long or a cycle longer
  // as the instruction it lands on makes it, and tick_extra_cycles more when it counts a tick.
  int interrupt_period, interrupts_per_tick, interrupt_cycles, tick_extra_cycles;
  // The interpreter's fetch of an order, whose two-cycle instructions the simulator places:
  // 0 the fast core, 1 the fast core reading beyond 2K words, 2 the compact core.
  int fetch_path;
  // The bits of the bit map that no name and no interpreter state use (inclusive): the
  // compiler keeps the input edges' bits there.
  int spare_first, spare_last;
};

// A row: name, gpsim; pins of the package, PORTA and PORTE; timers; flash words, EEPROM bytes;
// program area; RAM; compact core; clock, oscillator, tick; configuration word; cycle costs;
// spare bits.
constexpr chip_entry chip_table[] = {
    {"pic16f628a", "p16f628a", 18, 8, 0, 8, 0x800, 0x80, 0x400, 0x800, 0x20, 0x80, false,
     4000000, oscillator_internal, tick_ccp1, nullptr, 0x3F14,
     "_INTOSC_OSC_NOCLKOUT & _WDT_ON & _PWRTE_ON & _MCLRE_OFF & _BOREN_OFF & _LVP_OFF & _CPD_OFF & _CP_OFF",
     37, 7, 536, 38, 277, 10000, 1, 12, 0, 0, 161, 255},
    // CONFIG2 stays erased: fail-safe clock monitor and two-speed start-up do not matter here.
    {"pic16f88", "p16f88", 18, 8, 0, 8, 0x1000, 0x100, 0x400, 0x1000, 0x20, 0x80, false,
     4000000, oscillator_internal, tick_ccp1, "_CONFIG1", 0x3F14,
     "_INTRC_IO & _WDT_ON & _PWRTE_ON & _MCLRE_OFF & _BOREN_OFF & _LVP_OFF & _CPD_OFF & _WRT_PROTECT_OFF & "
     "_DEBUG_OFF & _CCP1_RB0 & _CP_OFF",
     44, 8, 547, 45, 325, 10000, 1, 12, 0, 1, 161, 255},
    {"pic16f877a", "p16f877a", 40, 6, 3, 8, 0x2000, 0x100, 0x400, 0x2000, 0x20, 0x80, false,
     4000000, oscillator_crystal_xt, tick_ccp1, nullptr, 0x3F35,
     "_XT_OSC & _WDT_ON & _PWRTE_ON & _BOREN_OFF & _LVP_OFF & _CPD_OFF & _WRT_OFF & _DEBUG_OFF & _CP_OFF",
     44, 8, 604, 45, 325, 10000, 1, 12, 0, 1, 187, 255},
    // CONFIG2 stays erased: brown-out level 4 V (brown-out is off) and no write protection.
    {"pic16f887", "p16f887", 40, 6, 3, 8, 0x2000, 0x100, 0x400, 0x2000, 0x20, 0x80, false,
     4000000, oscillator_internal, tick_ccp1, "_CONFIG1", 0x20CC,
     "_INTRC_OSC_NOCLKOUT & _WDT_ON & _PWRTE_ON & _MCLRE_OFF & _CP_OFF & _CPD_OFF & _BOR_OFF & _IESO_OFF & "
     "_FCMEN_OFF & _LVP_OFF & _DEBUG_OFF",
     44, 8, 604, 45, 325, 10000, 1, 12, 0, 1, 187, 255},
    // Bytes 21..31 of its bit map hold the interpreter's state: only bits 161..167 are spare.
    // 1K words and 68 bytes of RAM: the compact core, which reads orders near as fast as the
    // chips beyond 2K words; the last two words guard the end of memory; Timer 0 ticks.
    {"pic16f84a", "p16f84", 18, 5, 0, 2, 0x400, 0x40, 0x200, 0x3FE, 0x0C, 0x50, true,
     4000000, oscillator_crystal_xt, tick_timer0, nullptr, 0x3FF5, "_XT_OSC & _WDT_ON & _PWRTE_ON & _CP_OFF",
     44, 7, 526, 38, 73, 250, 40, 16, 2, 2, 161, 167},
};
constexpr int chip_count = int(std::size(chip_table));

constexpr bool chips_tick_every_10_ms() {
  for (const chip_entry &chip : chip_table)
    if (chip.interrupt_period * chip.interrupts_per_tick * 100 != chip.clock / 4 ||
        (chip.tick == tick_ccp1 && chip.interrupts_per_tick != 1))
      return false;
  return true;
}
static_assert(chips_tick_every_10_ms(), "a tick is 10 ms; CCP1 interrupts once a tick");

// The last named bit is UNSTABLE (160), or RE's last pin on the chips with PORTE.
constexpr bool spare_bits_unnamed() {
  for (const chip_entry &chip : chip_table)
    if (chip.spare_first <= (chip.porte_pins ? 183 + chip.porte_pins : 160) || chip.spare_last > 255 ||
        chip.spare_first > chip.spare_last)
      return false;
  return true;
}
static_assert(spare_bits_unnamed(), "the spare bits lie past every named bit, inside the bit map");

// The fetch follows the core and where the program lies.
constexpr bool fetch_paths_follow_the_core() {
  for (const chip_entry &chip : chip_table)
    if (chip.fetch_path != (chip.compact_core ? 2 : chip.program_stop > 0x800 ? 1 : 0)) return false;
  return true;
}
static_assert(fetch_paths_follow_the_core(), "the compact core, or the fast core near or beyond 2K words");

constexpr bool chips_named_pic() {
  for (const chip_entry &chip : chip_table)
    if (chip.name[0] != 'p' || chip.name[1] != 'i' || chip.name[2] != 'c') return false;
  return true;
}
static_assert(chips_named_pic(), "gpasm's processor is the name after \"pic\"");

// The chip's name as messages and the docs write it: "PIC16F628A".
inline void chip_title(const chip_entry &chip, char (&title)[16]) {
  int i = 0;
  for (; chip.name[i] && i < 15; i++) title[i] = chip.name[i] >= 'a' && chip.name[i] <= 'z' ? char(chip.name[i] - 32) : chip.name[i];
  title[i] = '\0';
}
