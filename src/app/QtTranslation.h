#pragma once
// The toolkit's own texts (file dialogs, the print dialog, message-box buttons) in Polish, like the rest
// of the window: Qt's Polish catalogue from the toolkit's translations folder, installed once into the
// running application. Without the catalogue those texts stay in English; that is not an error.
#include <QString>

// Installs the catalogue; true when it was found (or already installed).
bool InstallQtTranslation();

// Where the catalogue is looked for.
QString QtTranslationFile();
