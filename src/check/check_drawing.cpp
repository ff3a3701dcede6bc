// The drawing against itself and its tables: what the translation would pass over in silence.
#include "check/check.h"

void check_drawing() {}
