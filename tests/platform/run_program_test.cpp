#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "platform/run_program.h"

// Everything a program prints until it ends or the limit passes (then it is killed).
static std::string output_until_end(int limit_ms, bool &ended) {
  std::string output;
  char buffer[7];  // small, so that longer output comes in several reads
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    int got = program_read(buffer, sizeof buffer, 20);
    if (got < 0) return ended = true, output;
    output.append(buffer, got);
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(limit_ms)) {
      program_kill();
      return ended = false, output;
    }
  }
}

TEST(RunProgram, OutputAndExitStatusOrTheLimitEndsIt) {
  const std::string folder = std::filesystem::temp_directory_path().string();
  const struct {
    const char *script, *folder;
    std::string output;
    bool ended;
    int exit_code;
  } cases[] = {
      {"echo hello", nullptr, "hello\n", true, 0},
      {"echo out; echo err >&2; exit 3", nullptr, "out\nerr\n", true, 3},
      {"printf a; sleep 0.1; printf b; sleep 0.1; printf c", nullptr, "abc", true, 0},
      {"pwd", folder.c_str(), folder + "\n", true, 0},
      {"kill -TERM $$", nullptr, "", true, 128 + 15},
      {"echo before; sleep 30; echo after", nullptr, "before\n", false, 128 + 9},
  };
  for (const auto &c : cases) {
    const char *argv[] = {"sh", "-c", c.script, nullptr};
    ASSERT_TRUE(program_start(argv, c.folder)) << c.script;
    bool ended = false;
    EXPECT_EQ(output_until_end(1000, ended), c.output) << c.script;
    EXPECT_EQ(ended, c.ended) << c.script;
    EXPECT_EQ(program_exit_code(), c.exit_code) << c.script;
    EXPECT_EQ(program_read(nullptr, 0, 0), -1) << "nothing left after " << c.script;
  }
}

TEST(RunProgram, AProgramThatCannotStartIsRefused) {
  const char *missing[] = {"talven-no-such-program", nullptr};
  const char *in_missing_folder[] = {"sh", "-c", "true", nullptr};
  EXPECT_FALSE(program_start(missing, nullptr));
  EXPECT_FALSE(program_start(in_missing_folder, "/talven-no-such-folder"));
  EXPECT_EQ(program_read(nullptr, 0, 0), -1);
}
