// The project's text files: the graphic save file, the literal file and config.txt.
// Every file is written with CR LF line ends, through a temporary file renamed over
// the old one only when completely written; every reader accepts CR LF and LF.
#pragma once
#include <cstdint>
#include <cstdio>

// Menu operations; each reports its own failure in a box titled "Files" and
// returns whether it succeeded.
bool save_graphic_file();
bool load_graphic_file();
bool save_literal_file();
bool load_literal_file();
void read_config_file();
// The same files at another path, without any box: the recovery copies.
bool write_graphic_file(const char *path);
bool read_graphic_file(const char *path);
bool write_literal_file(const char *path);
bool read_literal_file(const char *path);
bool write_config_file();
// The same without a box: for the names kept beside the recovery copies, whose failure
// the next Exit reports.
bool write_config_file_silently();

// Reads one line into destination (size bytes, cut to fit): blanks before the first
// other character skipped, the line end consumed and not stored, a CR before it
// dropped. Returns true when the end of the file was met.
bool read_line(FILE *stream, char *destination, int size);

// A picture as a compressed 8-bit RGB PNG file: height rows of width pixels, each
// 0x00RRGGBB, a row starting row_pixels after the one above (the surface's rows are wider).
bool write_png_file(const char *path, const uint32_t *pixels, int width, int height, int row_pixels);
