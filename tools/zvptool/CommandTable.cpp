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
