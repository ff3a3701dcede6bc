// The headless backend: the window lives in memory, tests feed it messages one
// by one, message boxes are recorded instead of shown, and the surface can be
// saved as a PNG picture.
#pragma once
#include "platform/seam.h"
#include "platform/surface.h"

// A freshly started program: grey surface, no resources, shell state as at start,
// no boxes recorded, no quit posted; then the window is created (message_create).
void headless_create_window();
void send_message(message_kind kind, int key = 0, int x = 0, int y = 0);
void click_at(int x, int y);

struct shown_box {
  box_kind kind;
  char title[64];
  char text[2048];
};
constexpr int box_record_capacity = 64;
extern shown_box shown_boxes[box_record_capacity];
extern int shown_box_count;  // boxes shown since the window was created, also beyond capacity
void forget_shown_boxes();

extern bool quit_posted;
extern int quit_code;
