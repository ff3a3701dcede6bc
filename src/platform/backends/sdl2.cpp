// The SDL2 backend and the window program's entry: one window showing the
// software surface, SDL events turned into the shell's messages in the order and
// with the codes the Windows message loop would deliver, and message boxes
// through SDL's simple message box.
#include "platform/scaled_view.h"
#include "platform/seam.h"
#include "platform/surface.h"

#include <SDL.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static bool quit_posted;
static int quit_code;

void post_quit_message(int code) {
  quit_posted = true;
  quit_code = code;
}

static void send(message_kind kind, int key = 0, int x = 0, int y = 0) {
  if (quit_posted) return;
  window_procedure({kind, key, x, y});
}

// Virtual-key codes of the keys that are not letters or digits.
struct virtual_key {
  SDL_Keycode sdl;
  int code;
};
static const virtual_key virtual_keys[] = {
    {SDLK_BACKSPACE, 0x08}, {SDLK_TAB, key_tab}, {SDLK_RETURN, 0x0D}, {SDLK_KP_ENTER, 0x0D},
    {SDLK_LSHIFT, key_shift}, {SDLK_RSHIFT, key_shift}, {SDLK_LCTRL, key_control}, {SDLK_RCTRL, key_control},
    {SDLK_PAUSE, 0x13}, {SDLK_CAPSLOCK, 0x14}, {SDLK_ESCAPE, key_escape}, {SDLK_SPACE, 0x20},
    {SDLK_PAGEUP, key_page_up}, {SDLK_PAGEDOWN, key_page_down}, {SDLK_END, key_end}, {SDLK_HOME, key_home},
    {SDLK_LEFT, key_left}, {SDLK_UP, key_up}, {SDLK_RIGHT, key_right}, {SDLK_DOWN, key_down},
    {SDLK_INSERT, key_insert}, {SDLK_DELETE, key_delete}, {SDLK_KP_0, 0x60}, {SDLK_KP_1, 0x61},
    {SDLK_KP_2, 0x62}, {SDLK_KP_3, 0x63}, {SDLK_KP_4, 0x64}, {SDLK_KP_5, 0x65},
    {SDLK_KP_6, 0x66}, {SDLK_KP_7, 0x67}, {SDLK_KP_8, 0x68}, {SDLK_KP_9, 0x69},
    {SDLK_KP_MULTIPLY, 0x6A}, {SDLK_KP_PLUS, 0x6B}, {SDLK_KP_MINUS, 0x6D}, {SDLK_KP_PERIOD, 0x6E},
    {SDLK_KP_DIVIDE, 0x6F}, {SDLK_NUMLOCKCLEAR, 0x90}, {SDLK_SCROLLLOCK, 0x91}, {SDLK_SEMICOLON, 0xBA},
    {SDLK_EQUALS, 0xBB}, {SDLK_COMMA, 0xBC}, {SDLK_MINUS, 0xBD}, {SDLK_PERIOD, 0xBE},
    {SDLK_SLASH, 0xBF}, {SDLK_BACKQUOTE, 0xC0}, {SDLK_LEFTBRACKET, 0xDB}, {SDLK_BACKSLASH, 0xDC},
    {SDLK_RIGHTBRACKET, 0xDD}, {SDLK_QUOTE, 0xDE},
};

// With NumLock off the keypad moves, as on Windows: each digit key is a navigation key.
static const virtual_key keypad_navigation[] = {
    {SDLK_KP_0, key_insert}, {SDLK_KP_1, key_end}, {SDLK_KP_2, key_down}, {SDLK_KP_3, key_page_down},
    {SDLK_KP_4, key_left}, {SDLK_KP_5, 0x0C}, {SDLK_KP_6, key_right}, {SDLK_KP_7, key_home},
    {SDLK_KP_8, key_up}, {SDLK_KP_9, key_page_up}, {SDLK_KP_PERIOD, key_delete},
};

