// The files only cairo writes: the chart's PDF on A4 pages and the chronogram as
// PNG or PDF. A build without cairo writes none of them and says so.
#pragma once
#include <cstdint>

bool pictures_in_pdf_and_png();
bool write_chart_pdf(const char *path);
enum page_kind { page_png, page_pdf };
bool write_chronogram_page(const char *path, int64_t end_cycle, page_kind kind);
