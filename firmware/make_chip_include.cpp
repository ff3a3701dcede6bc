// Writes a chip's row of model/chips.h as gpasm's processor, configuration word and
// equates, which its firmware/CHIP.asm includes first:  make_chip_include CHIP CHIP_chip.inc
#include <cstdio>
#include <cstring>

#include "model/chips.h"

// Addresses in hexadecimal, counts in decimal.
static void write_equate(FILE *file, const char *name, int value, bool address, const char *why) {
  char text[16];
  std::snprintf(text, sizeof text, address ? "0x%X" : "%d", value);
  if (why)
    std::fprintf(file, "%-19s equ %-8s ; %s\n", name, text, why);
  else
    std::fprintf(file, "%-19s equ %s\n", name, text);
}

static void write_chip(FILE *file, const chip_entry &chip) {
  char title[16];
  chip_title(chip, title);
  std::fprintf(file, "; The %s, written by make_chip_include from src/model/chips.h.\n", title);
  std::fprintf(file, "        list    p=%s, r=dec\n        #include <p%s.inc>\n", chip.name + 3, chip.name + 3);
  std::fprintf(file, "        __config %s%s%s\n", chip.config_register ? chip.config_register : "",
               chip.config_register ? ", " : "", chip.config);
  write_equate(file, "program_area", chip.program_start, true, "first word of the compiled program");
  write_equate(file, "area_end", chip.program_stop, true, "the word after the last order");
  write_equate(file, "program_end", chip.flash_words, true, "the word after program memory");
  write_equate(file, "port_count", chip.porte_pins ? 5 : 2, false, "PORTA and PORTB, or up to PORTE");
  write_equate(file, "timer_count", chip.timers, false, nullptr);
  // Only the equates of the chip's tick: a file that includes the other tick does not assemble.
  if (chip.tick == tick_ccp1) write_equate(file, "tick_cycles", chip.interrupt_period, false, "cycles of a tick");
  if (chip.tick == tick_timer0) {
    write_equate(file, "interrupt_period", chip.interrupt_period, false, "cycles between interrupts");
    write_equate(file, "interrupts_per_tick", chip.interrupts_per_tick, false, nullptr);
  }
  write_equate(file, "ram_start", chip.ram_start, true, "the start-up clears RAM from here");
  write_equate(file, "ram_end", chip.ram_end, true, "to the byte before this one");
  write_equate(file, "compact_core", chip.compact_core, false, "one handler per order, not per order and bit");
}

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_chip_include CHIP CHIP_chip.inc\n");
    return 2;
  }
  const chip_entry *chip = nullptr;
  for (const chip_entry &entry : chip_table)
    if (std::strcmp(entry.name, argv[1]) == 0) chip = &entry;
  if (!chip) {
    std::fprintf(stderr, "make_chip_include: no chip named %s in src/model/chips.h\n", argv[1]);
    return 2;
  }
  FILE *file = std::fopen(argv[2], "w");
  if (!file) {
    std::fprintf(stderr, "make_chip_include: cannot write %s\n", argv[2]);
    return 1;
  }
  write_chip(file, *chip);
  return std::fclose(file) == 0 ? 0 : 1;
}
