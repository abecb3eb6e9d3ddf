#include "Printer.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameName(const std::string& a, const std::string& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

// A back end with no printers, for programs that installed none.
class TNoPrinters final : public TPrinter {
 protected:
  std::vector<std::string> QueryPrinters() override { return {}; }
  std::string QueryDefaultPrinter() override { return {}; }
  TDevMode DriverDefaults(int32_t) override { return {}; }
  void ApplyMode(int32_t, const TDevMode&) override {}
  std::string QueryPort(int32_t) override { return {}; }
  std::string QueryDriver(int32_t) override { return {}; }
  std::vector<uint16_t> QueryPaperCodes(int32_t) override { return {}; }
  int32_t QueryDeviceCaps(int32_t, int) override { return 0; }
  bool StartJob(int32_t, const std::string&) override { return false; }
  void StartNextPage() override {}
  void EndJob() override {}
  void AbortJob() override {}
  void DrawMetafile(const TEmfRect&, const TMetafile&) override {}
};

TPrinterFactory& Factory() {
  static TPrinterFactory factory;
  return factory;
}

std::unique_ptr<TPrinter>& ApplicationPrinter() {
  static std::unique_ptr<TPrinter> printer;
  return printer;
}

} // namespace

const std::vector<std::string>& TPrinter::Printers() {
  if (!FListed) {
    FPrinters = QueryPrinters();
    FListed = true;
  }
  return FPrinters;
}

int32_t TPrinter::PrinterIndex() {
  if (FIndex >= 0) return FIndex;
  const std::string name = QueryDefaultPrinter();
  const auto& list = Printers();
  auto it = std::find_if(list.begin(), list.end(), [&](const std::string& p) { return SameName(p, name); });
  if (name.empty() || it == list.end()) throw EPrinter("There is no default printer currently selected");
  Select(static_cast<int32_t>(it - list.begin()));
  return FIndex;
}

void TPrinter::SetPrinterIndex(int32_t Value) {
  if (FPrinting) throw EPrinter("Printing in progress");
  if (Value == -1) {
    FIndex = -1;
    PrinterIndex();
    return;
  }
  if (Value < -1 || Value >= static_cast<int32_t>(Printers().size()))
    throw EPrinter("Printer index out of range");
  Select(Value);
}

void TPrinter::Select(int32_t index) {
  FIndex = index;
  FDevMode = DriverDefaults(index);
  FHasDevMode = true;
  ApplyMode(index, FDevMode);
}

int32_t TPrinter::SelectedIndex() {
  return PrinterIndex();
}

TDevMode* TPrinter::GetPrinter(std::string& ADevice, std::string& ADriver, std::string& APort) {
  ADevice.clear();
  ADriver.clear();
  APort.clear();
  if (Printers().empty()) return nullptr;
  const int32_t index = SelectedIndex();
  ADevice = FPrinters[index];
  ADriver = QueryDriver(index);
  APort = QueryPort(index);
  return FHasDevMode ? &FDevMode : nullptr;
}

void TPrinter::SetPrinter(const std::string& ADevice, const std::string&, const std::string&,
                          const TDevMode* ADeviceMode) {
  if (FPrinting) throw EPrinter("Printing in progress");
  const auto& list = Printers();
  auto it =
      std::find_if(list.begin(), list.end(), [&](const std::string& p) { return SameName(p, ADevice); });
  if (it == list.end()) throw EPrinter("Printer selected is not valid");
  const int32_t index = static_cast<int32_t>(it - list.begin());
  if (!ADeviceMode) {
    Select(index);
    return;
  }
  const TDevMode mode = *ADeviceMode; // may point at our own record
  FIndex = index;
  FDevMode = mode;
  FHasDevMode = true;
  ApplyMode(index, FDevMode);
}

void TPrinter::BeginDoc() {
  if (FPrinting) throw EPrinter("Printing in progress");
  const int32_t index = SelectedIndex();
  FAborted = false;
  FPageNumber = 0;
  if (!StartJob(index, Title)) return;
  FPrinting = true;
  FPageNumber = 1;
}

void TPrinter::RequirePrinting() const {
  if (!FPrinting) throw EPrinter("Printer is not currently printing");
}

void TPrinter::NewPage() {
  RequirePrinting();
  StartNextPage();
  ++FPageNumber;
}

void TPrinter::EndDoc() {
  RequirePrinting();
  FPrinting = false;
  EndJob();
}

void TPrinter::Abort() {
  RequirePrinting();
  FPrinting = false;
  FAborted = true;
  AbortJob();
}

void TPrinter::StretchDraw(const TEmfRect& Rect, const TMetafile& Metafile) {
  RequirePrinting();
  DrawMetafile(Rect, Metafile);
}

int32_t TPrinter::GetDeviceCaps(int Index) {
  if (Printers().empty()) return 0;
  return QueryDeviceCaps(SelectedIndex(), Index);
}

std::vector<uint16_t> TPrinter::PaperCodes() {
  if (Printers().empty()) return {};
  return QueryPaperCodes(SelectedIndex());
}

std::string TPrinter::DriverPath() {
  if (Printers().empty()) return {};
  return QueryDriver(SelectedIndex());
}

void SetPrinterFactory(TPrinterFactory AFactory) {
  Factory() = std::move(AFactory);
}

std::unique_ptr<TPrinter> NewPrinter() {
  if (Factory()) return Factory()();
  return std::make_unique<TNoPrinters>();
}

TPrinter& Printer() {
  if (!ApplicationPrinter()) ApplicationPrinter() = NewPrinter();
  return *ApplicationPrinter();
}

void SetApplicationPrinter(std::unique_ptr<TPrinter> APrinter) {
  ApplicationPrinter() = std::move(APrinter);
}
