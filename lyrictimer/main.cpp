#include "DisplayServer.h"
#include "FontWarmUp.h"
#include "MediaBackend.h"
#include "MessageBox.h"
#include "MpvRuntime.h"
#include "SystemPaths.h"
#include "frmDobbrin.h"
#include "QtTranslation.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    DisplayServer::PreferX11UnderWayland();
    QApplication app(argc, argv);
    QtTranslation::Install(app);
    const FontWarmUp fonts;  // while the window is built
    frmDobbrin window(SystemPaths::ProgramFolder());
    window.show();
    // libmpv loads while the user looks at the window, so that the first song opens at once;
    // without it the editor still runs, and the user is told why nothing will play.
    if (mediaBackend() == MediaBackend::Real) {
        MpvRuntime::preload(&window, [&window](bool loaded) {
            if (!loaded)
                MessageBox::show({MpvRuntime::unavailableMessage(), QStringLiteral("Dobbrin"),
                                  MessageBox::Icon::Critical},
                                 &window);
        });
    }
    return app.exec();
}
