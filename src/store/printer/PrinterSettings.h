#pragma once
// TPrinterSettings: the paper, orientation, copies, duplex, bin, margins and resolution of one printer,
// read from its device mode and capabilities, changed through guarded setters and written back.
//
// A setter that the attached printer cannot honour refuses silently and keeps the old value. Support is
// judged by the device mode's field mask as it stood at the last read or apply; with no printer attached
// nothing is supported. Lengths are tenths of a millimetre. The printer object is not owned.
#include <array>
#include <cstdint>
#include <string>

#include "ZVPaper.h"
#include "platform/printer/Printer.h"

class TPrinterSettings {
 public:
  TPrinterSettings() = default;
  TPrinterSettings(const TPrinterSettings&) = delete;
  TPrinterSettings& operator=(const TPrinterSettings&) = delete;

  TPrinter* Printer() const { return FPrinter; }
  // Attaching a printer that lists at least one printer reads all its settings at once.
  void SetPrinter(TPrinter* Value);
  // Reads every value from the attached printer (nothing without one). Raises the printer's errors.
  void ReadSettings();
  // Writes the settings into the printer's device mode and hands it back to the printer.
  void ApplySettings();

  const std::string& Device() const { return FDevice; }
  const std::string& Driver() const { return FDriver; }
  const std::string& Port() const { return FPort; }
  int32_t PixelsPerX() const { return FPixelsPerX; }
  int32_t PixelsPerY() const { return FPixelsPerY; }
  int32_t TopOffset() const { return FTopOffset; }
  int32_t LeftOffset() const { return FLeftOffset; }
  // Never filled; they read 0.
  int32_t MaxExtentX() const { return FMaxExtentX; }
  int32_t MaxExtentY() const { return FMaxExtentY; }
  int32_t MinExtentX() const { return FMinExtentX; }
  int32_t MinExtentY() const { return FMinExtentY; }
  // Defined for Letter .. Custom; Default reads false.
  bool PaperSizeSupported(TZVPaperSize Size) const;

  int32_t Copies() const { return FCopies; }
  void SetCopies(int32_t Value);
  bool Duplex() const { return FDuplex; }
  void SetDuplex(bool Value);
  TZVDuplexMode DuplexMode() const { return FMDuplex; }
  TPrinterOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TPrinterOrientation Value);
  TZVBin OutputBin() const { return FOutputBin; }
  void SetOutputBin(TZVBin Value);
  TZVPaperSize PaperSize() const { return FPaperSize; }
  // Default is always accepted, any other size only when offered.
  void SetPaperSize(TZVPaperSize Value);
  // The table size of a tabled paper (not turned for landscape); the stored size for Default and Custom.
  int32_t PaperWidth() const;
  int32_t PaperLength() const;
  // Take effect only while PaperSize is Custom.
  void SetPaperWidth(int32_t Value);
  void SetPaperLength(int32_t Value);
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }

  // The field mask that the support tests consult.
  uint32_t FieldMask() const { return FFields; }

 private:
  bool Supports(uint32_t field) const { return FPrinter && (FFields & field) == field; }
  int32_t ToTenthsMm(int32_t pixels, int32_t perInch) const;

  std::string FDevice, FDriver, FPort;
  int32_t FCopies = 0;
  bool FDuplex = false;
  TZVDuplexMode FMDuplex = tzdNone;
  int32_t FMaxExtentX = 0, FMaxExtentY = 0, FMinExtentX = 0, FMinExtentY = 0;
  TPrinterOrientation FOrientation = poPortrait;
  TZVBin FOutputBin = TZVBin::First;
  TZVPaperSize FPaperSize = TZVPaperSize::A4;
  std::array<bool, ZVPaperSizeCount> FPaperSizes{}; // indexed by ordinal; Default stays false
  int32_t FPaperWidth = 0, FPaperLength = 0;
  int32_t FPixelsPerX = 0, FPixelsPerY = 0;
  int32_t FTopOffset = 0, FLeftOffset = 0;
  TPrinter* FPrinter = nullptr;
  std::string FTitle;
  uint32_t FFields = 0;
};
