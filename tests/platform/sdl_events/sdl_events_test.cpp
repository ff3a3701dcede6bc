// The SDL backend's translation of native events into the shell's messages,
// checked against the messages the Windows message loop delivers for the same input.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "shell/shell.h"

void dispatch_sdl_event(const SDL_Event &e);

// Stands in for the shell: every message the backend delivers is recorded.
static std::vector<message> delivered;
static bool refuse_close;
void window_procedure(const message &m) {
  delivered.push_back(m);
  if (m.kind == message_close && !refuse_close) post_quit_message(0);
}

static bool operator==(const message &a, const message &b) {
  return a.kind == b.kind && a.key == b.key && a.x == b.x && a.y == b.y;
}
static std::ostream &operator<<(std::ostream &out, const message &m) {
  return out << "{kind " << m.kind << ", key 0x" << std::hex << m.key << std::dec << ", " << m.x << ", " << m.y << "}";
}

static std::vector<message> after(const SDL_Event &e) {
  delivered.clear();
  dispatch_sdl_event(e);
  return delivered;
}

static SDL_Event key(SDL_Keycode sym, Uint16 mod = KMOD_NONE) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.keysym.sym = sym;
  e.key.keysym.mod = mod;
  return e;
}

static SDL_Event text(const char *utf8) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  std::snprintf(e.text.text, sizeof e.text.text, "%s", utf8);
  return e;
}

static SDL_Event press(Uint8 button, Uint8 clicks, int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.button = button;
  e.button.clicks = clicks;
  e.button.x = x;
  e.button.y = y;
  return e;
}

static SDL_Event window_event(Uint8 what) {
  SDL_Event e{};
  e.type = SDL_WINDOWEVENT;
  e.window.event = what;
  return e;
}

using messages = std::vector<message>;
static message key_message(int code) { return {message_key_down, code, 0, 0}; }
static message character(int code) { return {message_char, code, 0, 0}; }
static const message other{message_other, 0, 0, 0};

TEST(SdlEvents, NavigationKeysGiveTheirVirtualKeyCodes) {
  const std::pair<SDL_Keycode, int> keys[] = {
      {SDLK_HOME, 0x24},   {SDLK_END, 0x23},    {SDLK_PAGEUP, 0x21}, {SDLK_PAGEDOWN, 0x22},
      {SDLK_LEFT, 0x25},   {SDLK_UP, 0x26},     {SDLK_RIGHT, 0x27},  {SDLK_DOWN, 0x28},
      {SDLK_INSERT, 0x2D}, {SDLK_DELETE, 0x2E}, {SDLK_LCTRL, 0x11},  {SDLK_RCTRL, 0x11},
      {SDLK_LSHIFT, 0x10}, {SDLK_RSHIFT, 0x10},
  };
  for (auto [sym, code] : keys) EXPECT_EQ(after(key(sym)), messages{key_message(code)}) << code;
}

TEST(SdlEvents, LettersAndDigitsGiveUpperCaseCodesTheirTextComesSeparately) {
  EXPECT_EQ(after(key(SDLK_a)), messages{key_message('A')});
  EXPECT_EQ(after(key(SDLK_z, KMOD_LSHIFT)), messages{key_message('Z')});
  EXPECT_EQ(after(key(SDLK_7)), messages{key_message('7')});
  EXPECT_EQ(after(text("a")), messages{character('a')});
  EXPECT_EQ(after(text("Z")), messages{character('Z')});
}

TEST(SdlEvents, EnterBackspaceTabEscapeTypeTheirCharacters) {
  EXPECT_EQ(after(key(SDLK_RETURN)), (messages{key_message(0x0D), character(0x0D)}));
  EXPECT_EQ(after(key(SDLK_KP_ENTER)), (messages{key_message(0x0D), character(0x0D)}));
  EXPECT_EQ(after(key(SDLK_BACKSPACE)), (messages{key_message(0x08), character(0x08)}));
  EXPECT_EQ(after(key(SDLK_TAB)), (messages{key_message(0x09), character(0x09)}));
  EXPECT_EQ(after(key(SDLK_ESCAPE)), (messages{key_message(0x1B), character(0x1B)}));
}

