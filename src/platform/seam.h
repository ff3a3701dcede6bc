// The one seam between the core (shell and pages) and a backend. The core draws
// only through the calls below, which mirror the window system's drawing calls one
// for one, hears the window only through window_procedure's messages, and reports
// through message boxes; each backend (headless, SDL2, Win32) implements this in
// one file and never sees the shell behind it.
#pragma once
#include <cstdint>

#include "platform/message_box.h"

// ---- The window ---------------------------------------------------------------

// The program's name and version, as its window title shows them.
constexpr const char *program_title = "TALVEN  version Beta 0.0";
// The client area of the program's window.
constexpr int client_width = 700;
constexpr int client_height = 500;

// ---- What the backend tells the core -----------------------------------------

enum message_kind {
  message_create,
  message_destroy,
  message_paint,
  message_key_down,          // key: virtual-key code
  message_char,              // key: character code
  message_left_button_down,  // x, y: client coordinates
  message_right_button_down,
  message_left_double_click, // the second press of a quick double click; not handled
  message_close,             // the user asks to close the window; the core may refuse
  message_timer,             // one second has passed
  message_simulation_tick,   // the period asked for with set_simulation_timer has passed
  message_left_button_up,    // x, y: client coordinates
  message_other,
};

// What happened, where, with which key; backends translate native events into these.
struct message {
  message_kind kind;
  int key;
  int x, y;
};

// The one entry point every backend calls, for every message.
void window_procedure(const message &m);
// Before the window is made: the command line, talven [FOLDER] or --help or
// --version. Makes FOLDER the current folder and gives start_go_on; otherwise the
// status to exit with, after the usage, the version or an error box.
constexpr int start_go_on = -1;
int enter_start_folder(int argc, char **argv);
// "Beta 0.0": the version the window's title shows.
const char *program_version();

// The modifier keys held while the current message was made, as flags.
constexpr int modifier_shift = 1;
constexpr int modifier_control = 2;
int held_modifiers();

// Virtual-key codes the core reacts to; backends deliver these in message_key_down.
constexpr int key_tab = 0x09;
constexpr int key_shift = 0x10;
constexpr int key_control = 0x11;
constexpr int key_escape = 0x1B;
constexpr int key_page_up = 0x21;
constexpr int key_page_down = 0x22;
constexpr int key_end = 0x23;
constexpr int key_home = 0x24;
constexpr int key_left = 0x25;
constexpr int key_up = 0x26;
constexpr int key_right = 0x27;
constexpr int key_down = 0x28;
constexpr int key_insert = 0x2D;
constexpr int key_delete = 0x2E;
constexpr int key_y = 'Y';
constexpr int key_z = 'Z';

// Character codes with a meaning of their own in message_char.
constexpr int char_backspace = 0x08;
constexpr int char_enter = 0x0D;

// ---- What the core asks of the backend ---------------------------------------

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
// Shows the title in the window's title bar.
void set_window_title(const char *title);
// A message_simulation_tick every milliseconds from now on, 0 to stop; ticks that
// fall due while one waits are merged, so a slow handler never falls behind.
void set_simulation_timer(int milliseconds);
// The top-left width by height pixels of the client area as shown, each 0x00RRGGBB.
bool read_window_pixels(uint32_t *pixels, int width, int height);
