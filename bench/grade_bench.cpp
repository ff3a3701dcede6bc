// A class graded at once: 30 student folders (the blinker's solution, copied) against an
// exercise of 3 scenarios of 60 s each, as talvenc --grade runs them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/grade.h"

namespace fs = std::filesystem;

constexpr int students = 30, scenarios = 3, seconds = 60;

// A minute of the blinker: RB0 checked in the middle of each half period (51 ticks and a scan).
static void write_scenario(const fs::path &path) {
  std::ofstream out(path);
  constexpr double half_period_ms = 510.8;
  for (int k = 0; (k + 1) * half_period_ms < seconds * 1000; k++)
    out << int((k + 0.5) * half_period_ms) << "ms expect RB0=" << k % 2 << "\n";
}

static fs::path make_class() {
  fs::path root = fs::temp_directory_path() / "talven_grade_bench";
  fs::remove_all(root);
  fs::path exercise = root / "exercise";
  fs::create_directories(exercise);
  std::ofstream text(exercise / "exercise.txt");
  text << "title A minute of blinking\ntarget pic16f628a\nmargin 30ms\n";
  for (int k = 0; k < scenarios; k++) {
    std::string name = "minute" + std::to_string(k) + ".txt";
    write_scenario(exercise / name);
    text << (k == 0 ? "scenario " : "hidden ") << name << "\n";
  }
  fs::path solution = fs::path(TALVEN_SOURCE_DIR) / "examples/exercises/blinker/solution";
  for (int n = 0; n < students; n++) fs::copy(solution, root / ("student" + std::to_string(n)));
  return root;
}

static void GradeAClass(benchmark::State &state) {
  fs::path root = make_class();
  fs::current_path(root);
  std::vector<std::string> names;
  for (int n = 0; n < students; n++) names.push_back("student" + std::to_string(n));
  std::vector<char *> folders;
  for (std::string &name : names) folders.push_back(name.data());
  int status = 0;  // the verdict lines go to stdout, a class at each run
  for (auto _ : state) status = grade_students("exercise", folders.data(), students, grade_options{nullptr, nullptr, false});
  if (status != 0) state.SkipWithError("the class did not pass");
  state.counters["students_per_second"] =
      benchmark::Counter(double(students) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(GradeAClass)->Unit(benchmark::kSecond)->Iterations(3)->UseRealTime();
