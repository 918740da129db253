#include "FrmColor.h"

#include "ButtonColorSettings.h"
#include "ModButtonIni.h"
#include "PanelForm.h"
#include "PanelGeometry.h"
#include "PanelHost.h"
#include "PanelState.h"

#include "ModFiles.h"
#include "ModIniFile.h"
#include "ModTools.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <cstdlib>

// ---------------------------------------------------------------- ColorToolCanvas

QWidget *ColorToolCanvas::widget()
{
    return m_form.host().panelWidget();
}

void ColorToolCanvas::ShowObj(bool Show)
{
    m_form.obj().ShowObj(Show);
}

void ColorToolCanvas::ButtonAdj(bool Show)
{
    m_form.obj().ButtonAdj(Show);
}

void ColorToolCanvas::DeskUpdate(bool Rebuild)
{
    m_form.DeskUpdate(Rebuild);
}

void ColorToolCanvas::DeskTopRef()
{
    m_form.host().DeskTopRef();
}

// ---------------------------------------------------------------- FrmColor

namespace {
const char *const ColorTypeCaptions[] = {"透明", "彩色", "原色"};
const char *const BarCaptions[] = {"紅色", "綠色", "藍色", "亮度"};
const char *const FamilyCaptions[] = {"功能按鈕", "選曲按鈕", "控制按鈕"};
const char *const MaskSizeCaptions[] = {"遮罩尺寸", "不改變", "自定"};
const char *const PaletteCaptions[] = {"按鈕色彩", "加入色彩", "不作處理"};
constexpr int DesignMaskSize = 1;  // "不改變"

// The panel's definition with the tool's colours; the user hears when it could not be saved.
void saveDefinitionOrTell(PanelForm &form)
{
    if (!SaveButtonIni(form))
        ShowMsg(QStringLiteral("無法儲存按鈕設定檔:") + IniFile, QStringLiteral("error"));
}

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// The swatch a mixed colour is shown in.
void paintSwatch(QLabel *swatch, const QColor &color)
{
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, color);
    palette.setColor(QPalette::WindowText, qGray(color.rgb()) < 128 ? Qt::white : Qt::black);
    swatch->setPalette(palette);
    swatch->setAutoFillBackground(true);
    swatch->update();
}
}  // namespace

FrmColor::FrmColor(ColorToolCanvas &CurForm, Carrier carrier, QWidget *parent)
    : QWidget(parent, Qt::Tool), m_curForm(CurForm), m_colors(CurForm.form().colors()), m_carrier(carrier)
{
    setObjectName(QStringLiteral("FrmColor"));
    setWindowTitle(QStringLiteral("按鈕顏色設定"));
    createControls();
    connectControls();
    // The tool's own change handling runs whenever a panel definition or
    // the window data set the colour settings.
    m_colors.onChange = [this] { showSettings(); };
    Form_Load();
    showSettings();
}

FrmColor::~FrmColor()
{
    m_colors.onChange = nullptr;
}

