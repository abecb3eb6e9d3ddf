#include "PrinterSettings.h"

#include "platform/printer/MessagePump.h"
#include "platform/rtl/MathUtil.h"

namespace {

// The name part of a driver path; a name that is no path (a model name may contain '/') stays whole.
std::string DriverFileName(const std::string& path) {
  std::string name = path;
  if (!name.empty() && name.front() == '/') name = name.substr(name.find_last_of('/') + 1);
  // At most 63 characters, cut at a character boundary of the UTF-8 text.
  size_t chars = 0, i = 0;
  while (i < name.size() && chars < 63) {
    ++i;
    while (i < name.size() && (static_cast<unsigned char>(name[i]) & 0xC0) == 0x80)
      ++i;
    ++chars;
  }
  return name.substr(0, i);
}

int32_t TableTenths(long double mm) {
  return static_cast<int32_t>(RoundEven(mm * 10));
}

} // namespace

void TPrinterSettings::SetPrinter(TPrinter* Value) {
  FPrinter = Value;
  if (FPrinter && !FPrinter->Printers().empty()) ReadSettings();
}

int32_t TPrinterSettings::ToTenthsMm(int32_t pixels, int32_t perInch) const {
  if (perInch <= 0) return 0; // a device that reports no resolution has no measurable margins
  return static_cast<int32_t>(RoundEven(static_cast<long double>(pixels) / perInch * 254));
}

void TPrinterSettings::ReadSettings() {
  if (!FPrinter) return;
  ProcessMessages();
  TDevMode* mode = FPrinter->GetPrinter(FDevice, FDriver, FPort);
  if (!mode) mode = FPrinter->GetPrinter(FDevice, FDriver, FPort);
  FDriver = DriverFileName(FPrinter->DriverPath());
  FFields = mode ? mode->dmFields : 0;
  const TDevMode dm = mode ? *mode : TDevMode{};

  FPixelsPerX = FPrinter->GetDeviceCaps(LOGPIXELSX);
  FPixelsPerY = FPrinter->GetDeviceCaps(LOGPIXELSY);

  FCopies = Supports(DM_COPIES) ? dm.dmCopies : 1;

  FOutputBin = TZVBin::First;
  if (Supports(DM_DEFAULTSOURCE))
    for (int b = 0; b < ZVBinCount; ++b)
      if (BinCode(static_cast<TZVBin>(b)) == dm.dmDefaultSource) {
        FOutputBin = static_cast<TZVBin>(b);
        break;
      }

  FMDuplex = tzdNone;
  if (Supports(DM_DUPLEX)) {
    FDuplex = dm.dmDuplex != DMDUP_SIMPLEX;
    if (dm.dmDuplex == DMDUP_VERTICAL) FMDuplex = tzdVertical;
    if (dm.dmDuplex == DMDUP_HORIZONTAL) FMDuplex = tzdHorizontal;
  }

  FLeftOffset = ToTenthsMm(FPrinter->GetDeviceCaps(PHYSICALOFFSETX), FPixelsPerX);
  FTopOffset = ToTenthsMm(FPrinter->GetDeviceCaps(PHYSICALOFFSETY), FPixelsPerY);

  FPaperSize = TZVPaperSize::Default;
  if (Supports(DM_PAPERSIZE))
    for (int s = 0; s < ZVPaperSizeCount; ++s)
      if (PaperCode(PaperSizeAt(s)) == dm.dmPaperSize) {
        FPaperSize = PaperSizeAt(s);
        break;
      }

  FPaperWidth = ToTenthsMm(FPrinter->GetDeviceCaps(PHYSICALWIDTH), FPixelsPerX);
  FPaperLength = ToTenthsMm(FPrinter->GetDeviceCaps(PHYSICALHEIGHT), FPixelsPerY);

  FPaperSizes.fill(false);
  for (uint16_t code : FPrinter->PaperCodes())
    for (int s = Ordinal(TZVPaperSize::Letter); s < ZVPaperSizeCount; ++s)
      if (static_cast<uint16_t>(PaperCode(PaperSizeAt(s))) == code) FPaperSizes[s] = true;
  FPaperSizes[Ordinal(TZVPaperSize::Custom)] = true;
  // The orientation is not read: the report decides it (paper recognition) and ApplySettings writes it.
}

