// The two file-system operations the portable code cannot express itself.
#pragma once
#include <cstdio>

// Pushes a stream's written data to the disk; false when the system reports a failure.
bool sync_to_disk(FILE *stream);
// Renames from over to, replacing an existing file in one step where the system allows.
bool replace_file(const char *from, const char *to);
