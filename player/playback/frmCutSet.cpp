#include "frmCutSet.h"

#include "FilePlayback.h"
#include "ModFiles.h"
#include "PlaybackEngine.h"
#include "PlaybackHost.h"
#include "PlaybackRules.h"
#include "PlaybackState.h"
#include "VbRuntime.h"
#include "frmSeleDir.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

QLineEdit *numberBox(QWidget *parent, const QString &text)
{
    auto *box = new QLineEdit(text, parent);
    box->setMaximumWidth(80);
    return box;
}

// A vertical scroll bar whose larger value stands at the top: the wheel turned up moves it
// toward the top, as the up arrow does.
class UpsideDownBar : public QScrollBar
{
public:
    explicit UpsideDownBar(QWidget *parent) : QScrollBar(Qt::Vertical, parent) {}

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        QWheelEvent turned(event->position(), event->globalPosition(), -event->pixelDelta(), -event->angleDelta(),
                           event->buttons(), event->modifiers(), event->phase(), event->inverted(), event->source());
        QScrollBar::wheelEvent(&turned);
        event->setAccepted(turned.isAccepted());
    }
};

// A spin bar holding the negative of the number it drives, top the value at its upper end.
QScrollBar *spinBar(QWidget *parent, int top, int bottom, int value)
{
    QScrollBar *bar = top > bottom ? new UpsideDownBar(parent) : new QScrollBar(Qt::Vertical, parent);
    bar->setRange(qMin(top, bottom), qMax(top, bottom));
    if (top > bottom) {
        // The larger value at the top: drawn upside down, and the steps of the arrows and of
        // page clicks go the other way, so that the up arrow moves toward the top end.
        bar->setInvertedAppearance(true);
        QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [bar](int action) {
            const int step = action == QAbstractSlider::SliderSingleStepAdd   ? -bar->singleStep()
                             : action == QAbstractSlider::SliderSingleStepSub ? bar->singleStep()
                             : action == QAbstractSlider::SliderPageStepAdd   ? -bar->pageStep()
                             : action == QAbstractSlider::SliderPageStepSub   ? bar->pageStep()
                                                                              : 0;
            if (step != 0)
                bar->setSliderPosition(bar->value() + step);  // the value before the action
        });
    }
    bar->setValue(value);
    bar->setFixedHeight(28);
    return bar;
}

using PlaybackRules::NumberText;

constexpr double MaxDelaySeconds = 10.0;

// A capture name the sheets can be numbered on, as the capture numbers them.
bool numberableName(const QString &name)
{
    int digits = 3;
    return !GetExtName(name).isEmpty() && !AddFileNum(name, 1, digits).isEmpty();
}

} // namespace

frmCutSet::frmCutSet(PlaybackEngine &engine, QWidget *parent)
    : QWidget(parent, Qt::Window), m_engine(engine)
{
    setWindowTitle(QStringLiteral("抓圖參數設定"));
    Text7 = new QLineEdit(this);
    Command9 = new QPushButton(QStringLiteral(".."), this);
    Text9 = new QLineEdit(this);
    Text9->setObjectName(QStringLiteral("Text9"));
    Text1 = numberBox(this, QStringLiteral("2"));
    // The grid is set with its spin bar only: the box always holds 1 to 10.
    Text1->setReadOnly(true);
    VScroll1 = spinBar(this, -1, -10, -2);
    Text2 = numberBox(this, QStringLiteral("2"));
    Text3 = numberBox(this, QStringLiteral("2"));
    Text5 = numberBox(this, QStringLiteral("2"));
    Text6 = numberBox(this, QStringLiteral("2"));
    Check2 = new QCheckBox(QStringLiteral("鎖住長寬比"), this);
    Check2->setChecked(true);
    Check1 = new QCheckBox(QStringLiteral("加入時間標籤"), this);
    Check1->setChecked(true);
    Text4 = numberBox(this, QStringLiteral("11"));
    VScroll2 = spinBar(this, -72, -8, -11);
    Text8 = numberBox(this, DesignDelayText);
    VScroll3 = spinBar(this, -100, 0, -10);
    Label9 = new QLabel(QStringLiteral("(掉格時,請增加延遲時間)"), this);
    Command2 = new QPushButton(QStringLiteral("確定"), this);
    Command3 = new QPushButton(QStringLiteral("取消"), this);
    buildLayout();
    connectHandlers();
}

