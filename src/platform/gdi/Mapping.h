#pragma once
// Window/viewport mapping: page space to the reference device, as the eight mapping modes define it.
#include <QSize>
#include <QTransform>

#include "DCState.h"

// Sets the mode and, for the fixed modes (and isotropic), the extents they imply on a reference device
// of `devicePixels` measuring `deviceMillimetres`.
void ApplyMapMode(TDCState& state, int32_t mode, QSize devicePixels, QSize deviceMillimetres);
// Page space to reference-device pixels; isotropic mode shrinks the larger viewport scale.
QTransform PageToDevice(const TDCState& state);
