// Programming the chip: the chosen preset's tool run on the hex just written, its output
// passed on as it arrives, a time limit, then a plain verdict.
#pragma once
#include "flash/programmers.h"

constexpr int flash_verdict_size = 1024;

// The chip_table row the loaded definition was built for; -1 when it is none of them.
int loaded_chip();
// The tool a preset runs (the first word of its program line) is on the PATH.
bool tool_installed(const programmer_preset &preset);
// The named preset; without a name the project's "choose", else the first whose tool is
// installed. nullptr with why in error.
const programmer_preset *pick_programmer(const char *name, char *error, int error_size);

// Starts the tool on hex_path for the loaded chip; false, with the verdict, when it cannot
// (the tool missing, the chip unknown to it, the tool not starting).
bool flash_begin(const programmer_preset &preset, const char *hex_path, char *verdict, int verdict_size);
// Passes on what the tool printed within wait_ms; false once it has ended, with the verdict
// and whether the chip was programmed.
bool flash_continue(int wait_ms, void (*output)(const char *text, int length), char *verdict, int verdict_size,
                    bool &programmed);
// Stops a running tool (the window left the page).
void flash_stop();
