// The programmer's page under "Lit", "Prog": the hex just written goes to the chip through
// the project's programmer (programmers.txt's "choose", else the first installed); the tool's
// output fills the page as it arrives, read on the simulation timer's ticks, then the verdict.
#include <cstdio>
#include <cstring>

#include "editors/pages.h"
#include "flash/flash.h"
#include "kit/kit.h"
#include "kit/page_kit.h"
#include "model/model.h"

constexpr int list_left = 10, list_top = 45, list_right = 690, line_height = 20, list_lines = 21;
constexpr int line_characters = (list_right - list_left - 8) / 10;  // the font's cell is 10 wide
constexpr int kept_lines = list_lines - 1;                          // under the header
constexpr int tick_milliseconds = 50;

static char header[line_characters + 64];  // cut where the list's width ends
static char lines[kept_lines][line_characters + 1];  // the last lines of output, then the verdict
static int line_count;     // lines begun, the last one still growing
static int verdict_line;   // the first line of the verdict; -1 while none
static bool running;
static int bytes_passed;  // counts what the tool printed, to stop reading once nothing waits

static void new_line() {
  if (line_count == kept_lines) {
    std::memmove(lines[0], lines[1], sizeof lines - sizeof lines[0]);
    if (verdict_line > 0) verdict_line--;
    line_count--;
  }
  lines[line_count++][0] = '\0';
}

// A carriage return starts its line again, as a terminal shows a tool's progress.
static void append(const char *text, int length) {
  bytes_passed += length;
  for (int k = 0; k < length; k++) {
    char c = text[k] == '\t' ? ' ' : text[k];
    if (line_count == 0 || c == '\n') {
      new_line();
      if (c == '\n') continue;
    }
    char *line = lines[line_count - 1];
    size_t used = std::strlen(line);
    if (c == '\r') line[0] = '\0';
    else if (static_cast<unsigned char>(c) < ' ') continue;
    else if (used == line_characters) new_line(), lines[line_count - 1][0] = c, lines[line_count - 1][1] = '\0';
    else line[used] = c, line[used + 1] = '\0';
  }
}

// The verdict on lines of its own, broken at blanks.
static void show_verdict(const char *verdict) {
  if (line_count > 0 && lines[line_count - 1][0]) new_line();
  for (const char *rest = verdict; *rest;) {
    int length = int(std::strlen(rest));
    if (length > line_characters) {
      length = line_characters;
      while (length > 0 && rest[length] != ' ') length--;
      if (length == 0) length = line_characters;
    }
    if (verdict_line < 0 && line_count > 0 && lines[line_count - 1][0] == '\0') line_count--;
    new_line();
    if (verdict_line < 0) verdict_line = line_count - 1;
    std::memcpy(lines[line_count - 1], rest, size_t(length));
    lines[line_count - 1][length] = '\0';
    rest += length;
    while (*rest == ' ') rest++;
  }
}

void program_page_paint() {
  select_object(window_dc, page_pen);
  select_object(window_dc, text_brush);
  draw_rectangle(window_dc, list_left, list_top, list_right, list_top + line_height * list_lines);
  draw_page_text(list_left + 4, list_top + 2, header, colour_white);
  for (int k = 0; k < line_count; k++)
    draw_page_text(list_left + 4, list_top + line_height * (k + 1) + 2, lines[k], colour_white);
}

bool program_page_open() {
  if (!hex_just_written) return false;
  hex_just_written = false;
  line_count = 0, verdict_line = -1, running = false;
  char verdict[programmer_error_size];
  const programmer_preset *preset = nullptr;
  if (load_programmers(".", verdict, sizeof verdict)) preset = pick_programmer(nullptr, verdict, sizeof verdict);
  std::snprintf(header, sizeof header, "%s: %s", preset ? preset->name : "Prog", app_config(config_hex));
  header[line_characters] = '\0';
  running = preset && flash_begin(*preset, app_config(config_hex), verdict, sizeof verdict);
  if (running) set_simulation_timer(tick_milliseconds);
  else show_verdict(verdict);
  return true;
}

// Every byte waiting is passed on; the page is drawn once a tick.
void program_page_tick(int shown) {
  if (!running) return set_simulation_timer(0);
  char verdict[flash_verdict_size];
  bool programmed = false;
  for (int reads = 0, before = -1; reads < 64 && running && before != bytes_passed; reads++) {
    before = bytes_passed;
    running = flash_continue(0, append, verdict, sizeof verdict, programmed);
  }
  if (!running) {
    show_verdict(verdict);
    set_simulation_timer(0);
  }
  if (shown) program_page_paint();
}