void frmCutSet::buildLayout()
{
    auto *grid = new QGridLayout(this);
    const auto label = [this](const QString &text) { return new QLabel(text, this); };
    const auto withBar = [](QLineEdit *box, QScrollBar *bar) {
        auto *row = new QHBoxLayout;
        row->addWidget(box);
        row->addWidget(bar);
        row->addStretch();
        return row;
    };
    grid->addWidget(label(QStringLiteral("抓圖目錄")), 0, 0);
    grid->addWidget(Text7, 0, 1, 1, 2);
    grid->addWidget(Command9, 0, 3);
    grid->addWidget(label(QStringLiteral("抓圖檔名")), 1, 0);
    grid->addWidget(Text9, 1, 1, 1, 3);
    grid->addWidget(label(QStringLiteral("圖型方格:")), 2, 0);
    grid->addLayout(withBar(Text1, VScroll1), 2, 1);
    grid->addWidget(Check2, 2, 2, 1, 2);
    grid->addWidget(label(QStringLiteral("畫格寬度:")), 3, 0);
    grid->addWidget(Text2, 3, 1);
    grid->addWidget(label(QStringLiteral("畫格長度:")), 3, 2);
    grid->addWidget(Text3, 3, 3);
    grid->addWidget(label(QStringLiteral("圖形寬度:")), 4, 0);
    grid->addWidget(Text5, 4, 1);
    grid->addWidget(label(QStringLiteral("圖形長度:")), 4, 2);
    grid->addWidget(Text6, 4, 3);
    grid->addWidget(Check1, 5, 0, 1, 2);
    grid->addWidget(label(QStringLiteral("標籤字型大小:")), 5, 2);
    grid->addLayout(withBar(Text4, VScroll2), 5, 3);
    grid->addWidget(label(QStringLiteral("延遲時間:")), 6, 0);
    grid->addLayout(withBar(Text8, VScroll3), 6, 1);
    grid->addWidget(Label9, 6, 2, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    grid->addLayout(buttons, 7, 0, 1, 4);
}

void frmCutSet::connectHandlers()
{
    connect(Command2, &QPushButton::clicked, this, &frmCutSet::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmCutSet::Command3_Click);
    connect(Command9, &QPushButton::clicked, this, &frmCutSet::Command9_Click);
    connect(Text2, &QLineEdit::textChanged, this, &frmCutSet::Text2_Change);
    connect(Text3, &QLineEdit::textChanged, this, &frmCutSet::Text3_Change);
    connect(Text5, &QLineEdit::textChanged, this, &frmCutSet::Text5_Change);
    connect(Text6, &QLineEdit::textChanged, this, &frmCutSet::Text6_Change);
    connect(VScroll1, &QScrollBar::valueChanged, this, &frmCutSet::VScroll1_Change);
    connect(VScroll2, &QScrollBar::valueChanged, this, &frmCutSet::VScroll2_Change);
    connect(VScroll3, &QScrollBar::valueChanged, this, &frmCutSet::VScroll3_Change);
}

void frmCutSet::CloseForm()
{
    hide();
}

void frmCutSet::closeEvent(QCloseEvent *event)
{
    // The window lives on; a close by its frame is a Cancel.
    event->ignore();
    Command3_Click();
}

void frmCutSet::Command2_Click()
{
    PlaybackState &state = m_engine.state();
    const double cellWidth = Vb::Val(Text2->text());
    const double cellHeight = Vb::Val(Text3->text());
    // A cell of no size would show no video and divide the sheet by nothing.
    const double delay = Vb::Val(Text8->text());
    QString refusal;
    if (cellWidth < 1 || cellHeight < 1)
        refusal = QStringLiteral("畫格寬度及長度須大於 0");
    // Every grab waits about twice the delay: the spin bar's range holds.
    else if (delay < 0 || delay > MaxDelaySeconds)
        refusal = QStringLiteral("延遲時間須在 0.0 到 10.0 秒之間");
    // The digits before the extension number the sheets on: a name without one, or whose
    // extension is not "." and three letters, leaves no place for the number, and every sheet
    // after the first would have no name.
    else if (!numberableName(Text9->text()))
        refusal = QStringLiteral("抓圖檔名須有副檔名 (例如 Cut0000.BMP)");
    if (!refusal.isEmpty()) {
        state.MsgAnswer = qint16(m_engine.host().ShowMsg(refusal, QStringLiteral("error")));
        return;
    }
    state.CutFile = Text9->text();
    state.VideoWidth = cellWidth;
    state.VideoHeight = cellHeight;
    m_engine.filePlayback().VCDResize();
    state.CutFolder = Text7->text();
    state.CutGrid = qint16(qBound(1, int(Vb::Val(Text1->text())), 10));
    if (Vb::Val(Text4->text()) < 8)
        Text4->setText(QStringLiteral("12"));
    m_engine.host().SaveSetData();
    CloseForm();
}

void frmCutSet::Command3_Click()
{
    m_engine.state().CutGrid = 0;
    CloseForm();
}

void frmCutSet::Command9_Click()
{
    setEnabled(false);
    SeleDirPath = Text7->text();
    SeleDirPattern = QStringLiteral("*.*");
    ShowSeleDir();
    setEnabled(true);
    if (!SeleDirPath.isEmpty())
        Text7->setText(SeleDirPath);
    show();
}

double frmCutSet::naturalRatio(bool widthChanged) const
{
    const PlaybackState &state = m_engine.state();
    if (state.NaturalWidth <= 0 || state.NaturalHeight <= 0)
        return 0;
    return widthChanged ? state.NaturalHeight / state.NaturalWidth : state.NaturalWidth / state.NaturalHeight;
}

void frmCutSet::sizeChanged(QLineEdit *changed, QLineEdit *other, bool widthChanged, void (frmCutSet::*derive)())
{
    if (!changed->isEnabled())
        return;
    const double value = Vb::Val(changed->text());
    const double ratio = naturalRatio(widthChanged);
    // The other box follows once; its own change does not send the shape back.
    if (Check2->isChecked() && value != 0 && ratio != 0 && !m_keepingShape) {
        m_keepingShape = true;
        other->setText(NumberText(Vb::Int(value * ratio + 0.5)));
        m_keepingShape = false;
    }
    (this->*derive)();
}

void frmCutSet::Text2_Change() { sizeChanged(Text2, Text3, true, &frmCutSet::AccPic); }
void frmCutSet::Text3_Change() { sizeChanged(Text3, Text2, false, &frmCutSet::AccPic); }
void frmCutSet::Text5_Change() { sizeChanged(Text5, Text6, true, &frmCutSet::AccPic1); }
void frmCutSet::Text6_Change() { sizeChanged(Text6, Text5, false, &frmCutSet::AccPic1); }

void frmCutSet::AccPic()
{
    const double grid = Vb::Val(Text1->text());
    Text5->setEnabled(false);
    Text6->setEnabled(false);
    Text5->setText(NumberText(Vb::Val(Text2->text()) * grid));
    Text6->setText(NumberText(Vb::Val(Text3->text()) * grid));
    const bool free = !m_engine.host().pictureAreaShown();
    Text5->setEnabled(free);
    Text6->setEnabled(free);
}

void frmCutSet::AccPic1()
{
    const double grid = Vb::Val(Text1->text());
    if (grid <= 0)
        return;
    Text2->setEnabled(false);
    Text3->setEnabled(false);
    Text2->setText(NumberText(Vb::Int(Vb::Val(Text5->text()) / grid)));
    Text3->setText(NumberText(Vb::Int(Vb::Val(Text6->text()) / grid)));
    const bool free = !m_engine.host().pictureAreaShown();
    Text2->setEnabled(free);
    Text3->setEnabled(free);
}

void frmCutSet::VScroll1_Change()
{
    Text1->setText(QString::number(qAbs(VScroll1->value())));
    AccPic();
}

void frmCutSet::VScroll2_Change()
{
    Text4->setText(QString::number(qAbs(VScroll2->value())));
}

void frmCutSet::VScroll3_Change()
{
    Text8->setText(QString::number(qAbs(VScroll3->value()) / 10.0, 'f', 1));
}