TEST(SdlEvents, ControlWithALetterTypesAControlCharacter) {
  EXPECT_EQ(after(key(SDLK_c, KMOD_LCTRL)), (messages{key_message('C'), character(3)}));
  EXPECT_EQ(after(key(SDLK_a, KMOD_RCTRL)), (messages{key_message('A'), character(1)}));
  EXPECT_EQ(after(key(SDLK_RETURN, KMOD_LCTRL)), (messages{key_message(0x0D), character(0x0A)}));
  EXPECT_EQ(after(key(SDLK_TAB, KMOD_LCTRL)), messages{key_message(0x09)});
}

TEST(SdlEvents, KeysWithAltAreSystemKeysTheShellDoesNotHandle) {
  EXPECT_EQ(after(key(SDLK_f, KMOD_LALT)), messages{other});
}

TEST(SdlEvents, TypedTextArrivesAsLatinOneCharacters) {
  EXPECT_EQ(after(text("\xC3\xA9")), messages{character(0xE9)});  // é
  EXPECT_EQ(after(text("a\xE2\x82\xAC" "b")), (messages{character('a'), character('b')}));  // no euro in Latin-1
  EXPECT_EQ(after(text(" ")), messages{character(' ')});
}

TEST(SdlEvents, ClicksCarryTheirPointAndEverySecondQuickPressIsADoubleClick) {
  EXPECT_EQ(after(press(SDL_BUTTON_LEFT, 1, 120, 20)), (messages{{message_left_button_down, 0, 120, 20}}));
  EXPECT_EQ(after(press(SDL_BUTTON_LEFT, 2, 120, 20)), (messages{{message_left_double_click, 0, 120, 20}}));
  EXPECT_EQ(after(press(SDL_BUTTON_LEFT, 3, 120, 20)), (messages{{message_left_button_down, 0, 120, 20}}));
  EXPECT_EQ(after(press(SDL_BUTTON_RIGHT, 1, 70, 50)), (messages{{message_right_button_down, 0, 70, 50}}));
  EXPECT_EQ(after(press(SDL_BUTTON_RIGHT, 2, 70, 50)), messages{other});
  EXPECT_EQ(after(press(SDL_BUTTON_MIDDLE, 1, 70, 50)), messages{other});
}

static SDL_Event resized_to(int width, int height) {
  SDL_Event e = window_event(SDL_WINDOWEVENT_SIZE_CHANGED);
  e.window.data1 = width;
  e.window.data2 = height;
  return e;
}

static SDL_Event release(Uint8 button, int x, int y) {
  SDL_Event e = press(button, 1, x, y);
  e.type = SDL_MOUSEBUTTONUP;
  return e;
}

// At 1500x1100 the picture is drawn twice its size from (50, 50).
TEST(SdlEvents, InAScaledWindowPressesOnThePictureMapBackAndPressesBesideItAreDropped) {
  EXPECT_EQ(after(resized_to(1500, 1100)), messages{other});
  EXPECT_EQ(after(press(SDL_BUTTON_LEFT, 1, 290, 90)), (messages{{message_left_button_down, 0, 120, 20}}));
  EXPECT_EQ(after(press(SDL_BUTTON_LEFT, 2, 291, 91)), (messages{{message_left_double_click, 0, 120, 20}}));
  EXPECT_EQ(after(press(SDL_BUTTON_RIGHT, 1, 1449, 1049)), (messages{{message_right_button_down, 0, 699, 499}}));
  EXPECT_EQ(after(release(SDL_BUTTON_LEFT, 290, 90)), (messages{{message_left_button_up, 0, 120, 20}}));
  for (auto [x, y] : {std::pair{49, 90}, {290, 49}, {1450, 90}, {290, 1050}, {10, 1090}}) {
    EXPECT_EQ(after(press(SDL_BUTTON_LEFT, 1, x, y)), messages{other}) << x << "," << y;
    EXPECT_EQ(after(press(SDL_BUTTON_RIGHT, 1, x, y)), messages{other}) << x << "," << y;
  }
  // A button let go beside the picture still lets go whatever it held down.
  EXPECT_EQ(after(release(SDL_BUTTON_LEFT, 1460, 90)), (messages{{message_left_button_up, 0, 705, 20}}));
  EXPECT_EQ(after(resized_to(700, 500)), messages{other});
  EXPECT_EQ(after(press(SDL_BUTTON_LEFT, 1, 290, 90)), (messages{{message_left_button_down, 0, 290, 90}}));
}

