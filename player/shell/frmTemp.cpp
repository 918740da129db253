#include "frmTemp.h"

#include <QWidget>

frmTemp::frmTemp(QWidget& mainWindow) : QObject(&mainWindow), m_main(mainWindow)
{
    setCaption(QStringLiteral("Quorvel"));
}

QString frmTemp::Caption() const { return m_main.windowTitle(); }

void frmTemp::setCaption(const QString& caption) { m_main.setWindowTitle(caption); }

int frmTemp::WindowState() const { return m_main.isMinimized() ? 1 : 0; }

void frmTemp::setWindowState(int state)
{
    if (state == 1)
        m_main.showMinimized();
    else
        m_main.showNormal();
}

void frmTemp::Form_Resize()
{
    if (m_main.isMinimized()) return;  // the panel is the entry: minimised is already hidden
    m_main.showNormal();
    m_main.raise();
}
