#pragma once
// Window/viewport mapping for the player: a thin Qt adapter over the shared mapping
// (platform/metafile/PageMapping.h), page space to the reference device.
#include <QSize>
#include <QTransform>

#include "DCState.h"

// Sets the mode and, for the fixed modes (and isotropic), the extents they imply on a reference device
// of `devicePixels` measuring `deviceMillimetres`.
void ApplyMapMode(TDCState& state, int32_t mode, QSize devicePixels, QSize deviceMillimetres);
// Page space to reference-device pixels; isotropic mode shrinks the larger viewport scale.
QTransform PageToDevice(const TDCState& state);
