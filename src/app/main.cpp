// zvpview [FILE.zvp]: the saved-report viewer.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <exception>

#include "MainWindow.h"
#include "ProgramIcon.h"
#include "QtTranslation.h"
#include "VersionInfo.h"
#include "ZVApplication.h"
#include "platform/printer/MessagePump.h"
#include "platform/printer/QtPrinter.h"
#include "platform/rtl/MemoryReuse.h"

namespace {

// --help and --version are answered before any window system is needed; everything else, Qt's own
// options included, goes to the application.
void AnswerHelpOrVersion(int argc, char** argv) {
  const TVersionInfo info;
  QCoreApplication::setApplicationName(QStringLiteral("zvpview"));
  QCoreApplication::setApplicationVersion(QString::fromStdString(AboutVersionText(info, false)) +
                                          QStringLiteral("\nCommit ID: ") +
                                          QString::fromStdString(CommitIdText(info)));
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Shows saved reports (.zvp) page by page, prints them on a chosen printer, saves them "
                     "under another name and converts them into PDF.\nWithout a file it registers itself as "
                     "the desktop's program for .zvp reports."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE.zvp"), QStringLiteral("The report to open."),
                               QStringLiteral("[FILE.zvp]"));
  QStringList arguments;
  for (int i = 0; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  parser.parse(arguments);
  if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
  if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
}

} // namespace

int main(int argc, char** argv) {
  KeepFreedMemoryForReuse();
  AnswerHelpOrVersion(argc, argv);
  TZVApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("zvpview"));
  InstallQtTranslation();
  QApplication::setWindowIcon(ProgramIcon());
  SetMessagePump([] { QCoreApplication::processEvents(); });
  try {
    InstallQtPrinters();
    auto* window = new TfrmDodEdidoPreview(QCoreApplication::arguments());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
  } catch (const std::exception& e) {
    ShowErrorBox(QString::fromUtf8(e.what()));
    return 1;
  }
  return QApplication::exec();
}
