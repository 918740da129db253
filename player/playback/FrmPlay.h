#pragma once

#include <QWidget>

class MciWnd;
class PlaybackEngine;

// The separate video window: one media control that fills it. Its control's
// events go to the engine's handlers, so both controls behave alike; a left
// click on the picture hides or brings back the panel.
class FrmPlay : public QWidget
{
    Q_OBJECT
public:
    explicit FrmPlay(PlaybackEngine &engine, QWidget *parent = nullptr);

    MciWnd *MCIWnd1() const { return m_control; }

    // Mouse press on the picture (button 1 left).
    void MCIWnd1_MouseDown(int button, int shift, int x, int y);

protected:
    // Keys do nothing here.
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void Form_Load();

    PlaybackEngine &m_engine;
    MciWnd *m_control;
};
