// The pictures TALVEN writes: the chart in IEC 60848's look (SVG, PDF) and the
// recorded run as a chronogram (SVG, PNG, PDF), each one drawing for every file.
#pragma once
#include <cstdint>
#include <string>

// The loaded chart in the export's look, as one SVG document (no file touched).
std::string chart_svg_document();
// The simulator's recorded run between two cycles as a chronogram SVG document; each mark
// draws a red marker on that signal's row at that cycle (a failed expectation).
struct chronogram_mark { int64_t cycle; const char *signal; };
std::string chronogram_svg_document(int64_t from_cycle, int64_t to_cycle,
                                    const chronogram_mark *marks, int mark_count);

// Whether this build draws PDF and PNG as well; SVG it always writes.
bool pictures_in_pdf_and_png();
// The loaded chart into path, SVG or PDF by its ending, through the safe writer; false
// with the reason in error. The PDF's title block names the project file and the target.
bool export_chart(const char *path, char *error, int error_size);
// The recorded run from power-up to end_cycle, SVG, PNG or PDF by its ending.
bool write_chronogram(const char *path, int64_t end_cycle);
