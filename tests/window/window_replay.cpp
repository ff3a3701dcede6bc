// Plays session.txt on the headless window, in the current folder, as the SDL
// backend turns the real events into messages: checks each message box (title
// and text), and compares the window with the screenshots that the real session
// left (NAME.rgb: the 700 by 500 client area, 3 bytes a pixel), region by region.
// window_replay SESSION SHOTS_FOLDER; writes NAME-headless.png beside each shot.
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "files/files.h"
#include "platform/backends/headless.h"

static int failures;

static void fail(int line, const std::string &what) {
  std::printf("session line %d: %s\n", line, what.c_str());
  failures++;
}

// Key presses as the SDL backend delivers them: the virtual-key code, Shift
// first for a capital, then the character.
static void press_key(int code, int character, bool shift) {
  if (shift) send_message(message_key_down, 0x10);
  send_message(message_key_down, code);
  if (character >= 0) send_message(message_char, character);
}

static void type_text(const std::string &text) {
  for (char c : text) {
    if (std::isalpha((unsigned char)c)) press_key(std::toupper((unsigned char)c), c, std::isupper((unsigned char)c));
    else press_key(c == ' ' ? 0x20 : c, c, false);
  }
}

static std::string unescape(const std::string &text) {
  std::string out;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
      out += '\n';
      i++;
    } else {
      out += text[i];
    }
  }
  return out;
}

// The places that matter, checked one by one so that a failure says where.
struct region {
  const char *name;
  int left, top, right, bottom;  // inclusive
};
static const region regions[] = {
    {"menu", 0, 0, 699, 39},           {"palette", 10, 40, 49, 239},  {"scroll buttons", 10, 260, 50, 320},
    {"grid or table rows", 60, 40, 659, 439}, {"whole window", 0, 0, 699, 499},
};

static void compare_shot(int line, const std::string &folder, const std::string &name) {
  std::ifstream in(folder + "/" + name + ".rgb", std::ios::binary);
  std::string real((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  write_png_file((folder + "/" + name + "-headless.png").c_str(), surface_rows(), client_width, client_height, surface_width);
  if (real.size() != size_t(client_width * client_height * 3)) {
    fail(line, "no screenshot " + name + ".rgb of the real window");
    return;
  }
  for (const region &r : regions) {
    int differing = 0;
    for (int y = r.top; y <= r.bottom; y++)
      for (int x = r.left; x <= r.right; x++) {
        const unsigned char *p = (const unsigned char *)real.data() + 3 * (y * client_width + x);
        rgb expected = surface_pixel(x, y);
        if (p[0] != expected.r || p[1] != expected.g || p[2] != expected.b) differing++;
      }
    if (differing) fail(line, "shot " + name + ": " + std::to_string(differing) + " pixels differ in the " + r.name);
  }
}

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: window_replay SESSION SHOTS_FOLDER\n");
    return 2;
  }
  std::ifstream session(argv[1]);
  headless_create_window();
  send_message(message_paint);  // the window shown
  send_message(message_other);  // any next event: the definition load
  int boxes_checked = 0;
  std::string text;
  for (int line = 1; std::getline(session, text); line++) {
    std::istringstream words(text);
    std::string step;
    words >> step;
    std::string rest;
    std::getline(words >> std::ws, rest);
    if (step == "click" || step == "quick") {
      int x = 0, y = 0;
      std::istringstream(rest) >> x >> y;
      click_at(x, y);
    } else if (step == "type") {
      type_text(rest);
    } else if (step == "key" && rest == "Return") {
      press_key(0x0D, 0x0D, false);
    } else if (step == "key" && rest == "ctrl+Return") {
      send_message(message_key_down, 0x11);
      press_key(0x0D, 0x0A, false);
    } else if (step == "key" && rest == "alt+q") {
      send_message(message_other);  // a system key, whose text is not typed
    } else if (step == "key" && rest == "KP_Down") {
      press_key(0x28, -1, false);
    } else if (step == "key" && rest == "KP_Home") {
      press_key(0x24, -1, false);
    } else if (step == "box") {
      size_t bar = rest.find('|');
      std::string title = rest.substr(0, bar), expected = unescape(rest.substr(bar + 1));
      if (boxes_checked >= shown_box_count) {
        fail(line, "no box \"" + title + "\" shown");
        continue;
      }
      const shown_box &box = shown_boxes[boxes_checked++];
      if (title != box.title || expected != box.text)
        fail(line, std::string("box shown: \"") + box.title + "\", \"" + box.text + "\"");
    } else if (step == "shot") {
      compare_shot(line, argv[2], rest);
    } else if (!step.empty() && step[0] != '#') {
      fail(line, "unknown step " + step);
    }
  }
  if (boxes_checked != shown_box_count) fail(0, "more boxes shown than the session expects");
  if (!quit_posted) fail(0, "the session did not end the program");
  std::printf("%d boxes checked, %d failures\n", boxes_checked, failures);
  return failures ? 1 : 0;
}