static int virtual_key_code(SDL_Keycode key, bool num_lock) {
  if (!num_lock)
    for (const virtual_key &k : keypad_navigation)
      if (k.sdl == key) return k.code;
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 0x70 + (key - SDLK_F1);
  for (const virtual_key &k : virtual_keys)
    if (k.sdl == key) return k.code;
  return 0;
}

// The character that the key itself types, for the keys SDL gives no text for:
// Enter, Backspace, Tab, Escape and Control with a letter. -1 for none.
static int control_character(SDL_Keycode key, bool control) {
  if (key == SDLK_RETURN || key == SDLK_KP_ENTER) return control ? 0x0A : 0x0D;
  if (key == SDLK_BACKSPACE) return control ? 0x7F : 0x08;
  if (key == SDLK_TAB) return control ? -1 : 0x09;
  if (key == SDLK_ESCAPE) return 0x1B;
  if (control && key >= SDLK_a && key <= SDLK_z) return 1 + (key - SDLK_a);
  return -1;
}

// The key last pressed with Alt: the text SDL sends after it is not typed, as
// Windows types nothing for a system key. AltGr's other characters still are.
static SDL_Keycode alt_key;

static void key_pressed(const SDL_KeyboardEvent &e) {
  alt_key = (e.keysym.mod & KMOD_ALT) && !(e.keysym.mod & KMOD_MODE) ? e.keysym.sym : SDLK_UNKNOWN;
  // With Alt held the key is a system key, which the shell does not handle.
  if (alt_key != SDLK_UNKNOWN) return send(message_other);
  int code = virtual_key_code(e.keysym.sym, e.keysym.mod & KMOD_NUM);
  send(code ? message_key_down : message_other, code);
  int ch = control_character(e.keysym.sym, e.keysym.mod & KMOD_CTRL);
  if (ch >= 0) send(message_char, ch);
}

// Typed text arrives as UTF-8; characters of Latin-1 become character messages.
static bool typed_by_alt_key(const char *text) {
  unsigned char c = (unsigned char)text[0];
  bool same_key = alt_key != SDLK_UNKNOWN && text[1] == 0 && c < 0x80 && SDL_Keycode(std::tolower(c)) == alt_key;
  alt_key = SDLK_UNKNOWN;
  return same_key;
}

static void text_input(const char *text) {
  if (typed_by_alt_key(text)) return send(message_other);
  for (const unsigned char *p = (const unsigned char *)text; *p;) {
    int ch = -1;
    if (*p < 0x80) {
      ch = *p++;
    } else if ((*p & 0xE0) == 0xC0 && (p[1] & 0xC0) == 0x80) {
      ch = (*p & 0x1F) << 6 | (p[1] & 0x3F);
      p += 2;
    } else {
      p++;
      while ((*p & 0xC0) == 0x80) p++;
    }
    if (ch >= 0x20 && ch <= 0xFF) send(message_char, ch);
  }
}

// Where the picture lies in the window, from the window's last size; mouse points are mapped back through it.
static scaled_view view = view_in_window(client_width, client_height);
static bool resized;

// A release is passed wherever it happens, so a button held down on the picture is always let go.
static void button_up(const SDL_MouseButtonEvent &e) {
  picture_point p = point_in_picture(view, e.x, e.y);
  send(e.button == SDL_BUTTON_LEFT ? message_left_button_up : message_other, 0, p.x, p.y);
}

// Every second press of a quick run of presses is a double click. A press on the
// background around the picture is dropped.
static void button_down(const SDL_MouseButtonEvent &e) {
  bool second = e.clicks % 2 == 0;
  picture_point p = point_in_picture(view, e.x, e.y);
  if (!p.inside) send(message_other);
  else if (e.button == SDL_BUTTON_LEFT) send(second ? message_left_double_click : message_left_button_down, 0, p.x, p.y);
  else if (e.button == SDL_BUTTON_RIGHT && !second) send(message_right_button_down, 0, p.x, p.y);
  else send(message_other);
}

