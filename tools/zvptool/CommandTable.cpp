#include "Command.h"

// One line per command; each command is defined in its own source file.
#define ZVPTOOL_COMMANDS(X)                                                                                  \
  X(InfoCommand)                                                                                             \
  X(CheckCommand)                                                                                            \
  X(PackCommand)                                                                                             \
  X(UnpackCommand)                                                                                           \
  X(PdfCommand)                                                                                              \
  X(TextCommand)                                                                                             \
  X(PrintCommand)                                                                                            \
  X(RenderCommand)                                                                                           \
  X(ThumbnailCommand)

#define ZVPTOOL_DECLARE(command) extern const TCommand command;
ZVPTOOL_COMMANDS(ZVPTOOL_DECLARE)

const std::vector<const TCommand*>& Commands() {
#define ZVPTOOL_ENTRY(command) &command,
  static const std::vector<const TCommand*> table = {ZVPTOOL_COMMANDS(ZVPTOOL_ENTRY)};
  return table;
}

void RequireArgumentCount(const std::vector<std::string>& Args, size_t min, size_t max) {
  if (Args.size() < min || Args.size() > max) throw EUsage("wrong number of arguments");
}

int32_t ParseNumberOption(const std::string& option, const std::string& text, int32_t min, int32_t max) {
  size_t used = 0;
  long long value = 0;
  try {
    value = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || value < min || value > max)
    throw EUsage(option + " needs a number from " + std::to_string(min) + " to " + std::to_string(max));
  return static_cast<int32_t>(value);
}
