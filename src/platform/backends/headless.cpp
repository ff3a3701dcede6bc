#include "platform/backends/headless.h"

#include <cstdio>

shown_box shown_boxes[box_record_capacity];
int shown_box_count;
bool quit_posted;
int quit_code;
int headless_modifiers;
char window_title[128];
int simulation_timer_period;

static box_answer answer_script[answer_script_capacity];
static int scripted_answers, next_answer;

static void record_box(box_kind kind, const char *title, const char *text) {
  if (shown_box_count < box_record_capacity) {
    shown_box &box = shown_boxes[shown_box_count];
    box.kind = kind;
    std::snprintf(box.title, sizeof box.title, "%s", title);
    std::snprintf(box.text, sizeof box.text, "%s", text);
  }
  shown_box_count++;
}

void forget_shown_boxes() { shown_box_count = 0; }

static box_answer answer_from_script(const char *title, const char *text) {
  record_box(box_question, title, text);
  return next_answer < scripted_answers ? answer_script[next_answer++] : answer_cancel;
}

void script_answers(std::initializer_list<box_answer> answers) {
  scripted_answers = next_answer = 0;
  for (box_answer answer : answers)
    if (scripted_answers < answer_script_capacity) answer_script[scripted_answers++] = answer;
}

int unused_answers() { return scripted_answers - next_answer; }

int held_modifiers() { return headless_modifiers; }

void set_window_title(const char *title) { std::snprintf(window_title, sizeof window_title, "%s", title); }

void set_simulation_timer(int milliseconds) { simulation_timer_period = milliseconds; }

bool read_window_pixels(uint32_t *pixels, int width, int height) {
  if (width > surface_width || height > surface_height) return false;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) pixels[y * width + x] = surface_rows()[y * surface_width + x];
  return true;
}

void post_quit_message(int code) {
  quit_posted = true;
  quit_code = code;
}

void headless_create_window() {
  reset_surface();
  set_message_box_handler(record_box);
  set_question_handler(answer_from_script);
  forget_shown_boxes();
  script_answers({});
  headless_modifiers = 0;
  simulation_timer_period = 0;
  set_window_title(program_title);
  quit_posted = false;
  quit_code = 0;
  send_message(message_create);
}

void send_message(message_kind kind, int key, int x, int y) { window_procedure({kind, key, x, y}); }

void click_at(int x, int y) { send_message(message_left_button_down, 0, x, y); }
