// Every report to the user goes through one function: a modal box with the
// information icon, a single OK button and no owner window. The window program
// shows real boxes, the command-line program prints them and tests record them.
#pragma once

using message_box_handler = void (*)(const char *title, const char *text);

void show_message_box(const char *title, const char *text);
// Installs the handler that presents boxes; returns the previous one.
message_box_handler set_message_box_handler(message_box_handler handler);
