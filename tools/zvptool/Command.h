#pragma once
// One zvptool command: its name, the synopsis of its arguments, a one-line summary and its entry point.
// Commands live in their own source files and are listed in CommandTable.cpp.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Exception.h"

struct TCommand {
  const char* Name;
  const char* Arguments; // as shown in the usage, after the name
  const char* Summary;
  // Runs the command on the arguments after its name and returns the exit status. Wrong usage raises
  // EUsage; failures raise Exception (or any std::exception) and end with status 1.
  int (*Run)(const std::vector<std::string>& Args);
  // The options for `zvptool NAME --help`, one "  -x, --long VALUE  meaning" line each; null when none.
  const char* Options = nullptr;
};

// Wrong usage: main prints the usage and exits with status 2.
class EUsage : public Exception {
  using Exception::Exception;
};

// The commands in the order the usage lists them.
const std::vector<const TCommand*>& Commands();

// Raises EUsage unless the argument count lies within [min, max].
void RequireArgumentCount(const std::vector<std::string>& Args, size_t min, size_t max);
// The whole of `text` as a number within [min, max], or EUsage naming the option.
int32_t ParseNumberOption(const std::string& option, const std::string& text, int32_t min, int32_t max);
