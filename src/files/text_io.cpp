#include "files/text_io.h"

#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstring>

#include "platform/replace_file.h"

long write_failure_after_bytes = -1;

FILE *open_for_reading(const char *path) {
  if (!path || !path[0]) return nullptr;
  return std::fopen(path, "rb");
}

int read_char(FILE *stream) {
  int c = std::getc(stream);
  if (c != '\r') return c;
  int next = std::getc(stream);
  if (next == '\n') return '\n';
  if (next != EOF) std::ungetc(next, stream);
  return c;
}

static int skip_white_space(FILE *stream) {
  int c;
  do c = read_char(stream);
  while (c != EOF && std::isspace(c));
  return c;
}

bool read_word(FILE *stream, char *word, int size) {
  int c = skip_white_space(stream);
  if (c == EOF) {
    word[0] = 0;
    return false;
  }
  int length = 0;
  for (; c != EOF && !std::isspace(c); c = read_char(stream))
    if (length < size - 1) word[length++] = char(c);
  if (c != EOF) std::ungetc(c, stream);
  word[length] = 0;
  return true;
}

bool read_decimal(FILE *stream, int &value) {
  int c = skip_white_space(stream);
  int sign = 1;
  if (c == '+' || c == '-') {
    int next = read_char(stream);
    if (!std::isdigit(next)) {
      // Only one character can be pushed back: the sign is lost, as with formatted input.
      if (next != EOF) std::ungetc(next, stream);
      return false;
    }
    sign = c == '-' ? -1 : 1;
    c = next;
  }
  if (!std::isdigit(c)) {
    if (c != EOF) std::ungetc(c, stream);
    return false;
  }
  long long magnitude = 0;
  for (; std::isdigit(c); c = read_char(stream))
    if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (c - '0');
  if (c != EOF) std::ungetc(c, stream);
  long long result = sign * magnitude;
  value = int(result > INT_MAX ? INT_MAX : result < INT_MIN ? INT_MIN : result);
  return true;
}

bool begin_file(pending_file &file, const char *path) {
  file.stream = nullptr;
  file.failed = true;
  if (!path || !path[0] || std::strlen(path) >= sizeof file.final_path) return false;
  std::snprintf(file.final_path, sizeof file.final_path, "%s", path);
  std::snprintf(file.temp_path, sizeof file.temp_path, "%s.talven-tmp", path);
  file.stream = std::fopen(file.temp_path, "wb");
  file.failed = file.stream == nullptr;
  return !file.failed;
}

// Writes bytes as they are, honouring the test seam that makes a write fail midway.
void put_bytes(pending_file &file, const char *bytes, size_t count) {
  if (file.failed || count == 0) return;
  if (write_failure_after_bytes >= 0) {
    if (long(count) > write_failure_after_bytes) {
      std::fwrite(bytes, 1, size_t(write_failure_after_bytes), file.stream);
      write_failure_after_bytes = 0;
      file.failed = true;
      return;
    }
    write_failure_after_bytes -= long(count);
  }
  if (std::fwrite(bytes, 1, count, file.stream) != count) file.failed = true;
}

void put_text(pending_file &file, const char *format, ...) {
  char text[1024];
  va_list arguments;
  va_start(arguments, format);
  int length = std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  if (length < 0 || length >= int(sizeof text)) {
    file.failed = true;
    return;
  }
  // Line ends are CR LF on every platform, so files match those of the Windows program.
  const char *start = text;
  for (const char *p = text; *p; p++) {
    if (*p != '\n') continue;
    put_bytes(file, start, size_t(p - start));
    put_bytes(file, "\r\n", 2);
    start = p + 1;
  }
  put_bytes(file, start, std::strlen(start));
}

bool finish_file(pending_file &file) {
  if (!file.stream) return false;
  bool written = !file.failed && std::fflush(file.stream) == 0 && sync_to_disk(file.stream);
  written = std::fclose(file.stream) == 0 && written;
  file.stream = nullptr;
  if (written) written = replace_file(file.temp_path, file.final_path);
  if (!written) std::remove(file.temp_path);
  file.failed = !written;
  return written;
}

bool next_text_line(const char *text, long size, long &start, char *line, int line_size, const char *&problem) {
  static char too_long[64];
  if (start >= size) return false;
  long end = start;
  while (end < size && text[end] != '\n') end++;
  long length = end - start;
  start = end + 1;
  problem = nullptr;
  line[0] = 0;
  if (length >= line_size) {
    std::snprintf(too_long, sizeof too_long, "line longer than %d characters", line_size - 1);
    problem = too_long;
    return true;
  }
  std::memcpy(line, text + end - length, size_t(length));
  line[length] = 0;
  if (std::strlen(line) != size_t(length)) problem = "a NUL byte in the line";
  return true;
}
