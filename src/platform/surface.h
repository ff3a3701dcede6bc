// The software surface that stands in for the window's client area on the
// headless and SDL2 backends. The drawing calls of platform.h write into it with
// the window system's pixel rules; backends show it, tests read it back.
#pragma once
#include "platform/seam.h"

#include <cstdint>

// Large enough for the pictures of a run; the window shows its top-left 700 by 500, scaled.
constexpr int surface_width = 1920;
constexpr int surface_height = 1200;
// The window class's light-grey background, shown wherever the program never drew.
constexpr rgb window_class_grey{192, 192, 192};

// The character cell of the program's font: the text at (x, y) fills rows y to y + 14.
constexpr int font_cell_height = 15;
constexpr int font_advance = 8;

// Paints the whole surface light grey and forgets every font, pen and brush:
// the state of a window that has just been created.
void reset_surface();
rgb surface_pixel(int x, int y);
// Rows of surface_width pixels, each 0x00RRGGBB.
const uint32_t *surface_rows();
// True once after anything was drawn since the previous call; backends present then.
bool surface_changed();
// Drawing contexts acquired and not yet released.
int open_drawing_contexts();
