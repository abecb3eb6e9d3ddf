#include "EmfMapping.h"

#include <cmath>

TEmfMapping::TEmfMapping(TEmfSize devicePixels, TEmfSize deviceMillimetres)
    : FMapping(emf::TReferenceDevice(devicePixels.cx, devicePixels.cy, deviceMillimetres.cx,
                                     deviceMillimetres.cy)) {}

double TEmfMapping::ScaleX() const {
  return std::fabs(FMapping.Scale().cx);
}
double TEmfMapping::ScaleY() const {
  return std::fabs(FMapping.Scale().cy);
}
