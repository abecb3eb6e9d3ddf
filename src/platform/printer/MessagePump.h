#pragma once
// The host's "process pending messages": long operations call it so that the user interface stays alive.
// A GUI program installs its event loop's pump; without one the call does nothing.
#include <functional>

void SetMessagePump(std::function<void()> Pump);
void ProcessMessages();