void FrmColor::createControls()
{
    auto name = [this](QWidget *control, const QString &objectName, int index = -1) {
        control->setObjectName(objectName);
        if (index >= 0)
            control->setProperty("Index", index);
        m_controls.append(control);
    };

    Frame1 = new QGroupBox(QStringLiteral("選擇按鈕種類"), this);
    name(Frame1, QStringLiteral("Frame1"));
    Frame1->setGeometry(8, 8, 150, 96);
    for (int i = 0; i < 3; ++i) {
        ColorType[i] = new QRadioButton(text(ColorTypeCaptions[i]), Frame1);
        name(ColorType[i], QStringLiteral("ColorType"), i);
        ColorType[i]->setGeometry(12, 22 + i * 23, 130, 22);
    }

    Frame2 = new QGroupBox(QStringLiteral("更新項目"), this);
    name(Frame2, QStringLiteral("Frame2"));
    Frame2->setGeometry(8, 110, 150, 118);
    auto *hint = new QLabel(QStringLiteral("請點選預修改按鈕"), Frame2);
    name(hint, QStringLiteral("Label3"));
    hint->setGeometry(12, 20, 130, 18);
    for (int i = 0; i < 3; ++i) {
        Check2[i] = new QCheckBox(text(FamilyCaptions[i]), Frame2);
        name(Check2[i], QStringLiteral("Check2"), i);
        Check2[i]->setGeometry(12, 42 + i * 23, 130, 22);
    }

    Frame4 = new QGroupBox(QStringLiteral("按鈕大小"), this);
    name(Frame4, QStringLiteral("Frame4"));
    Frame4->setGeometry(8, 234, 150, 126);
    for (int i = 0; i < 3; ++i) {
        MaskSize[i] = new QRadioButton(text(MaskSizeCaptions[i]), Frame4);
        name(MaskSize[i], QStringLiteral("MaskSize"), i);
        MaskSize[i]->setGeometry(12, 20 + i * 22, 130, 22);
    }
    for (int i = 0; i < 2; ++i) {
        Label1[i] = new QLabel(i == 0 ? QStringLiteral("寬度") : QStringLiteral("高度"), Frame4);
        name(Label1[i], QStringLiteral("Label1"), i);
        Label1[i]->setGeometry(12 + i * 68, 92, 30, 22);
        Text1[i] = new QLineEdit(QStringLiteral("24"), Frame4);
        name(Text1[i], QStringLiteral("Text1"), i);
        Text1[i]->setGeometry(42 + i * 68, 92, 34, 22);
    }

    Frame3 = new QGroupBox(QStringLiteral("調色盤"), this);
    name(Frame3, QStringLiteral("Frame3"));
    Frame3->setGeometry(170, 8, 228, 262);
    for (int i = 0; i < 4; ++i) {
        const int x = 14 + i * 54;
        FPicPat[i] = new QLabel(text(BarCaptions[i]), Frame3);
        name(FPicPat[i], QStringLiteral("FPicPat"), i);
        FPicPat[i]->setAlignment(Qt::AlignCenter);
        FPicPat[i]->setFrameShape(QFrame::Panel);
        FPicPat[i]->setGeometry(x, 22, 40, 20);
        VScroll1[i] = new QScrollBar(Qt::Vertical, Frame3);
        name(VScroll1[i], QStringLiteral("VScroll1"), i);
        // The top of a bar is its minimum: larger colour values toward the top.
        VScroll1[i]->setRange(ButtonColorSettings::barMin(i), ButtonColorSettings::barMax(i));
        VScroll1[i]->setSingleStep(1);
        VScroll1[i]->setPageStep(i == 3 ? 30 : 16);
        VScroll1[i]->setGeometry(x + 11, 46, 18, 180);
        Label2[i] = new QLabel(QStringLiteral("000"), Frame3);
        name(Label2[i], QStringLiteral("Label2"), i);
        Label2[i]->setAlignment(Qt::AlignCenter);
        Label2[i]->setGeometry(x, 232, 40, 20);
    }
    FPicColor = new QLabel(QStringLiteral("加入的顏色"), this);
    name(FPicColor, QStringLiteral("FPicColor"));
    FPicColor->setAlignment(Qt::AlignCenter);
    FPicColor->setFrameShape(QFrame::Box);
    FPicColor->setGeometry(170, 276, 228, 36);
    Check1 = new QCheckBox(QStringLiteral("抓取背景顏色"), this);
    name(Check1, QStringLiteral("Check1"));
    Check1->setGeometry(170, 318, 190, 22);

    for (int i = 0; i < 3; ++i) {
        PicTemp[i] = new QLabel(this);
        name(PicTemp[i], QStringLiteral("PicTemp"), i);
        PicTemp[i]->setGeometry(170 + i * 64, 344, 56, 24);
        PicTempBak[i] = new QLabel(this);
        name(PicTempBak[i], QStringLiteral("PicTempBak"), i);
        PicTempBak[i]->setGeometry(170 + i * 64, 344, 56, 24);
        PicTempBak[i]->hide();
    }
    ButtonMask = new QLabel(this);
    name(ButtonMask, QStringLiteral("ButtonMask"));
    ButtonMask->hide();

    const QString captions[] = {QStringLiteral("更新全部按鈕"), QStringLiteral("退          回"),
                                QStringLiteral("調色盤歸零"), QStringLiteral("恢復原始設定"),
                                QStringLiteral("儲存按鈕配置")};
    QPushButton **buttons[] = {&Command1, &Command2, &Command3, &Command4, &Command5};
    const int order[] = {0, 4, 3, 2, 1};  // left to right: update, save, restore, reset, back
    for (int slot = 0; slot < 5; ++slot) {
        const int i = order[slot];
        *buttons[i] = new QPushButton(captions[i], this);
        name(*buttons[i], QStringLiteral("Command") + QString::number(i + 1));
        (*buttons[i])->setGeometry(6 + slot * 80, 376, 78, 28);
    }

    m_designSize = QSize(406, 412);
    resize(m_designSize);
    for (QWidget *control : m_controls) {
        m_designGeometry.append(control->geometry());
        m_designFontSize.append(control->font().pointSizeF());
    }
}