TEST(SdlEvents, ExposeIsAPaintAndOtherEventsReachTheShellAsOtherMessages) {
  EXPECT_EQ(after(window_event(SDL_WINDOWEVENT_EXPOSED)), (messages{{message_paint, 0, 0, 0}}));
  EXPECT_EQ(after(window_event(SDL_WINDOWEVENT_FOCUS_GAINED)), messages{other});
  SDL_Event motion{};
  motion.type = SDL_MOUSEMOTION;
  EXPECT_EQ(after(motion), messages{other});
}

TEST(SdlEvents, TextOfAKeyPressedWithAltIsNotTyped) {
  EXPECT_EQ(after(key(SDLK_f, KMOD_LALT)), messages{other});
  EXPECT_EQ(after(text("f")), messages{other});
  EXPECT_EQ(after(key(SDLK_f, KMOD_RALT)), messages{other});
  EXPECT_EQ(after(text("F")), messages{other});
  // AltGr typing another character still types it.
  EXPECT_EQ(after(key(SDLK_q, KMOD_RALT)), messages{other});
  EXPECT_EQ(after(text("@")), messages{character('@')});
  // Only the text right after the Alt key is held back.
  EXPECT_EQ(after(key(SDLK_f, KMOD_LALT)), messages{other});
  EXPECT_EQ(after(key(SDLK_f)), messages{key_message('F')});
  EXPECT_EQ(after(text("f")), messages{character('f')});
}

TEST(SdlEvents, KeypadMovesWithNumLockOffAndTypesDigitsWithItOn) {
  const std::pair<SDL_Keycode, int> keys[] = {
      {SDLK_KP_7, 0x24}, {SDLK_KP_1, 0x23}, {SDLK_KP_8, 0x26}, {SDLK_KP_2, 0x28}, {SDLK_KP_4, 0x25},
      {SDLK_KP_6, 0x27}, {SDLK_KP_9, 0x21}, {SDLK_KP_3, 0x22}, {SDLK_KP_0, 0x2D}, {SDLK_KP_PERIOD, 0x2E},
  };
  for (auto [sym, code] : keys) EXPECT_EQ(after(key(sym)), messages{key_message(code)}) << code;
  EXPECT_EQ(after(key(SDLK_KP_7, KMOD_NUM)), messages{key_message(0x67)});
  EXPECT_EQ(after(key(SDLK_KP_PERIOD, KMOD_NUM)), messages{key_message(0x6E)});
}

// Last: once the quit is posted, the backend delivers nothing more.
TEST(SdlEvents, ClosingTheWindowAsksTheShellWhichMayEndTheMessages) {
  const message close{message_close, 0, 0, 0};
  refuse_close = true;
  EXPECT_EQ(after(window_event(SDL_WINDOWEVENT_CLOSE)), messages{close});
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  EXPECT_EQ(after(quit), messages{close});
  EXPECT_EQ(after(key(SDLK_a)), messages{key_message('A')});  // refused: the window lives on
  refuse_close = false;
  EXPECT_EQ(after(window_event(SDL_WINDOWEVENT_CLOSE)), messages{close});
  // The quit is posted: nothing more is delivered.
  EXPECT_EQ(after(quit), messages{});
  EXPECT_EQ(after(key(SDLK_a)), messages{});
}
