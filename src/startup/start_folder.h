// The window program's command line: talven [FOLDER]. The project's config.txt
// and files are read and written in the folder the program starts in. The
// backends reach enter_start_folder through the seam, which declares it.
#pragma once
#include "platform/seam.h"