// Closing the window asks the shell, which ends the loop once it agrees.
static void close_window() { send(message_close); }

int held_modifiers() {
  SDL_Keymod mod = SDL_GetModState();
  return (mod & KMOD_SHIFT ? modifier_shift : 0) | (mod & KMOD_CTRL ? modifier_control : 0);
}

// Turns one SDL event into the shell's messages.
void dispatch_sdl_event(const SDL_Event &e) {
  switch (e.type) {
    case SDL_KEYDOWN: key_pressed(e.key); break;
    case SDL_TEXTINPUT: text_input(e.text.text); break;
    case SDL_MOUSEBUTTONDOWN: button_down(e.button); break;
    case SDL_MOUSEBUTTONUP: button_up(e.button); break;
    case SDL_QUIT: close_window(); break;
    case SDL_WINDOWEVENT:
      if (e.window.event == SDL_WINDOWEVENT_EXPOSED) send(message_paint);
      else if (e.window.event == SDL_WINDOWEVENT_CLOSE) close_window();
      else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        view = view_in_window(e.window.data1, e.window.data2);
        resized = true;
        send(message_other);
      } else send(message_other);
      break;
    default: send(message_other); break;
  }
}

// The window itself; tests of the event translation build the file without it.
#ifndef TALVEN_SDL_EVENTS_ONLY
static SDL_Window *window;
static SDL_Renderer *renderer;
static SDL_Texture *texture;

// The picture at the view's factor on the window class's grey; again whenever the window changed size.
static void present() {
  bool drawn = surface_changed();
  if (!drawn && !resized) return;
  resized = false;
  SDL_Rect picture{0, 0, client_width, client_height};
  SDL_Rect shown{view.left, view.top, client_width * view.factor, client_height * view.factor};
  SDL_UpdateTexture(texture, &picture, surface_rows(), surface_width * 4);
  SDL_SetRenderDrawColor(renderer, window_class_grey.r, window_class_grey.g, window_class_grey.b, 255);
  SDL_RenderClear(renderer);
  SDL_RenderCopy(renderer, texture, &picture, &shown);
  SDL_RenderPresent(renderer);
}

// The program's texts are Latin-1; SDL wants UTF-8.
static void latin1_to_utf8(const char *text, char *out, int size) {
  int n = 0;
  for (const unsigned char *p = (const unsigned char *)text; *p && n < size - 2; p++) {
    if (*p < 0x80) {
      out[n++] = char(*p);
    } else {
      out[n++] = char(0xC0 | *p >> 6);
      out[n++] = char(0x80 | (*p & 0x3F));
    }
  }
  out[n] = 0;
}

// Modal, information icon, OK only, no owner window.
static void show_sdl_box(box_kind, const char *title, const char *text) {
  present();
  static char utf8_title[256], utf8_text[4096];
  latin1_to_utf8(title, utf8_title, sizeof utf8_title);
  latin1_to_utf8(text, utf8_text, sizeof utf8_text);
  if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8_title, utf8_text, nullptr) != 0)
    std::fprintf(stderr, "%s: %s (%s)\n", title, text, SDL_GetError());
}

// Without a display SDL falls back to drivers that show nothing, and the program
// would wait for ever on a window nobody sees; a driver the user chose is kept.
static bool display_missing() {
  const char *driver = SDL_GetCurrentVideoDriver();
  if (std::getenv("SDL_VIDEODRIVER") || !driver) return false;
  return std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

// Yes, No and Cancel; Enter answers Yes and Escape Cancel, as on Windows.
static box_answer ask_sdl_question(const char *title, const char *text) {
  present();
  static char utf8_title[256], utf8_text[4096];
  latin1_to_utf8(title, utf8_title, sizeof utf8_title);
  latin1_to_utf8(text, utf8_text, sizeof utf8_text);
  const SDL_MessageBoxButtonData buttons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, answer_yes, "Yes"},
      {0, answer_no, "No"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, answer_cancel, "Cancel"},
  };
  const SDL_MessageBoxData box{SDL_MESSAGEBOX_WARNING, nullptr, utf8_title, utf8_text, 3, buttons, nullptr};
  int answer = -1;
  if (SDL_ShowMessageBox(&box, &answer) != 0) std::fprintf(stderr, "%s: %s (%s)\n", title, text, SDL_GetError());
  return answer == answer_yes || answer == answer_no ? box_answer(answer) : answer_cancel;
}