void FrmColor::connectControls()
{
    for (int i = 0; i < 3; ++i) {
        connect(ColorType[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            if (!m_showingSettings)
                m_colors.selectColorType(i);
            ColorType_Click(i);
        });
        connect(Check2[i], &QCheckBox::toggled, this, [this, i](bool on) {
            if (!m_showingSettings)
                m_colors.setCheck2(i, on ? 1 : 0);
        });
        connect(MaskSize[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on)
                MaskSize_Click(i);
        });
    }
    for (int i = 0; i < 4; ++i)
        connect(VScroll1[i], &QScrollBar::valueChanged, this, [this, i](int value) {
            if (!m_showingSettings)
                m_colors.setVScroll1(i, value);
            VScroll1_Change(i);
        });
    connect(Check1, &QCheckBox::toggled, this, [this] { Check1_Click(); });
    connect(Command1, &QPushButton::clicked, this, &FrmColor::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmColor::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FrmColor::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &FrmColor::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &FrmColor::Command5_Click);
    for (int i = 0; i < 3; ++i)
        PicTemp[i]->installEventFilter(this);
}

double FrmColor::twipsPerPixelX() const
{
    return m_curForm.form().host().twipsPerPixelX();
}

double FrmColor::twipsPerPixelY() const
{
    return m_curForm.form().host().twipsPerPixelY();
}

void FrmColor::Form_Load()
{
    if (m_carrier == Carrier::Player) {
        // Every control but the frames and swatches takes the panel's hand pointer.
        const QCursor hand = m_curForm.form().obj().PicIcon;
        for (QWidget *control : m_controls)
            if (!control->objectName().toUpper().startsWith(QLatin1Char('F')))
                control->setCursor(hand);
    }
    MaskSize[DesignMaskSize]->setChecked(true);
    MaskSize_Click(DesignMaskSize);
    if (m_carrier == Carrier::Player) {
        ColorFormWidth = width() * twipsPerPixelX();
        ColorFormHeight = qint16(qRound(height() * twipsPerPixelY()));
    }
}

void FrmColor::ReSizeColor()
{
    if (m_designSize.isEmpty() || width() <= 0 || height() <= 0)
        return;
    // Scaled from the design layout by the whole ratio, which is the product of
    // every step's ratio but gathers no rounding drift over many resizes.
    const double fx = double(width()) / m_designSize.width();
    const double fy = double(height()) / m_designSize.height();
    const double fontFactor = fx > fy ? fy : fx;
    for (int i = 0; i < m_controls.size(); ++i) {
        const QRect &g = m_designGeometry[i];
        m_controls[i]->setGeometry(qRound(g.x() * fx), qRound(g.y() * fy), qMax(1, qRound(g.width() * fx)),
                                   qMax(1, qRound(g.height() * fy)));
        if (m_designFontSize[i] > 0) {
            QFont font = m_controls[i]->font();
            font.setPointSizeF(qMax(1.0, m_designFontSize[i] * fontFactor));
            m_controls[i]->setFont(font);
        }
    }
    ColorFormWidth = width() * twipsPerPixelX();
    ColorFormHeight = qint16(qRound(height() * twipsPerPixelY()));
}

void FrmColor::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_carrier == Carrier::Player)
        ReSizeColor();
}

void FrmColor::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    showSettings();
}

void FrmColor::closeEvent(QCloseEvent *event)
{
    CloseMe();
    // The window unloads: the next use shows the design values again.
    restoreDesignValues();
    event->accept();
}

bool FrmColor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress)
        for (int i = 0; i < 3; ++i)
            if (watched == PicTemp[i])
                PicTemp_Click(i);
    return QWidget::eventFilter(watched, event);
}

void FrmColor::ColorType_Click(int Index)
{
    static const bool check1Enabled[] = {false, true, false};
    static const bool paletteEnabled[] = {true, true, false};
    if (Index < 0 || Index > 2)
        return;
    Check1->setEnabled(check1Enabled[Index]);
    Frame3->setTitle(text(PaletteCaptions[Index]));
    Frame3->setEnabled(paletteEnabled[Index]);
}

QColor FrmColor::mixedColor(int red, int green, int blue, int brightness)
{
    auto channel = [brightness](int value) { return qBound(0, std::abs(value) + brightness, 255); };
    return QColor(channel(red), channel(green), channel(blue));
}

void FrmColor::VScroll1_Change(int)
{
    for (int i = 0; i < 3; ++i)
        Label2[i]->setText(QString::number(std::abs(VScroll1[i]->value())));
    Label2[3]->setText(QString::number(-VScroll1[3]->value()));
    paintSwatch(FPicColor, mixedColor(VScroll1[0]->value(), VScroll1[1]->value(), VScroll1[2]->value(),
                                      -VScroll1[3]->value()));
}

