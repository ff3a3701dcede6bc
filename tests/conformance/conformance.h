// What the conformance runners share: a chart drawn as a small text picture put
// into the project, and a case's trace split into a scenario file and checks at
// the end of given scans. The host runner and the gpsim runner read the same table.
#pragma once
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "model/model.h"
#include "simulate/simulate.h"

// A chart: a picture of the grid, one line per row from row 0 and one word per cell
// from column 0 (blanks only align them), then a blank line and its tables:
//   "t3 l RA3" the condition of transition 3, "x1 RB1" the outputs of step 1,
//   "pre ..." and "post ..." a pre- or post-treatment line, in order.
// Or a literal program, its lines as the literal file holds them.
struct conformance_case {
  const char *name;
  std::string drawn;
  std::string literal;
  // Scenario lines ("TIME set NAME=V", "TIME expect NAME=V"), and "scan N expect NAME=V"
  // lines checked as scan N ends, the inputs as the "0ms set" lines leave them. Two
  // shorthands: "steps=1,2" (x1 and x2 active, every other step not), "RB=0x06" (RB7..RB0).
  std::string trace;
};

// The words of the picture: a step, an initial step, a transition, an entry and an
// exit carry their number between prefix and suffix; "." is an empty cell.
struct picture_word {
  const char *prefix, *suffix;
  cell_kind kind;
  bool numbered;
};
inline const picture_word picture_words[] = {
    {"[[", "]]", cell_initial_step, true}, {"[", "]", cell_step, true}, {"T", "", cell_transition, true},
    {"in", "", cell_entry, true},          {"out", "", cell_exit, true}, {"│", "", cell_vertical, false},
    {"─", "", cell_horizontal, false},     {"┌", "", cell_corner_bottom_right, false},
    {"└", "", cell_corner_top_right, false}, {"┐", "", cell_corner_bottom_left, false},
    {"┘", "", cell_corner_top_left, false}, {"├", "", cell_tee_right, false},
    {"┤", "", cell_tee_left, false},         {"┴", "", cell_tee_up, false},
    {"┬", "", cell_tee_down, false},         {"┼", "", cell_cross, false},
    {".", "", cell_empty, false},
};

// The cell a word stands for; false when it stands for none.
inline bool picture_cell(const std::string &word, cell &into) {
  for (const picture_word &w : picture_words) {
    size_t before = std::strlen(w.prefix), after = std::strlen(w.suffix);
    if (word.size() < before + after || word.compare(0, before, w.prefix) != 0 ||
        word.compare(word.size() - after, after, w.suffix) != 0)
      continue;
    std::string number = word.substr(before, word.size() - before - after);
    if (number.empty() == w.numbered || number.find_first_not_of("0123456789") != std::string::npos) continue;
    into = {int32_t(w.kind), number.empty() ? 0 : std::stoi(number)};
    return true;
  }
  return false;
}

// The picture and its tables into the fresh project; false at a word it does not know.
inline bool draw_picture(const std::string &text) {
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line) && line.find_first_not_of(' ') == std::string::npos) {}  // leading blank lines
  for (int y = 0; y < grid_size && line.find_first_not_of(' ') != std::string::npos; y++) {
    std::istringstream words(line);
    std::string word;
    for (int x = 0; x < grid_size && words >> word; x++)
      if (!picture_cell(word, plan_xy[x][y])) return false;
    if (!std::getline(lines, line)) line.clear();
  }
  int pre = 0, post = 0;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    std::string key, rest;
    if (!(words >> key)) continue;
    std::getline(words >> std::ws, rest);
    table_row *row = key == "pre" ? &pre_treatments[pre++] : key == "post" ? &post_treatments[post++]
                   : key[0] == 't'  ? &transition_conditions[std::stoi(key.substr(1))]
                   : key[0] == 'x'  ? &step_outputs[std::stoi(key.substr(1))]
                                    : nullptr;
    if (!row) return false;
    copy_field(row->text, text_size, rest.c_str());
  }
  return true;
}

// A literal program into the literal buffer, a line a row, replacing the whole buffer.
inline void put_literal(const std::string &text) {
  std::istringstream lines(text);
  std::string line;
  for (int k = 0; k < literal_lines; k++) {
    if (!std::getline(lines, line)) line.clear();
    copy_field(literal_buffer[k], text_size, line.c_str());
  }
}

struct assignment {
  std::string name;
  int value;
};
struct scan_check {
  int scan, line;
  std::vector<assignment> expected;
};
struct split_trace {
  std::string scenario;                  // the timed lines, shorthands written out, at their line numbers
  bool timed = false;                    // it has an expect line
  std::vector<scan_check> scans;         // in the order written
  std::vector<assignment> power_up;      // the "0ms set" assignments
};

// NAME=V words, the shorthands written out.
inline std::vector<assignment> assignments_of(std::istringstream &words) {
  std::vector<assignment> out;
  for (std::string word; words >> word;) {
    size_t equal = word.find('=');
    std::string name = word.substr(0, equal), value = equal == std::string::npos ? "" : word.substr(equal + 1);
    if (name == "steps") {
      std::vector<int> active(sim_step_count, 0);
      std::istringstream numbers(value);
      for (std::string n; std::getline(numbers, n, ',');) active[std::stoi(n)] = 1;
      for (int n = 0; n < sim_step_count; n++) out.push_back({"x" + std::to_string(n), active[n]});
    } else if (name == "RB") {
      int levels = std::stoi(value, nullptr, 16);
      for (int bit = 0; bit < 8; bit++) out.push_back({"RB" + std::to_string(bit), levels >> bit & 1});
    } else {
      out.push_back({name, std::atoi(value.c_str())});
    }
  }
  return out;
}

inline std::string scenario_line(const std::string &time, const std::string &verb, const std::vector<assignment> &list) {
  std::string line = time + " " + verb;
  for (const assignment &a : list) line += " " + a.name + "=" + std::to_string(a.value);
  return line;
}

// Scan lines become blank lines of the scenario, so its line numbers are the trace's.
inline split_trace split(const std::string &trace) {
  split_trace out;
  std::istringstream lines(trace);
  std::string line;
  for (int number = 1; std::getline(lines, line); number++) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string first, second;
    words >> first >> second;
    if (first == "scan") {
      int scan = std::stoi(second);
      words >> second;  // "expect"
      out.scans.push_back({scan, number, assignments_of(words)});
    } else if (!first.empty()) {
      std::vector<assignment> list = assignments_of(words);
      if (first == "0ms" && second == "set") out.power_up.insert(out.power_up.end(), list.begin(), list.end());
      out.scenario += scenario_line(first, second, list);
      out.timed = out.timed || second == "expect";
    }
    out.scenario += "\n";
  }
  return out;
}

// The lines of a trace written by rule: NAME=V expected every millisecond from one time to another.
inline std::string every_millisecond(int from_ms, int to_ms, const std::string &expected) {
  std::string lines;
  for (int ms = from_ms; ms <= to_ms; ms++) lines += std::to_string(ms) + "ms expect " + expected + "\n";
  return lines;
}

// A pin that toggles every period_ms from first_ms on: its level margin_ms either side of each toggle.
inline std::string toggling(const std::string &pin, int first_ms, int period_ms, int toggles, int margin_ms) {
  std::string lines;
  for (int k = 0; k < toggles; k++) {
    int at = first_ms + k * period_ms;
    lines += std::to_string(at - margin_ms) + "ms expect " + pin + "=" + std::to_string(k % 2) + "\n";
    lines += std::to_string(at + margin_ms) + "ms expect " + pin + "=" + std::to_string(1 - k % 2) + "\n";
  }
  return lines;
}
