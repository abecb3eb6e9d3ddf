#include "OffscreenGui.h"

#include <cstdio>

namespace {
const char* CommandName = "zvptool";

void ReportFailures(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "zvptool %s: %s\n", CommandName, qPrintable(message));
}
} // namespace

TOffscreenGui::TOffscreenGui(const char* command) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  CommandName = command;
  qInstallMessageHandler(ReportFailures);
  FApp = std::make_unique<QGuiApplication>(FArgc, FArgv);
}

TOffscreenGui::~TOffscreenGui() = default;
