#include "SystemPaths.h"
#include "frmDobbrin.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    frmDobbrin window(SystemPaths::ProgramFolder());
    window.show();
    return app.exec();
}
