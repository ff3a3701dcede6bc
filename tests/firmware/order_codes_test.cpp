// Both cores dispatch on the order codes the build writes from the compiler's order
// table: the written include gives the built interpreter, and an include that moves
// a code, or adds an order no core handles, stops the assembly.
#include <gtest/gtest.h>

#include <sstream>

#include "firmware/simulator.h"

// An order given another code in the include.
struct recoded {
  const char *symbol;
  int code;
};
struct order_codes_case {
  const char *what;
  recoded changes[2];  // applied to the built order_codes.inc; a null symbol ends them
  bool assembles;
};
const order_codes_case order_codes_cases[] = {
    {"as built", {}, true},
    {"two codes swapped", {{"order_and", 3}, {"order_and_not", 2}}, false},
    {"an order added before the end", {{"order_end", 13}}, false},
    {"set and reset swapped", {{"order_set", 14}, {"order_reset", 13}}, false},
    {"an order added after reset", {{"order_reset", 15}}, false},
};

// The include with each changed symbol's "equ" line given its new code.
static std::string recode(const std::string &include, const recoded (&changes)[2]) {
  std::istringstream lines(include);
  std::string line, out;
  while (std::getline(lines, line)) {
    std::string first = line.substr(0, line.find_first_of(" \t"));
    for (const recoded &c : changes)
      if (c.symbol && first == c.symbol) line = first + " equ " + std::to_string(c.code);
    out += line + "\n";
  }
  return out;
}

TEST(OrderCodes, BothCoresAssembleOnlyWithCodesInTheirDispatchOrder) {
  std::string folder = test_folder();
  std::string built = read_file(FIRMWARE_DIR "/order_codes.inc");
  for (const char *chip : {"pic16f628a", "pic16f84a"})  // the fast core and the compact one
    for (const order_codes_case &c : order_codes_cases) {
      SCOPED_TRACE(std::string(chip) + ", " + c.what);
      std::string codes = recode(built, c.changes);
      ASSERT_EQ(codes != built, c.changes[0].symbol != nullptr) << "the include no longer names the orders changed";
      write_file(folder + "/order_codes.inc", codes);
      std::string hex = folder + "/" + chip + ".hex";
      int status = run_command(std::string(GPASM_PATH) + " -a inhx8m -I '" + folder + "' -I '" +
                                   source_path("firmware") + "' -I '" FIRMWARE_DIR "' -o '" + hex + "' '" +
                                   source_path(std::string("firmware/") + chip + ".asm") + "'",
                               folder + "/gpasm.txt");
      std::string messages = read_file(folder + "/gpasm.txt");
      if (c.assembles) {
        EXPECT_EQ(status, 0) << messages;
        EXPECT_EQ(read_file(hex), read_file(std::string(FIRMWARE_DIR "/") + chip + ".hex"));
      } else {
        EXPECT_NE(status, 0);
        EXPECT_NE(messages.find("the dispatch table lists the handlers in the order of their codes"),
                  std::string::npos)
            << messages;
      }
    }
}