void FrmColor::Command3_Click()
{
    for (QScrollBar *bar : VScroll1)
        bar->setValue(0);
}

void FrmColor::Check1_Click()
{
    QWidget *canvas = m_curForm.widget();
    canvas->setEnabled(true);
    if (Check1->isChecked()) {
        // The bare panel picture, to be pointed at with this tool's pointer.
        canvas->setCursor(Qt::CrossCursor);
        m_curForm.ShowObj(false);
    } else {
        canvas->unsetCursor();
        m_curForm.ShowObj(true);
    }
}

void FrmColor::untickCheck1()
{
    if (Check1->isChecked())
        Check1->setChecked(false);  // runs Check1_Click
}

void FrmColor::releaseCurFormPointer()
{
    m_curForm.widget()->unsetCursor();
}

void FrmColor::Command1_Click()
{
    PanelState &state = m_curForm.form().state();
    m_curForm.ButtonAdj(false);
    IniFile = state.DeskIniFile;
    saveDefinitionOrTell(m_curForm.form());
    QCoreApplication::processEvents();
    untickCheck1();
    m_curForm.DeskUpdate(true);
    releaseCurFormPointer();
}

void FrmColor::Command5_Click()
{
    PanelState &state = m_curForm.form().state();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_curForm.ButtonAdj(false);
    IniFile = state.DeskIniFile;
    saveDefinitionOrTell(m_curForm.form());
    QCoreApplication::processEvents();
    untickCheck1();
    releaseCurFormPointer();
    QApplication::restoreOverrideCursor();
}

void FrmColor::Command4_Click()
{
    IniFile = m_curForm.form().state().ButtonIniFile;
    ReadButtonIni(m_curForm.form(), false);
}

void FrmColor::Command2_Click()
{
    CloseMe();
}

void FrmColor::CloseMe()
{
    hide();
    if (m_carrier == Carrier::Editor)
        return;
    QWidget *canvas = m_curForm.widget();
    PanelForm &form = m_curForm.form();
    canvas->setEnabled(true);
    QLabel *message = form.obj().Label1;
    message->setFrameShape(QFrame::NoFrame);
    setAutoSizeOn(message, false);
    const bool gifPanel = GetExtName(form.state().DeskPicFile) == QLatin1String("gif");
    if (gifPanel)
        m_curForm.DeskTopRef();
    m_curForm.ButtonAdj(false);
    releaseCurFormPointer();
    canvas->show();
    if (gifPanel) {
        form.obj().ImageDesk->show();
        form.obj().ImageDesk->update();
    }
}

void FrmColor::PicTemp_Click(int Index)
{
    if (Index < 0 || Index > 2)
        return;
    for (QLabel *sample : PicTemp)
        sample->setFrameShape(QFrame::NoFrame);
    m_selObj = PicTemp[Index];
    m_selObj->setFrameShape(QFrame::Box);
    if (!m_selObj->pixmap().isNull())
        m_selObj->resize(m_selObj->pixmap().size() + QSize(2, 2));
    m_selObjBak = PicTempBak[Index];
    m_curForm.form().obj().ObjBox->hide();
}

void FrmColor::MaskSize_Click(int)
{
    const bool custom = MaskSize[2]->isChecked();
    for (int i = 0; i < 2; ++i) {
        Label1[i]->setEnabled(custom);
        Text1[i]->setEnabled(custom);
    }
}

void FrmColor::showSettings()
{
    m_showingSettings = true;
    ColorType[m_colors.ColorType()]->setChecked(true);
    ColorType_Click(m_colors.ColorType());
    for (int i = 0; i < 4; ++i)
        VScroll1[i]->setValue(m_colors.VScroll1(i));
    for (int i = 0; i < 3; ++i)
        Check2[i]->setChecked(m_colors.Check2(i) == 1);
    VScroll1_Change(0);
    m_showingSettings = false;
}

void FrmColor::restoreDesignValues()
{
    m_colors.selectColorType(ButtonColorSettings::Transparent);
    for (int i = 0; i < ButtonColorSettings::BarCount; ++i)
        m_colors.setVScroll1(i, 0);
    for (int i = 0; i < ButtonColorSettings::FamilyCount; ++i)
        m_colors.setCheck2(i, 1);
    showSettings();
    MaskSize[DesignMaskSize]->setChecked(true);
    for (QLineEdit *edit : Text1)
        edit->setText(QStringLiteral("24"));
    Check1->blockSignals(true);
    Check1->setChecked(false);
    Check1->blockSignals(false);
    m_selObj = m_selObjBak = nullptr;
    for (QLabel *sample : PicTemp)
        sample->setFrameShape(QFrame::NoFrame);
}
