// zvptool: the command-line companion of the viewer. Errors go to stderr as "zvptool: " and the message
// with exit status 1; wrong usage prints the usage with exit status 2. Inputs are never modified.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Command.h"

namespace {

int Usage(FILE* out = stderr, int status = 2) {
  std::fprintf(out, "usage: zvptool COMMAND ARGUMENTS...\n\ncommands:\n");
  for (const TCommand* c : Commands()) {
    std::string line = std::string(c->Name) + " " + c->Arguments;
    std::fprintf(out, "  %-44s %s\n", line.c_str(), c->Summary);
  }
  return status;
}

int Fail(const char* message) {
  std::fprintf(stderr, "zvptool: %s\n", message);
  return 1;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string name = argv[1];
  for (const TCommand* c : Commands()) {
    if (name != c->Name) continue;
    try {
      return c->Run(std::vector<std::string>(argv + 2, argv + argc));
    } catch (const EUsage& e) {
      std::fprintf(stderr, "zvptool %s: %s\n", c->Name, e.what());
      return Usage();
    } catch (const std::exception& e) {
      return Fail(e.what());
    }
  }
  if (name == "-h" || name == "--help") return Usage(stdout, 0);
  std::fprintf(stderr, "zvptool: unknown command \"%s\"\n", name.c_str());
  return Usage();
}
