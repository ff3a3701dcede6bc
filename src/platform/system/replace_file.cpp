#include "platform/replace_file.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

bool sync_to_disk(FILE *stream) { return _commit(_fileno(stream)) == 0; }
bool replace_file(const char *from, const char *to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
#else
#include <unistd.h>

bool sync_to_disk(FILE *stream) { return fsync(fileno(stream)) == 0; }
bool replace_file(const char *from, const char *to) { return std::rename(from, to) == 0; }
#endif
