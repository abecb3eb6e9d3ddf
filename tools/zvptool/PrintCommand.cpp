// zvptool print FILE.zvp [--printer NAME] [--copies N] [--from A --to B]: prints the report the way the
// viewer's print button does, in one job on the named or the default printer. The job is named after the
// report file.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "Command.h"
#include "DrawingCommands.h"
#include "OffscreenGui.h"
#include "platform/printer/QtPrinter.h"
#include "printing/PrintLoop.h"

namespace {

int32_t PrinterIndexOf(const std::string& name) {
  const auto& printers = Printer().Printers();
  auto it = std::find(printers.begin(), printers.end(), name);
  if (it == printers.end()) throw EPrinter("Printer selected is not valid: \"" + name + "\"");
  return static_cast<int32_t>(it - printers.begin());
}

int RunPrint(const std::vector<std::string>& Args) {
  std::string input, printer;
  TPrintChoice choice;
  for (size_t i = 0; i < Args.size(); ++i) {
    const std::string& a = Args[i];
    const bool hasValue = i + 1 < Args.size();
    if (a == "--printer" && hasValue)
      printer = Args[++i];
    else if (a == "--copies" && hasValue)
      choice.NumCopies = ParseNumberOption(a, Args[++i], 1, INT32_MAX);
    else if (a == "--from" && hasValue)
      choice.FromPage = ParseNumberOption(a, Args[++i], 1, INT32_MAX);
    else if (a == "--to" && hasValue)
      choice.ToPage = ParseNumberOption(a, Args[++i], 1, INT32_MAX);
    else if (!a.empty() && a[0] != '-' && input.empty())
      input = a;
    else
      throw EUsage("unexpected argument \"" + a + "\"");
  }
  if (input.empty()) throw EUsage("a report file is needed");

  TOffscreenGui gui("print");
  InstallQtPrinters();

  TZVPrinter report;
  report.Load(input);
  if (choice.FromPage || choice.ToPage) {
    if (!choice.FromPage) choice.FromPage = 1;
    if (!choice.ToPage) choice.ToPage = report.PageCount();
  }
  choice.PrinterIndex = printer.empty() ? -1 : PrinterIndexOf(printer);
  choice.Title = std::filesystem::path(input).stem().string();
  const int32_t pages = PrintReport(report, choice);
  std::printf("Printed %d page(s) on %s\n", pages, Printer().Printers().at(Printer().PrinterIndex()).c_str());
  SetApplicationPrinter(nullptr); // the printer goes before the application it draws with
  return 0;
}

} // namespace

extern const TCommand PrintCommand{PrintText.Name, PrintText.Arguments, PrintText.Summary, RunPrint,
                                   PrintText.Options};
