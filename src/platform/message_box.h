// Every report to the user goes through one function: a modal box with the
// information icon, a single OK button and no owner window. The window program
// shows real boxes, the command-line program prints them and tests record them.
// The kind says what the box is for, so that a presenter never has to guess it
// from the title or the text.
#pragma once

enum box_kind {
  box_notice,   // announces an operation; its answer changes nothing ("Loading Graphical File ?")
  box_report,   // tells what was done or what the program is ("Fichier de definition charge ...")
  box_error,    // a failure: a file, a definition, a chart or a program that cannot be used
  box_summary,  // the compiler's result: how much of the program area is used
  box_question, // asks before work could be lost; answered Yes, No or Cancel
};
constexpr int box_kind_count = 5;

using message_box_handler = void (*)(box_kind kind, const char *title, const char *text);

void show_message_box(box_kind kind, const char *title, const char *text);
// Installs the handler that presents boxes (nullptr: print them); returns the previous one.
message_box_handler set_message_box_handler(message_box_handler handler);

// A question: Yes saves and goes on, No goes on without saving, Cancel does nothing.
enum box_answer { answer_yes, answer_no, answer_cancel };
using question_handler = box_answer (*)(const char *title, const char *text);

box_answer ask_question(const char *title, const char *text);
// Installs the handler that asks (nullptr: print the question and answer Cancel);
// returns the previous one.
question_handler set_question_handler(question_handler handler);
