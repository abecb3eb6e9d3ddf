// Lines, fills, regions and clips whose records claim huge work.
#include "HostilePage.h"

std::vector<THostileCase> HostileGeometryCases() {
  return {};
}
