// Morrest, the panel editor.

#include "DisplayServer.h"
#include "EditorStart.h"
#include "EditorState.h"
#include "frmMain.h"
#include "QtTranslation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    DisplayServer::PreferX11UnderWayland();
    QApplication app(argc, argv);
    QtTranslation::Install(app);
    app.setApplicationVersion(QStringLiteral("1.0"));
    EditorState state;
    StartEditor(state);
    frmMain main(state);
    main.show();
    state.ZoomRate() = 1;
    state.LastZoomRate = 1;
    return app.exec();
}
