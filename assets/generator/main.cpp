// Draws the suite's own art into a program folder:
//   Desk/Quorvel.JPG            the default panel
//   Skin/<panel> + <panel>.INI  the panels offered in the panel list
//   Button Mask/*.bmp           the key masks the definitions name
//   Icon/*.png                  the symbols the player puts over its keys
//   ReadMe.rtf, readme.htm      the readme texts
// Usage: assetgen <program folder> <readme source>

#include "AssetWriter.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char *argv[])
{
    // Drawing text needs a GUI application, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: assetgen <program folder> <readme source>\n");
        return 2;
    }
    const QString error = art::writeAllAssets(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    if (!error.isEmpty()) {
        std::fprintf(stderr, "assetgen: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
