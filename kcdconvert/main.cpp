#include "SystemPaths.h"
#include "frmMain.h"
#include "QtTranslation.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QtTranslation::Install(app);
    frmMain window(SystemPaths::ProgramFolder());
    window.show();
    return app.exec();
}
