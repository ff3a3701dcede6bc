// The compiled chart run in gpsim on the exercise's chip, each scenario's inputs driven
// onto its pins and the chip sampled only at the expectations' times.
#pragma once
#include <cstdint>

#include "model/chips.h"

// gpsim's PIC16F88 and PIC16F887 reset some 4,500 cycles after a clrwdt whatever WDTCON and
// OPTION say: their runs use this configuration word without WDTE; -1: the chip's own.
int gpsim_config_word(const char *chip);

// The bundled chip of the loaded definition: by the target's name, else by its program area.
const chip_entry *chip_of_target(const char *target);

enum chip_run_status { chip_ran, chip_no_gpsim, chip_failed };
struct chip_checks {
  chip_run_status status;
  int held, total;
};
// Runs the scenario files on the compiled images in gpsim, an expectation holding when the
// chip shows its value at its time or at either end of the margin. The target must be bound.
chip_checks run_scenario_files_on_chip(const chip_entry &chip, const char *const *paths, int count, int64_t margin_ns);
