// Byte-level helpers shared by every reader and writer of the program's text files.
#pragma once
#include <cstddef>
#include <cstdio>

// Reading. Files are opened in binary mode; read_char turns CR LF into one '\n'.
FILE *open_for_reading(const char *path);
int read_char(FILE *stream);
// Skips white space (line ends included), then reads one blank-delimited word,
// cut to size - 1 characters (the rest of the word is consumed). False at end of file.
bool read_word(FILE *stream, char *word, int size);
// Reads a decimal integer as formatted input does: white space skipped, an optional
// sign, digits. On failure nothing is consumed but the white space; returns false.
bool read_decimal(FILE *stream, int &value);

// Text held in memory, a line at a time from start (its '\n' left out), into line: false at
// the end. A line that does not fit or holds a NUL byte gives problem its reason.
bool next_text_line(const char *text, long size, long &start, char *line, int line_size, const char *&problem);

// Writing. A pending_file writes beside its final name and replaces it only once
// everything is written, flushed and closed, so a failure never damages the old file.
struct pending_file {
  FILE *stream;
  bool failed;
  char final_path[4096];
  char temp_path[4096 + 16];
};
bool begin_file(pending_file &file, const char *path);
// Writes formatted text; every '\n' becomes CR LF on disk.
void put_text(pending_file &file, const char *format, ...) __attribute__((format(printf, 2, 3)));
// Writes bytes as they are: binary files.
void put_bytes(pending_file &file, const char *bytes, size_t count);
// Completes the file; on any failure removes the temporary file and returns false.
bool finish_file(pending_file &file);

// Test seam: when zero or more, writing fails once this many more bytes are written.
extern long write_failure_after_bytes;
