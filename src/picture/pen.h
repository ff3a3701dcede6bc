// What a drawing calls to put marks on a page; one table of calls per renderer, so
// that a drawing is written once and every file is written from it.
#pragma once
#include <cstring>
#include <string>

#include "platform/seam.h"

enum text_anchor { anchor_start, anchor_middle, anchor_end };

struct pen {
  void *out;  // the renderer's own: the SVG text, the cairo context
  // A role names a kind of mark for the SVG's style sheet; null for none.
  void (*line)(void *out, double x0, double y0, double x1, double y1, rgb colour, double width, const char *role);
  void (*fill)(void *out, double x, double y, double width, double height, rgb colour, const char *role);
  void (*frame)(void *out, double x, double y, double width, double height, rgb colour, double line_width);
  void (*triangle)(void *out, const double (&points)[6], rgb colour);
  // Text in the monospaced face, y its baseline.
  void (*text)(void *out, double x, double y, const char *text, double size, rgb colour, text_anchor anchor);
};

// Every character of the monospaced face advances this share of its size.
constexpr double character_advance = 0.6;
inline double text_width(const char *text, double size) { return double(std::strlen(text)) * size * character_advance; }

constexpr rgb ink{0, 0, 0}, paper{255, 255, 255};

// The SVG renderer: marks appended to a document begun with its size.
void begin_svg(std::string &document, double width, double height);
void end_svg(std::string &document);
pen svg_pen(std::string &document);
