// Scenario files: timed input changes and expectations, one per line, read into a
// fixed table and run against the simulator, and written a line at a time.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "compiler/compiler.h"
#include "files/text_io.h"
#include "simulate/simulate.h"

scenario_step scenario[scenario_capacity];
int scenario_length;

// Reading stops at the first error; its text goes to the caller's buffer.
static char *error_out;
static int error_out_size;
static int current_line;

static bool fail(const char *format, const char *detail) {
  char what[120];
  std::snprintf(what, sizeof what, format, detail);
  std::snprintf(error_out, size_t(error_out_size), "scenario line %d: %s", current_line, what);
  return false;
}

// "250ms", "1.5s": digits, an optional fraction, then the unit; kept in nanoseconds.
bool parse_scenario_time(const char *word, int64_t &ns) {
  const char *p = word;
  int64_t whole = 0, fraction = 0;
  int whole_digits = 0, fraction_digits = 0;
  // Digits past what can be kept are counted, not added, so nothing overflows.
  for (; *p >= '0' && *p <= '9'; p++, whole_digits++)
    if (whole_digits < 11) whole = whole * 10 + (*p - '0');
  if (*p == '.')
    for (p++; *p >= '0' && *p <= '9'; p++, fraction_digits++)
      if (fraction_digits < 10) fraction = fraction * 10 + (*p - '0');
  int scale_digits = std::strcmp(p, "ms") == 0 ? 6 : std::strcmp(p, "s") == 0 ? 9 : -1;
  // Nine whole digits (31 years in seconds) keep nanoseconds inside 64 bits; fractions finer
  // than a nanosecond mean nothing.
  if (scale_digits < 0 || whole_digits == 0 || whole_digits > 9 || fraction_digits > scale_digits) return false;
  int64_t scale = 1;
  for (int k = 0; k < scale_digits; k++) scale *= 10;
  for (int k = fraction_digits; k < scale_digits; k++) fraction *= 10;
  ns = whole * scale + fraction;
  return true;
}

// The verbs' words, by scenario_verb.
static const char *const verb_words[] = {"set", "expect"};
static_assert(sizeof verb_words / sizeof verb_words[0] == verb_expect + 1, "a word per verb");

static bool known_name(const char *name) {
  int address;
  return sim_find_pin(name) >= 0 || find_zb(name, address);
}

static bool parse_assignment(const char *word, scenario_verb verb, int64_t time_ns) {
  const char *equals = std::strchr(word, '=');
  if (!equals || equals == word) return fail("malformed assignment '%s' (NAME=0 or NAME=1)", word);
  char name[sizeof scenario[0].name];
  int length = int(equals - word);
  if (length >= int(sizeof name)) return fail("unknown name '%.40s'", word);
  std::memcpy(name, word, size_t(length));
  name[length] = 0;
  if ((equals[1] != '0' && equals[1] != '1') || equals[2]) return fail("malformed value '%s' (0 or 1)", equals + 1);
  if (!known_name(name)) return fail("unknown name '%s'", name);
  if (verb == verb_set && !sim_pin_is_input(sim_find_pin(name))) return fail("%s is not an input pin", name);
  if (scenario_length == scenario_capacity) return fail("more than %s assignments", "16384");
  scenario_step &step = scenario[scenario_length++];
  step = {time_ns, verb, current_line, {}, equals[1] - '0'};
  std::memcpy(step.name, name, size_t(length) + 1);
  return true;
}

// One line without its comment: TIME set|expect NAME=V [NAME=V ...], or nothing.
static bool parse_line(char *line, int64_t &previous_ns) {
  if (char *hash = std::strchr(line, '#')) *hash = 0;
  const char *blanks = " \t\r";
  char *time_word = std::strtok(line, blanks);
  if (!time_word) return true;
  int64_t time_ns;
  if (!parse_scenario_time(time_word, time_ns)) return fail("malformed time '%s' (for example 250ms or 1.5s)", time_word);
  if (time_ns < previous_ns) return fail("time %s goes back before the line above", time_word);
  previous_ns = time_ns;
  char *verb_word = std::strtok(nullptr, blanks);
  if (!verb_word) return fail("%s", "expected 'set' or 'expect' after the time");
  int verb = verb_set;
  while (verb <= verb_expect && std::strcmp(verb_word, verb_words[verb]) != 0) verb++;
  if (verb > verb_expect) return fail("expected 'set' or 'expect', got '%s'", verb_word);
  char *word = std::strtok(nullptr, blanks);
  if (!word) return fail("%s", "nothing to set or expect (NAME=0 or NAME=1)");
  for (; word; word = std::strtok(nullptr, blanks))
    if (!parse_assignment(word, scenario_verb(verb), time_ns)) return false;
  return true;
}

bool parse_scenario(const char *text, long size, char *error, int error_size) {
  error_out = error;
  error_out_size = error_size;
  scenario_length = 0;
  int64_t previous_ns = 0;
  current_line = 0;
  char line[1024];
  const char *problem = nullptr;
  for (long start = 0; next_text_line(text, size, start, line, int(sizeof line), problem);) {
    current_line++;
    if (problem) return fail("%s", problem);
    if (!parse_line(line, previous_ns)) return false;
  }
  return true;
}

bool read_scenario(const char *path, char *error, int error_size) {
  static char text[1 << 22];
  FILE *file = std::fopen(path, "rb");
  if (!file) {
    std::snprintf(error, size_t(error_size), "cannot read the scenario file %s", path);
    return false;
  }
  size_t size = std::fread(text, 1, sizeof text, file);
  bool too_long = size == sizeof text;
  std::fclose(file);
  if (too_long) {
    std::snprintf(error, size_t(error_size), "the scenario file %s is longer than 4 MB", path);
    return false;
  }
  return parse_scenario(text, long(size), error, error_size);
}

// ---- Writing ------------------------------------------------------------------

static char *line_out;
static int line_size, line_used;

static void put(const char *format, ...) __attribute__((format(printf, 1, 2)));
static void put(const char *format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int room = line_used < line_size ? line_size - line_used : 0;
  int written = std::vsnprintf(room ? line_out + line_used : nullptr, size_t(room), format, arguments);
  va_end(arguments);
  if (written > 0) line_used += written;
}

int format_scenario_line(char *out, int size, int64_t ns, scenario_unit unit, scenario_verb verb,
                         const scenario_assignment *assignments, int count) {
  line_out = out, line_size = size, line_used = 0;
  if (size > 0) out[0] = 0;
  constexpr int64_t ms = 1000000, s = 1000000000;
  if (unit == unit_seconds) put("%lld.%09llds", (long long)(ns / s), (long long)(ns % s));
  else if (ns % ms == 0) put("%lldms", (long long)(ns / ms));
  else put("%lld.%06lldms", (long long)(ns / ms), (long long)(ns % ms));
  put(" %s", verb_words[verb]);
  for (int k = 0; k < count; k++) put(" %s=%d", assignments[k].name, assignments[k].value);
  put("\n");
  return line_used;
}
