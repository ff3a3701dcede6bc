// The one start-up path of every program (the window, talvenc, the tests): the
// tables to their start contents, config.txt read when asked, and later the
// automaton definition loaded with its constant names copied.
#pragma once

enum config_reading { without_config_file, with_config_file };

// plan_xy cleared, the five text tables, the configuration table and the literal
// buffer initialised in that order, no definition loaded; then config.txt read.
void start_project(config_reading config);
// Loads the definition that Automate names; on success says so and copies its
// constant names into the constants table. False when it was refused.
bool load_definition_and_names();
