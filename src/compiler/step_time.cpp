// Step times, "2s/x3": the reading of the word, shared by the compiler and the chart check.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "compiler/compiler.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Past this many whole units the count is only "too long"; it keeps the sums small.
constexpr int64_t whole_limit = 1000000000;

// "2", "1.5", "500" then "s" or "ms", ending at the slash: the ticks, rounded up; false when malformed.
bool read_duration(const char *text, const char *slash, int64_t &ticks) {
  const char *c = text;
  int64_t whole = 0;
  for (; c < slash && is_digit(*c); c++) whole = std::min(whole * 10 + (*c - '0'), whole_limit);
  if (c == text) return false;
  int hundredths = 0;
  bool fraction = false, beyond = false;  // a nonzero digit at all, past the hundredths
  if (*c == '.') {
    const char *first = ++c;
    for (; c < slash && is_digit(*c); c++) {
      int place = int(c - first);
      if (place < 2) hundredths += (*c - '0') * (place == 0 ? 10 : 1);
      else beyond = beyond || *c != '0';
      fraction = fraction || *c != '0';
    }
    if (c == first) return false;
  }
  if (slash - c == 1 && c[0] == 's') {
    ticks = whole * 100 + hundredths + (beyond ? 1 : 0);
    return true;
  }
  if (slash - c == 2 && c[0] == 'm' && c[1] == 's') {
    ticks = whole / 10 + (whole % 10 != 0 || fraction ? 1 : 0);
    return true;
  }
  return false;
}

// x0..x63 written plainly, as the interpreter's steps are named.
bool is_step_name(const char *name) {
  int n = -1;
  char again[16];
  if (std::sscanf(name, "x%d", &n) != 1 || n < 0 || n >= step_variable_count) return false;
  std::snprintf(again, sizeof again, "x%d", n);
  return std::strcmp(again, name) == 0;
}

}  // namespace

step_time_reading read_step_time(const char *word, int &step_address, int &ticks) {
  const char *slash = word[0] ? std::strchr(word + 1, '/') : nullptr;
  if (!slash) return step_time_none;
  int64_t count = 0;
  if (!read_duration(word, slash, count)) return step_time_malformed;
  if (!find_zb(slash + 1, step_address)) return step_time_unknown_step;
  if (!is_step_name(slash + 1)) return step_time_not_step;
  if (count > step_time_most_ticks) return step_time_too_long;
  ticks = int(count);
  return step_time_ok;
}
