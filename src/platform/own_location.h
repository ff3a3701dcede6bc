// Where the running program lies, so that an installed copy finds the files
// installed beside it wherever its prefix is.
#pragma once
#include <string>

// The folder that holds the running executable; empty when the system cannot tell.
std::string executable_folder();
