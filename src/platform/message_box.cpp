#include "platform/message_box.h"

#include <cstdio>

static void print_message_box(box_kind, const char *title, const char *text) {
  std::fprintf(stderr, "%s: %s\n", title, text);
}

static message_box_handler current_handler = print_message_box;

void show_message_box(box_kind kind, const char *title, const char *text) { current_handler(kind, title, text); }

message_box_handler set_message_box_handler(message_box_handler handler) {
  message_box_handler previous = current_handler;
  current_handler = handler ? handler : print_message_box;
  return previous;
}

// Without anyone to answer, nothing is done: Cancel.
static box_answer print_question(const char *title, const char *text) {
  std::fprintf(stderr, "%s: %s\n", title, text);
  return answer_cancel;
}

static question_handler current_question_handler = print_question;

box_answer ask_question(const char *title, const char *text) { return current_question_handler(title, text); }

question_handler set_question_handler(question_handler handler) {
  question_handler previous = current_question_handler;
  current_question_handler = handler ? handler : print_question;
  return previous;
}
