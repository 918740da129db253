#pragma once

#include <QWidget>

class PlaybackEngine;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The capture settings dialog "抓圖參數設定": folder and name of the next
// bitmap, the grid of the contact sheet, the cell size (the size the video is
// shown at) and the picture size, the time stamp and its font size, and the
// delay before each grab. Hidden, never closed, so its values last for the
// run of the player; frame capture reads its boxes directly.
class frmCutSet : public QWidget
{
    Q_OBJECT
public:
    explicit frmCutSet(PlaybackEngine &engine, QWidget *parent = nullptr);

    // The delay box's text as the dialog is made.
    static inline const QString DesignDelayText = QStringLiteral("1.0");

    void CloseForm();
    // Picture size from cell size, and cell size from picture size.
    void AccPic();
    void AccPic1();

    void Command2_Click();   // 確定
    void Command3_Click();   // 取消
    void Command9_Click();   // the folder picker

    // Controls, as frame capture and the settings dialog read and fill them.
    QLineEdit *Text7;        // capture folder
    QPushButton *Command9;
    QLineEdit *Text9;        // file name of the next bitmap
    QLineEdit *Text1;        // cells per side, driven by VScroll1
    QScrollBar *VScroll1;
    QLineEdit *Text2;        // cell width
    QLineEdit *Text3;        // cell height
    QLineEdit *Text5;        // picture width
    QLineEdit *Text6;        // picture height
    QCheckBox *Check2;       // keep the video's shape
    QCheckBox *Check1;       // stamp the play time
    QLineEdit *Text4;        // stamp font size, driven by VScroll2
    QScrollBar *VScroll2;
    QLineEdit *Text8;        // delay in seconds, driven by VScroll3
    QScrollBar *VScroll3;
    QLabel *Label9;
    QPushButton *Command2;
    QPushButton *Command3;

protected:
    // Closing by the frame hides the window like Cancel.
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    void connectHandlers();
    void Text2_Change();
    void Text3_Change();
    void Text5_Change();
    void Text6_Change();
    void VScroll1_Change();
    void VScroll2_Change();
    void VScroll3_Change();
    // A size box changed: with the shape kept, the other box of the pair
    // follows; then the dependent pair is worked out.
    void sizeChanged(QLineEdit *changed, QLineEdit *other, bool widthChanged, void (frmCutSet::*derive)());
    double naturalRatio(bool widthChanged) const;

    PlaybackEngine &m_engine;
    bool m_keepingShape = false;   // a box is being set to keep the shape
};