void set_window_title(const char *title) {
  static char utf8_title[256];
  latin1_to_utf8(title, utf8_title, sizeof utf8_title);
  if (window) SDL_SetWindowTitle(window, utf8_title);
}

bool read_window_pixels(uint32_t *pixels, int width, int height) {
  if (width > surface_width || height > surface_height) return false;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) pixels[y * width + x] = surface_rows()[y * surface_width + x];
  return true;
}

// The simulation's timer is a deadline of the message loop: a tick missed while the
// core was busy is sent once, and the surface is presented after each, once a frame.
static int simulation_period;
static Uint32 next_simulation_tick;

void set_simulation_timer(int milliseconds) {
  if (milliseconds == simulation_period) return;
  simulation_period = milliseconds;
  next_simulation_tick = SDL_GetTicks() + Uint32(milliseconds);
}

static Sint32 until(Uint32 deadline) {
  Sint32 wait = Sint32(deadline - SDL_GetTicks());
  return wait > 0 ? wait : 0;
}

// Events until the quit, with a timer message every second in between.
static void run_message_loop() {
  Uint32 next_second = SDL_GetTicks() + 1000;
  SDL_Event e;
  while (!quit_posted) {
    Sint32 wait = until(next_second);
    if (simulation_period > 0 && until(next_simulation_tick) < wait) wait = until(next_simulation_tick);
    if (SDL_WaitEventTimeout(&e, wait)) dispatch_sdl_event(e);
    if (SDL_TICKS_PASSED(SDL_GetTicks(), next_second)) {
      next_second = SDL_GetTicks() + 1000;
      send(message_timer);
    }
    if (simulation_period > 0 && SDL_TICKS_PASSED(SDL_GetTicks(), next_simulation_tick)) {
      next_simulation_tick = SDL_GetTicks() + Uint32(simulation_period);
      send(message_simulation_tick);
    }
    present();
  }
}

int main(int argc, char **argv) {
  if (int status = enter_start_folder(argc, argv); status != start_go_on) return status;
  // Windows' double-click rectangle is 4 pixels square; SDL's default of 32
  // pixels would swallow quick clicks on neighbouring cells.
  SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "2");
  // Closing the window is a question to the shell, not a quit.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "TALVEN: %s\n", SDL_GetError());
    return 1;
  }
  if (display_missing()) {
    std::fputs("talven: the window needs a display and none was found; "
               "talvenc compiles charts without one\n", stderr);
    SDL_Quit();
    return 1;
  }
  set_message_box_handler(show_sdl_box);
  set_question_handler(ask_sdl_question);
  reset_surface();
  // Whole factors of nearest-neighbour pixels keep every pixel of the picture sharp.
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
  window = SDL_CreateWindow(program_title, 50, 50, client_width, client_height,
                            SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
  if (window) SDL_SetWindowMinimumSize(window, client_width, client_height);
  renderer = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
  if (!renderer) renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE) : nullptr;
  texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                         client_width, client_height)
                     : nullptr;
  if (!texture) {
    std::fprintf(stderr, "TALVEN: %s\n", SDL_GetError());
    SDL_Quit();
    return 1;
  }
  window_procedure({message_create, 0, 0, 0});
  SDL_ShowWindow(window);
  run_message_loop();
  SDL_DestroyTexture(texture);
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return quit_code;
}
#endif
