#pragma once
// The host's critical section: a re-entrant lock.
#include <mutex>

using TCriticalSection = std::recursive_mutex;
