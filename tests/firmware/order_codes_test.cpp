// Both cores dispatch on the order codes the build writes from the compiler's order
// table: the written include gives the built interpreter, and an include that moves
// a code, or adds an order no core handles, stops the assembly.
#include <gtest/gtest.h>

#include <regex>

#include "firmware/simulator.h"

struct order_codes_case {
  const char *what;
  const char *pattern, *replacement;  // applied to the built order_codes.inc
  bool assembles;
};
const order_codes_case order_codes_cases[] = {
    {"as built", "", "", true},
    {"two codes swapped", "(order_and +equ) 2\\b(.*)\\n(order_and_not +equ) 3\\b", "$1 3$2\n$3 2", false},
    {"an order added before the end", "(order_end +equ) 12\\b", "$1 13", false},
};

TEST(OrderCodes, BothCoresAssembleOnlyWithCodesInTheirDispatchOrder) {
  std::string folder = test_folder();
  std::string built = read_file(FIRMWARE_DIR "/order_codes.inc");
  for (const char *chip : {"pic16f628a", "pic16f84a"})  // the fast core and the compact one
    for (const order_codes_case &c : order_codes_cases) {
      SCOPED_TRACE(std::string(chip) + ", " + c.what);
      std::string codes = *c.pattern ? std::regex_replace(built, std::regex(c.pattern), c.replacement) : built;
      ASSERT_EQ(codes != built, *c.pattern != 0) << "the pattern no longer matches the include";
      write_file(folder + "/order_codes.inc", codes);
      std::string hex = folder + "/" + chip + ".hex";
      int status = run_command(std::string(GPASM_PATH) + " -a inhx8m -I '" + folder + "' -I '" +
                                   source_path("firmware") + "' -o '" + hex + "' '" +
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
