// The undo history and the unsaved-changes state: whole images of the project's
// editable tables, one per step, in a ring of fixed size. The names of the
// constants come from the definition and the copy buffer is the user's clipboard,
// so neither is part of an image.
#include <cstring>

#include "model/model.h"
#include "shell/shell.h"

struct project_image {
  cell plan[grid_size][grid_size];
  char texts[text_table_count][table_rows][text_size];
  char config[config_rows][text_size];
  char literal[literal_lines][text_size];
};

// 256 images of 38 KB: under 10 MB, 255 steps back.
constexpr int history_capacity = 256;
static_assert(sizeof(project_image) * history_capacity <= 16 * 1024 * 1024, "the history stays within 16 MB");

static project_image history[history_capacity];
static int history_first, history_count, history_cursor;  // cursor: the state shown, from history_first
static project_image saved;                                // chart as last loaded or saved, literal likewise
static project_image before_action, scratch;

static void take_image(project_image &image) {
  std::memcpy(image.plan, plan_xy, sizeof image.plan);
  for (int table = 0; table < text_table_count; table++)
    for (int row = 0; row < table_rows; row++) std::memcpy(image.texts[table][row], table_text(table, row), text_size);
  for (int row = 0; row < config_rows; row++) std::memcpy(image.config[row], config_entries[row].value, text_size);
  std::memcpy(image.literal, literal_buffer, sizeof image.literal);
}

static void put_image(const project_image &image) {
  std::memcpy(plan_xy, image.plan, sizeof image.plan);
  for (int table = 0; table < text_table_count; table++)
    for (int row = 0; row < table_rows; row++) std::memcpy(table_text(table, row), image.texts[table][row], text_size);
  for (int row = 0; row < config_rows; row++) std::memcpy(config_entries[row].value, image.config[row], text_size);
  std::memcpy(literal_buffer, image.literal, sizeof image.literal);
}

static bool same_chart(const project_image &a, const project_image &b) {
  return std::memcmp(a.plan, b.plan, sizeof a.plan) == 0 && std::memcmp(a.texts, b.texts, sizeof a.texts) == 0;
}
static bool same_literal(const project_image &a, const project_image &b) {
  return std::memcmp(a.literal, b.literal, sizeof a.literal) == 0;
}
static bool same_project(const project_image &a, const project_image &b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

static project_image &state(int k) { return history[(history_first + k) % history_capacity]; }

// A new state after the one shown: what could be redone is forgotten, and the
// oldest state goes when the ring is full.
static void push_state(const project_image &image) {
  if (same_project(image, state(history_cursor))) return;
  history_count = history_cursor + 1;
  if (history_count == history_capacity) {
    history_first = (history_first + 1) % history_capacity;
    history_count--;
    history_cursor--;
  }
  state(history_count) = image;
  history_cursor = history_count++;
}

void reset_history() {
  history_first = 0;
  history_count = 1;
  history_cursor = 0;
  take_image(state(0));
  saved = state(0);
}

void begin_user_action() { take_image(before_action); }

void end_user_action(bool ends_typing) {
  take_image(scratch);
  if (!same_project(scratch, before_action)) {
    // Text typed before this change is a step of its own.
    push_state(before_action);
    push_state(scratch);
  } else if (ends_typing) {
    push_state(scratch);
  }
}

bool undo_step() {
  take_image(scratch);
  push_state(scratch);
  if (history_cursor == 0) return false;
  put_image(state(--history_cursor));
  // Moving in the history is not itself a change to record.
  before_action = state(history_cursor);
  return true;
}

bool redo_step() {
  take_image(scratch);
  push_state(scratch);
  if (history_cursor == history_count - 1) return false;
  put_image(state(++history_cursor));
  before_action = state(history_cursor);
  return true;
}

int undo_steps_available() { return history_cursor; }

bool chart_changed() {
  take_image(scratch);
  return !same_chart(scratch, saved);
}

bool literal_changed() {
  take_image(scratch);
  return !same_literal(scratch, saved);
}

void mark_chart_saved() {
  take_image(scratch);
  std::memcpy(saved.plan, scratch.plan, sizeof saved.plan);
  std::memcpy(saved.texts, scratch.texts, sizeof saved.texts);
}

void mark_literal_saved() {
  take_image(scratch);
  std::memcpy(saved.literal, scratch.literal, sizeof saved.literal);
}
