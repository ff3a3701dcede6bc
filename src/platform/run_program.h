// Another program run beside TALVEN (a programmer tool, a simulator), its output read
// as it arrives so that a page or a command can pass it on.
#pragma once

// One program at a time runs beside TALVEN.
// Starts argv[0] (searched on the PATH) with argv (nullptr-terminated) in `folder` (nullptr:
// the current one); false when it cannot be started (not found, not executable).
bool program_start(const char *const *argv, const char *folder);
// Up to `size` bytes of its output (stdout and stderr merged) waiting at most wait_ms:
// > 0 bytes read, 0 nothing yet, -1 it has ended and all its output was read.
int program_read(char *buffer, int size, int wait_ms);
// Its exit status once program_read returned -1 (128 + signal when killed).
int program_exit_code();
// Ends it now (the time limit), and reaps it.
void program_kill();
