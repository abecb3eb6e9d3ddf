// zvptool: the command-line companion of the viewer. Errors go to stderr as "zvptool: " and the message
// with exit status 1; wrong usage prints the usage with exit status 2. Inputs are never modified.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Command.h"
#include "VersionInfo.h"
#include "platform/rtl/MemoryReuse.h"

namespace {

const char* const ExitStatusText =
    "Exit status: 0 done, 1 failed (a damaged or unreadable input, an output that "
    "cannot be written), 2 wrong usage\n";

int Usage(FILE* out = stderr, int status = 2) {
  std::fprintf(out, "Usage: zvptool COMMAND ARGUMENTS...\n"
                    "  or:  zvptool COMMAND --help\n"
                    "  or:  zvptool --version\n\n"
                    "The command-line companion of the zvpview report viewer: inspects, checks, packs and "
                    "unpacks saved\nreports (.zvp), converts them into PDF, draws pages into PNG images and "
                    "prints them.\n\nCommands:\n");
  for (const TCommand* c : Commands()) {
    std::string line = std::string(c->Name) + " " + c->Arguments;
    std::fprintf(out, "  %-44s  %s\n", line.c_str(), c->Summary);
  }
  std::fprintf(out, "\n%s", ExitStatusText);
  return status;
}

int CommandHelp(const TCommand& c) {
  std::printf("Usage: zvptool %s %s\n\n%s.\n", c.Name, c.Arguments, c.Summary);
  if (c.Options) std::printf("\nOptions:\n%s", c.Options);
  std::printf("\n%s", ExitStatusText);
  return 0;
}

// The version and commit the About box shows.
int Version() {
  const TVersionInfo info;
  std::printf("zvptool %s\nCommit ID: %s\n", AboutVersionText(info, false).c_str(),
              CommitIdText(info).c_str());
  return 0;
}

int Fail(const char* message) {
  std::fprintf(stderr, "zvptool: %s\n", message);
  return 1;
}

bool AsksForHelp(const std::vector<std::string>& Args) {
  return Args.size() == 1 && (Args[0] == "--help" || Args[0] == "-h");
}

} // namespace

int main(int argc, char** argv) {
  KeepFreedMemoryForReuse();
  if (argc < 2) return Usage();
  const std::string name = argv[1];
  const std::vector<std::string> args(argv + 2, argv + argc);
  for (const TCommand* c : Commands()) {
    if (name != c->Name) continue;
    if (AsksForHelp(args)) return CommandHelp(*c);
    try {
      return c->Run(args);
    } catch (const EUsage& e) {
      std::fprintf(stderr, "zvptool %s: %s\n", c->Name, e.what());
      return Usage();
    } catch (const std::exception& e) {
      return Fail(e.what());
    }
  }
  if (name == "-h" || name == "--help") return Usage(stdout, 0);
  if (name == "--version" || name == "-V") return Version();
  std::fprintf(stderr, "zvptool: unknown command \"%s\"\n", name.c_str());
  return Usage();
}
