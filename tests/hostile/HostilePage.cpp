#include "HostilePage.h"

#include <cmath>

std::vector<uint8_t> HostilePageBytes(const THostileCase& hostile) {
  TEmfWriter w(hostile.Width, hostile.Height);
  w.SaveDC();
  hostile.Write(w);
  // Level 1 is the state before the case, however many levels the case saved or restored.
  w.RestoreDC(1);
  w.ResetClip();
  w.SelectObject(w.CreateSolidBrush(MarkerColorRef));
  w.SelectObject(emf::NULL_PEN);
  w.Rectangle(
      int32_t(std::lround(hostile.Width * MarkerLeft)), int32_t(std::lround(hostile.Height * MarkerTop)),
      int32_t(std::lround(hostile.Width * MarkerRight)), int32_t(std::lround(hostile.Height * MarkerBottom)));
  return w.Finish();
}

std::vector<THostileCase> HostileCases() {
  std::vector<THostileCase> all;
  for (auto table : {HostileTextCases, HostileBitmapCases, HostileGeometryCases})
    for (THostileCase& c : table())
      all.push_back(std::move(c));
  return all;
}
