// The one start-up path of every program (the window, talvenc, the tests): the
// tables to their start contents, config.txt read when asked, and later the
// automaton definition loaded with its constant names copied.
#pragma once

#include "model/model.h"

enum config_reading { without_config_file, with_config_file };

// plan_xy cleared, the five text tables, the configuration table and the literal
// buffer initialised in that order, no definition loaded; then config.txt read.
void start_project(config_reading config);
// Loads the definition that Automate names; on success says so and copies its
// constant names into the constants table. False when it was refused.
// When no file of that name exists, Automate may name a bundled target ("pic16f877a").
bool load_definition_and_names();
// Loads the bundled target name (targets/name.def beside the programs or in the source
// tree), says so and copies its constant names; Automate then holds name.
bool load_bundled_target(const char *name);
// The bundled targets' names, sorted; how many there are, at most capacity.
constexpr int bundled_target_capacity = 32;
int bundled_target_names(char (*names)[text_size], int capacity);
