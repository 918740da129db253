#include "DisplayServer.h"
#include "SystemPaths.h"
#include "frmDobbrin.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    DisplayServer::PreferX11UnderWayland();
    QApplication app(argc, argv);
    frmDobbrin window(SystemPaths::ProgramFolder());
    window.show();
    return app.exec();
}
