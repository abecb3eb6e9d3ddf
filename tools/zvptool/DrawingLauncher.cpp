// The drawing commands of the light zvptool: replace this process by zvptool-qt with the same command
// line. zvptool-qt lies beside zvptool in a build tree and in ../lib/zvpview when installed.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Command.h"
#include "DrawingCommands.h"

namespace {

std::filesystem::path DrawingTool() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) throw Exception("zvptool-qt cannot be found: " + error.message());
  const std::filesystem::path dir = self.parent_path();
  for (const std::filesystem::path& candidate :
       {dir / "zvptool-qt", dir / ".." / "lib" / "zvpview" / "zvptool-qt"})
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  throw Exception("the drawing commands need zvptool-qt, which is not installed beside " + self.string());
}

int Launch(const char* name, const std::vector<std::string>& Args) {
  const std::string tool = DrawingTool().string();
  std::vector<std::string> words{"zvptool", name};
  words.insert(words.end(), Args.begin(), Args.end());
  std::vector<char*> argv;
  for (std::string& w : words)
    argv.push_back(w.data());
  argv.push_back(nullptr);
  std::fflush(nullptr);
  execv(tool.c_str(), argv.data());
  throw Exception(tool + " cannot be started: " + std::strerror(errno));
}

int RunRender(const std::vector<std::string>& Args) {
  return Launch(RenderText.Name, Args);
}
int RunPrint(const std::vector<std::string>& Args) {
  return Launch(PrintText.Name, Args);
}
int RunThumbnail(const std::vector<std::string>& Args) {
  return Launch(ThumbnailText.Name, Args);
}

} // namespace

extern const TCommand RenderCommand{RenderText.Name, RenderText.Arguments, RenderText.Summary, RunRender,
                                    RenderText.Options};
extern const TCommand PrintCommand{PrintText.Name, PrintText.Arguments, PrintText.Summary, RunPrint,
                                   PrintText.Options};
extern const TCommand ThumbnailCommand{ThumbnailText.Name, ThumbnailText.Arguments, ThumbnailText.Summary,
                                       RunThumbnail, ThumbnailText.Options};
