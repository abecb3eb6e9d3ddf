#include "MessagePump.h"

namespace {
std::function<void()>& Pump() {
  static std::function<void()> pump;
  return pump;
}
} // namespace

void SetMessagePump(std::function<void()> APump) {
  Pump() = std::move(APump);
}

void ProcessMessages() {
  if (Pump()) Pump()();
}
