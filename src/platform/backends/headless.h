// The headless backend: the window lives in memory, tests feed it messages one
// by one, message boxes are recorded instead of shown, and the surface can be
// saved as a PNG picture.
#pragma once
#include <initializer_list>

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

// Questions are recorded as boxes of kind box_question and answered from this
// script, in order; once it runs out every question is answered Cancel.
constexpr int answer_script_capacity = 16;
void script_answers(std::initializer_list<box_answer> answers);
int unused_answers();

// The modifier keys that held_modifiers reports, set by the test.
extern int headless_modifiers;
// The period the core asked for with set_simulation_timer, 0 when stopped; tests send the ticks.
extern int simulation_timer_period;
// What the window's title bar would show.
extern char window_title[128];
