#include "DisplayServer.h"
#include "Drives.h"
#include "FontWarmUp.h"
#include "ModDeclare.h"
#include "QtTranslation.h"

#include <QApplication>

#include <future>

int main(int argc, char** argv)
{
    // The drive list (the mount table, the optical drives) is read while Qt starts: the
    // windows built next take it from the list's cache.
    const auto drives = std::async(std::launch::async, [] { Drives::List(); });
    DisplayServer::PreferX11UnderWayland();
    QApplication app(argc, argv);
    QtTranslation::Install(app);
    const FontWarmUp fonts;  // while the windows are built
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setQuitOnLastWindowClosed(false);  // the player ends only through its shut-down
    return ModDeclare::Main(app);
}
