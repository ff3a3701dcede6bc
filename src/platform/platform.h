// The small interface between the core (shell and pages) and the platform.
// The core draws only through these calls, which mirror the window system's
// drawing calls one for one; each backend (headless, SDL2, Win32) implements
// them in one file, and the shell never sees the toolkit behind them.
#pragma once
#include <cstdint>

struct rgb {
  uint8_t r, g, b;
  bool operator==(const rgb &) const = default;
};

// A drawing context for the whole client area, acquired per message.
struct draw_context;
using dc_handle = draw_context *;
// A font, pen or brush; created once, never deleted.
using gdi_object = intptr_t;

// The one font request of the program: "Courier", 15 high, 10 wide, weight 400,
// character set 0, pitch-and-family 48.
gdi_object create_courier_font();
gdi_object create_solid_pen(int width, rgb colour);
gdi_object create_solid_brush(rgb colour);
void select_object(dc_handle dc, gdi_object object);

// Outlined with the selected pen and filled with the selected brush; right and bottom edges excluded.
void draw_rectangle(dc_handle dc, int left, int top, int right, int bottom);
void draw_ellipse(dc_handle dc, int left, int top, int right, int bottom);
void move_to(dc_handle dc, int x, int y);
// Draws from the current position with the selected pen, end point excluded.
void line_to(dc_handle dc, int x, int y);
void set_pixel(dc_handle dc, int x, int y, rgb colour);
void set_transparent_background(dc_handle dc);
void set_text_colour(dc_handle dc, rgb colour);
// Draws count bytes of 8-bit text with the selected font, top-left at (x, y).
void text_out(dc_handle dc, int x, int y, const char *text, int count);

// The window's drawing context, valid between acquire and release of one message.
dc_handle acquire_window_dc();
void release_window_dc(dc_handle dc);
// Ends the message loop once the current message is handled.
void post_quit_message(int code);