void TPrinterSettings::ApplySettings() {
  if (!FPrinter) return;
  std::string device, driver, port;
  TDevMode* mode = FPrinter->GetPrinter(device, driver, port);
  if (!mode) return;
  if (FPaperSize == TZVPaperSize::Custom) {
    if (Supports(DM_PAPERLENGTH)) {
      mode->dmFields |= DM_PAPERLENGTH;
      mode->dmPaperLength = static_cast<int16_t>(FPaperLength);
    }
    if (Supports(DM_PAPERWIDTH)) {
      mode->dmFields |= DM_PAPERWIDTH;
      mode->dmPaperWidth = static_cast<int16_t>(FPaperWidth);
    }
  }
  if (FDuplex) {
    mode->dmFields |= DM_DUPLEX;
    if (FMDuplex == tzdVertical) mode->dmDuplex = DMDUP_VERTICAL;
    if (FMDuplex == tzdHorizontal) mode->dmDuplex = DMDUP_HORIZONTAL;
  }
  if (Supports(DM_PAPERSIZE) && FPaperSize != TZVPaperSize::Default) {
    mode->dmFields |= DM_PAPERSIZE;
    mode->dmPaperSize = PaperCode(FPaperSize);
  }
  mode->dmFields |= DM_COPIES;
  mode->dmCopies = static_cast<int16_t>(FCopies & 0xFFFF);
  mode->dmFields |= DM_DEFAULTSOURCE;
  mode->dmDefaultSource = static_cast<int16_t>(BinCode(FOutputBin) | (mode->dmDefaultSource & 0x100));
  mode->dmFields |= DM_ORIENTATION;
  mode->dmOrientation = FOrientation == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  FFields = mode->dmFields;
  const TDevMode written = *mode;
  FPrinter->SetPrinter(device, driver, port, &written);
}

bool TPrinterSettings::PaperSizeSupported(TZVPaperSize Size) const {
  return FPaperSizes[Ordinal(Size)];
}

void TPrinterSettings::SetCopies(int32_t Value) {
  if (Supports(DM_COPIES)) FCopies = Value;
}

void TPrinterSettings::SetDuplex(bool Value) {
  if (Supports(DM_DUPLEX)) FDuplex = Value;
}

void TPrinterSettings::SetOrientation(TPrinterOrientation Value) {
  if (Supports(DM_ORIENTATION)) FOrientation = Value;
}

void TPrinterSettings::SetOutputBin(TZVBin Value) {
  if (Supports(DM_DEFAULTSOURCE)) FOutputBin = Value;
}

void TPrinterSettings::SetPaperSize(TZVPaperSize Value) {
  if (Value == TZVPaperSize::Default || PaperSizeSupported(Value)) FPaperSize = Value;
}

int32_t TPrinterSettings::PaperWidth() const {
  if (FPaperSize == TZVPaperSize::Default || FPaperSize == TZVPaperSize::Custom) return FPaperWidth;
  return TableTenths(PaperDimension(FPaperSize).Width);
}

int32_t TPrinterSettings::PaperLength() const {
  if (FPaperSize == TZVPaperSize::Default || FPaperSize == TZVPaperSize::Custom) return FPaperLength;
  return TableTenths(PaperDimension(FPaperSize).Height);
}

void TPrinterSettings::SetPaperWidth(int32_t Value) {
  if (FPaperSize == TZVPaperSize::Custom) FPaperWidth = Value;
}

void TPrinterSettings::SetPaperLength(int32_t Value) {
  if (FPaperSize == TZVPaperSize::Custom) FPaperLength = Value;
}
