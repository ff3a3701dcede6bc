// The files that come with TALVEN: the bundled automaton definitions and the
// manual. An installed program finds them from its own folder; a program run
// from its build folder finds them in the source tree it was built from.
#pragma once
#include <string>

// The folder of the bundled definitions (targets/*.def).
std::string bundled_targets_folder();
// The manual's file:// address, as the Manual box shows it; valid until the next call.
const char *manual_address();

// The same answers for a program lying in program_folder.
std::string bundled_targets_folder_for(const std::string &program_folder);
std::string manual_address_for(const std::string &program_folder);
