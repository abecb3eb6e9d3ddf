#pragma once
// The printer vocabulary shared by the printer objects and their callers: a device-mode record shaped like
// the host's DEVMODEW (only the fields the system uses), its field bits, the device-capability indices and
// the sheet position.
#include <cstdint>

#include "platform/gdi/GdiConsts.h"

enum TPrinterOrientation { poPortrait, poLandscape };

// Bits of TDevMode::dmFields: which fields the driver supports and the record carries.
constexpr uint32_t DM_ORIENTATION = 0x1;
constexpr uint32_t DM_PAPERSIZE = 0x2;
constexpr uint32_t DM_PAPERLENGTH = 0x4;
constexpr uint32_t DM_PAPERWIDTH = 0x8;
constexpr uint32_t DM_COPIES = 0x100;
constexpr uint32_t DM_DEFAULTSOURCE = 0x200;
constexpr uint32_t DM_DUPLEX = 0x1000;

constexpr int16_t DMORIENT_PORTRAIT = 1;
constexpr int16_t DMORIENT_LANDSCAPE = 2;
constexpr int16_t DMDUP_SIMPLEX = 1;
constexpr int16_t DMDUP_VERTICAL = 2;
constexpr int16_t DMDUP_HORIZONTAL = 3;
constexpr int16_t DMPAPER_USER = 256;

// Paper sizes are the host's paper codes (1 Letter, 9 A4, ... 256 user-defined); lengths are tenths of a
// millimetre.
struct TDevMode {
  uint32_t dmFields = 0;
  int16_t dmOrientation = DMORIENT_PORTRAIT;
  int16_t dmPaperSize = 0;
  int16_t dmPaperLength = 0;
  int16_t dmPaperWidth = 0;
  int16_t dmCopies = 1;
  int16_t dmDefaultSource = 0;
  int16_t dmDuplex = DMDUP_SIMPLEX;
};

// Device-capability indices (GetDeviceCaps): HORZRES, VERTRES, LOGPIXELSX, LOGPIXELSY come with the
// device context's constants; the printer adds the physical page.
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;

// DeviceCapabilities index for the list of offered paper codes.
constexpr int DC_PAPERS = 2;
