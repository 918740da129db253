#include "SystemPaths.h"
#include "frmMain.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    frmMain window(SystemPaths::ProgramFolder());
    window.show();
    return app.exec();
}
