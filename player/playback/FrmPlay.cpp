#include "FrmPlay.h"

#include "MciWnd.h"
#include "PlaybackEngine.h"
#include "PlaybackHost.h"

#include <QKeyEvent>

FrmPlay::FrmPlay(PlaybackEngine &engine, QWidget *parent)
    : QWidget(parent, Qt::Window), m_engine(engine), m_control(new MciWnd(this))
{
    m_engine.connectControl(m_control);
    connect(m_control, &MciWnd::MouseDown, this, &FrmPlay::MCIWnd1_MouseDown);
    Form_Load();
}

void FrmPlay::Form_Load()
{
    m_control->move(0, 0);
}

void FrmPlay::MCIWnd1_MouseDown(int button, int shift, int x, int y)
{
    if (button != 1)
        return;
    PlaybackHost &host = m_engine.host();
    if (host.mainVisible() && host.mainEnabled()) {
        host.setMainVisible(false);
        host.setTaskWindowState(1);
    } else {
        host.setMainVisible(true);
        host.setTaskWindowState(0);
    }
}

void FrmPlay::keyPressEvent(QKeyEvent *event) { event->accept(); }

void FrmPlay::keyReleaseEvent(QKeyEvent *event) { event->accept(); }
