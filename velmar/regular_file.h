// Opening velmar's two data files ("RUR-UDI.dat", "LNAV_polar.dat") for
// reading. The loaders run on the host's panel thread, so a file read must
// neither block nor go on for ever: the open does not wait (a FIFO without a
// writer would), and anything but a regular file (a folder, a FIFO, a device
// such as /dev/zero, also behind a symbolic link) counts as no file. A regular
// file ends; each loader also bounds how much of one line it reads.
#pragma once

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmar {

// The file at `path` as a text stream for reading, or nullptr when it cannot
// be opened or is not a regular file. The caller closes it with fclose.
inline std::FILE *open_regular_file(const char *path) {
  const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return nullptr;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  std::FILE *file = ::fdopen(fd, "r");
  if (file == nullptr) {
    ::close(fd);
  }
  return file;
}

} // namespace velmar
