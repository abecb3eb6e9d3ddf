#include "TempFile.h"

#include <cerrno>
#include <cstdlib>
#include <unistd.h>
#include <vector>

#include "Exception.h"

std::string TempDirectory() {
  const char* dir = std::getenv("TMPDIR");
  std::string result = (dir && *dir) ? dir : "/tmp";
  while (result.size() > 1 && result.back() == '/')
    result.pop_back();
  return result;
}

std::string TempFileName() {
  std::string pattern = TempDirectory() + "/ZVPXXXXXX.tmp";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) throw EFCreateError(pattern, SysErrorMessage(errno));
  ::close(fd);
  return std::string(name.data());
}
