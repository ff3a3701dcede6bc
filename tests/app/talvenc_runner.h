// Runs the built talvenc in the test's current folder and collects what it printed.
#pragma once
#include <cstdlib>
#include <string>

#include "support/test_support.h"

struct run_result {
  int status;
  std::string out, err;
};

inline run_result talvenc(const std::string &arguments) {
  std::string command = std::string("'") + TALVENC_PATH + "' " + arguments + " >stdout.txt 2>stderr.txt; echo $? >status.txt";
  if (std::system(command.c_str()) != 0) ADD_FAILURE() << "shell failed: " << command;
  return {std::stoi(read_file("status.txt")), read_file("stdout.txt"), read_file("stderr.txt")};
}
