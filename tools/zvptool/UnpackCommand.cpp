// zvptool unpack FILE.zvp DIR: writes every page as DIR/page<N>.emf, N from 1.
#include <cstdio>
#include <filesystem>

#include "Command.h"
#include "OutputFiles.h"
#include "store/ZVPageList.h"

namespace {

int RunUnpack(const std::vector<std::string>& Args) {
  RequireArgumentCount(Args, 2, 2);
  const std::string& report = Args[0];
  const std::filesystem::path dir = Args[1];
  TZVPageList list;
  list.LoadFromFile(report);
  // Decode every page before writing any, so that a damaged report leaves no partial set of pages.
  for (int32_t n = 1; n <= list.PageCount(); n++)
    list.GetPage(n);
  std::filesystem::create_directories(dir);
  for (int32_t n = 1; n <= list.PageCount(); n++) {
    const std::string path = (dir / ("page" + std::to_string(n) + ".emf")).string();
    RefuseInputAsOutput(path, {report});
    list.GetPage(n)->SaveToFile(path);
  }
  std::printf("%d %s written to %s\n", list.PageCount(), list.PageCount() == 1 ? "page" : "pages",
              dir.string().c_str());
  return 0;
}

} // namespace

extern const TCommand UnpackCommand{"unpack", "FILE.zvp DIR", "write every page as DIR/page<N>.emf",
                                    RunUnpack};
