// The files drawn through cairo: PDF and PNG. cairo is included here alone; the
// Windows build has no cairo and writes SVG only.
#include "picture/pages.h"

#if 0  // cairo: to come
#else
bool pictures_in_pdf_and_png() { return false; }
bool write_chart_pdf(const char *) { return false; }
bool write_chronogram_page(const char *, int64_t, page_kind) { return false; }
#endif
