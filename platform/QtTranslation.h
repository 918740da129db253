#pragma once
// Qt's own windows (file dialogs, the overwrite question, message box buttons) in the
// programs' language, Traditional Chinese, whatever the desktop's language is.

class QCoreApplication;

namespace QtTranslation {

// Installs Qt's own Traditional Chinese translations on app; false (and Qt's own English
// stays) when they are not installed.
bool Install(QCoreApplication& app);

}  // namespace QtTranslation
