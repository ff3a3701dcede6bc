#include "platform/backends/headless.h"

#include <cstdio>

shown_box shown_boxes[box_record_capacity];
int shown_box_count;
bool quit_posted;
int quit_code;

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

void post_quit_message(int code) {
  quit_posted = true;
  quit_code = code;
}

void headless_create_window() {
  reset_surface();
  set_message_box_handler(record_box);
  forget_shown_boxes();
  quit_posted = false;
  quit_code = 0;
  send_message(message_create);
}

void send_message(message_kind kind, int key, int x, int y) { window_procedure({kind, key, x, y}); }

void click_at(int x, int y) { send_message(message_left_button_down, 0, x, y); }
