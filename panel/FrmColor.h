#pragma once

#include <QRect>
#include <QVector>
#include <QWidget>

#include <array>

class ButtonColorSettings;
class PanelForm;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

// The window carrying the panel as the colour tool works on it (CurForm).
// The defaults are the player's panel operations; a carrying window whose
// operations differ (the panel editor's canvas) overrides them.
class ColorToolCanvas
{
public:
    explicit ColorToolCanvas(PanelForm &form) : m_form(form) {}
    virtual ~ColorToolCanvas() = default;

    PanelForm &form() { return m_form; }
    QWidget *widget();

    virtual void ShowObj(bool Show);
    virtual void ButtonAdj(bool Show);
    virtual void DeskUpdate(bool Rebuild);
    // Moves the window to its drag frame and refreshes its background.
    virtual void DeskTopRef();

private:
    PanelForm &m_form;
};

// The button colour tool "按鈕顏色設定": shows and edits the colour settings
// of the panel it works on, saves the layout into the panel's definition,
// rebuilds all faces, restores the built-in layout or resets the palette.
// The player keeps it hidden as the holder of the settings; the panel
// editor shows it.
class FrmColor : public QWidget
{
    Q_OBJECT
public:
    enum class Carrier { Player, Editor };

    // Works on CurForm and the colour settings of CurForm's panel.
    explicit FrmColor(ColorToolCanvas &CurForm, Carrier carrier = Carrier::Player, QWidget *parent = nullptr);
    ~FrmColor() override;

    // Hides the tool and gives the panel window back its pointer and look.
    void CloseMe();
    // Proportional re-layout of every control to the window's size.
    void ReSizeColor();

    // Event handlers
    void Form_Load();
    void ColorType_Click(int Index);
    void VScroll1_Change(int Index);
    void Check1_Click();
    void MaskSize_Click(int Index);
    void PicTemp_Click(int Index);
    void Command1_Click();  // "更新全部按鈕"
    void Command2_Click();  // "退          回"
    void Command3_Click();  // "調色盤歸零"
    void Command4_Click();  // "恢復原始設定"
    void Command5_Click();  // "儲存按鈕配置"

    // The mixed colour of the palette: |bar| + brightness per channel, 0..255.
    static QColor mixedColor(int red, int green, int blue, int brightness);

    // The sample selected by PicTemp_Click and its twin (null before any).
    QLabel *SelObj() const { return m_selObj; }
    QLabel *SelObjBak() const { return m_selObjBak; }

    // Controls
    QGroupBox *Frame1, *Frame2, *Frame3, *Frame4;
    std::array<QRadioButton *, 3> ColorType;
    std::array<QScrollBar *, 4> VScroll1;
    std::array<QLabel *, 4> FPicPat;
    std::array<QLabel *, 4> Label2;
    QLabel *FPicColor;
    std::array<QCheckBox *, 3> Check2;
    QCheckBox *Check1;
    std::array<QRadioButton *, 3> MaskSize;
    std::array<QLabel *, 2> Label1;
    std::array<QLineEdit *, 2> Text1;
    std::array<QLabel *, 3> PicTemp;
    std::array<QLabel *, 3> PicTempBak;
    QLabel *ButtonMask;
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5;

    double ColorFormWidth = 0;   // twips, the size at the last layout
    qint16 ColorFormHeight = 0;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void connectControls();
    void showSettings();           // the controls follow the settings
    void restoreDesignValues();    // what a new load of the window shows
    void untickCheck1();
    void releaseCurFormPointer();
    double twipsPerPixelX() const;
    double twipsPerPixelY() const;

    ColorToolCanvas &m_curForm;
    ButtonColorSettings &m_colors;
    Carrier m_carrier;
    QLabel *m_selObj = nullptr;
    QLabel *m_selObjBak = nullptr;
    bool m_showingSettings = false;
    QVector<QWidget *> m_controls;
    QVector<QRect> m_designGeometry;
    QVector<double> m_designFontSize;
    QSize m_designSize;
};
