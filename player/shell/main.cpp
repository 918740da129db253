#include "DisplayServer.h"
#include "FontWarmUp.h"
#include "ModDeclare.h"
#include "QtTranslation.h"

#include <QApplication>

int main(int argc, char** argv)
{
    DisplayServer::PreferX11UnderWayland();
    QApplication app(argc, argv);
    QtTranslation::Install(app);
    const FontWarmUp fonts;  // while the windows are built
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setQuitOnLastWindowClosed(false);  // the player ends only through its shut-down
    return ModDeclare::Main(app);
}
