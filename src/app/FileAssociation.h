#pragma once
// The program as the desktop's handler of saved reports (*.zvp, application/x-zvp), the XDG way:
//   command entry  $XDG_DATA_HOME/applications/zvpview.desktop, Exec = program path, a blank, "%f"
//   icon entry     $XDG_DATA_HOME/mime/packages/zvpview.xml (the *.zvp type with the program's icon) and
//                  the icon in $XDG_DATA_HOME/icons/hicolor
//   default        application/x-zvp=zvpview.desktop in $XDG_CONFIG_HOME/mimeapps.list
// Every file is replaced whole, other entries of mimeapps.list are kept. The MIME and desktop databases
// are refreshed when their tools are installed. A system-wide install (zvpview.desktop in an
// $XDG_DATA_DIRS folder) counts as an existing association, and the per-user entry, which shadows it,
// then stays visible in the menu like it. A file that cannot be written raises ERegistryException
// "Failed to set data for '<path>'".
#include <QString>
#include <QStringList>

#include "platform/rtl/Exception.h"

class QWidget;

class ERegistryException : public Exception {
  using Exception::Exception;
};

struct TAssociationPaths {
  QString DataHome;     // $XDG_DATA_HOME, else ~/.local/share
  QString ConfigHome;   // $XDG_CONFIG_HOME, else ~/.config
  QStringList DataDirs; // $XDG_DATA_DIRS, else /usr/local/share and /usr/share
  QString DesktopEntry() const;
  QString MimePackage() const;
  QString MimeApps() const;
  QString Icon(int size) const;
  // Whether a desktop entry of the program is installed in one of DataDirs.
  bool SystemEntryExists() const;
};
TAssociationPaths AssociationPaths();

// The Exec line's value: the program path (quoted for the desktop entry when it holds blanks or other
// reserved characters), a blank and "%f".
QString DesktopExecValue(const QString& programPath);

// Writes the entries for programPath; true when the command entry did not exist before.
bool RegisterFileAssociation(const QString& programPath, const TAssociationPaths& paths = AssociationPaths(),
                             bool refreshDatabases = true);
// The running program's association.
bool RegisterFileAssociation();

// The notice of the first start ("Informacja").
void ShowFirstRunNotice(QWidget* parent = nullptr);
QString FirstRunNoticeText();
