#include "frmDobbrin.h"

#include "Clock.h"
#include "Cp950.h"
#include "ListBoxes.h"
#include "LyricList.h"
#include "LyricPaths.h"
#include "LyricStamp.h"
#include "MciWnd.h"
#include "MediaTypes.h"
#include "ModFiles.h"
#include "ModSongList.h"
#include "ModTools.h"
#include "frmSongList.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

namespace {

const QString LyricFilter = QStringLiteral("文字檔(*.txt)|*.txt");
const QString ImportFilter = QStringLiteral("文字檔(*.txt)|*.txt|全部檔案(*.*)|*.*");
const QString ToEditMode = QStringLiteral("To 編輯模式");
const QString ToPlayMode = QStringLiteral("To 撥歌模式");
constexpr int ClockInterval = 250;
constexpr int HalfSecond = 50;  // hundredths

// The design size of the window; every re-layout scales from it.
constexpr int DesignWidth = 720;
constexpr int DesignHeight = 520;

void processEvents() { QCoreApplication::processEvents(); }

// Text that stays readable on the chosen background.
QColor textColorOn(const QColor &background)
{
    return background.lightness() > 128 ? QColor(Qt::black) : QColor(Qt::white);
}

} // namespace

frmDobbrin::frmDobbrin(const QString &programFolder, DobbrinDialogs dialogs, QWidget *parent)
    : QWidget(parent), m_dialogs(std::move(dialogs)), m_programFolder(programFolder), m_editor(nullptr)
{
    SetAppProduct(QStringLiteral("Dobbrin V1.0 Beta"));
    setWindowTitle(programTitle());
    resize(DesignWidth, DesignHeight);
    createControls();
    m_editor = LyricEditor(SongList);
    connectControls();
    Form_Load(programFolder);
}

frmDobbrin::~frmDobbrin()
{
    Timer1->stop();
    delete m_songListWindow;
}

QString frmDobbrin::programTitle() { return QStringLiteral("Dobbrin 歌詞時間編輯"); }

// ---- controls ----

void frmDobbrin::createControls()
{
    Drive1 = new DriveListBox(this);
    Drive1->setGeometry(8, 8, 222, 26);
    labVolume = new QLabel(QStringLiteral("光碟序號"), this);
    labVolume->setGeometry(8, 38, 222, 20);
    Dir1 = new DirListBox(this);
    Dir1->setGeometry(8, 60, 222, 150);
    File1 = new FileListBox(this);
    File1->setGeometry(8, 60, 222, 150);
    File1->hide();
    List1 = new QListWidget(this);
    List1->setGeometry(8, 216, 222, 118);
    Label2 = new QLabel(QStringLiteral("撥放清單"), this);
    Label2->setGeometry(8, 338, 222, 20);
    List2 = new QListWidget(this);
    List2->setGeometry(8, 360, 222, 128);
    List3 = new QListWidget(this);
    List3->hide();

    Label1.resize(4);
    Label1[0] = new QLabel(QStringLiteral("目前時間"), this);
    Label1[0]->setGeometry(240, 8, 110, 24);
    Label1[2] = new QLabel(QStringLiteral("曲目長度"), this);
    Label1[2]->setGeometry(360, 8, 110, 24);
    Slider1 = new QSlider(Qt::Horizontal, this);
    Slider1->setGeometry(240, 36, 472, 22);
    Slider1->setMaximum(SliderMax);
    createTransport();

    MCIWnd1 = new MciWnd(this);
    MCIWnd1->setGeometry(240, 100, 160, 96);
    Picture1 = new QLabel(this);
    Picture1->setAlignment(Qt::AlignCenter);
    Picture1->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(48, 48));
    createEditButtons();

    Label1[1] = new QLabel(QStringLiteral("歌詞"), this);
    Label1[1]->setGeometry(240, 204, 472, 64);
    Label1[3] = new QLabel(QStringLiteral("歌詞1"), this);
    Label1[3]->setGeometry(240, 272, 472, 48);
    for (int i : {1, 3}) {
        QFont font = Label1[i]->font();
        font.setPointSize(i == 1 ? 20 : 14);
        font.setBold(i == 1);
        Label1[i]->setFont(font);
    }
    SongList = new QListWidget(this);
    SongList->setGeometry(240, 204, 472, 236);
    SongList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Text1 = new QLineEdit(this);
    Text1->setGeometry(240, 444, 472, 26);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setGeometry(0, 494, DesignWidth, 26);
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel1 = new QLabel(StatusBar1);
    StatusBar1->addWidget(StatusPanel1, 1);

    Timer1 = new ClockTimer(this);
    Timer1->setInterval(ClockInterval);
    m_songListWindow = new frmSongList();
}

void frmDobbrin::createTransport()
{
    auto makeButton = [this](QStyle::StandardPixmap icon, const QString &tip, int x) {
        auto *button = new QToolButton(this);
        button->setIcon(style()->standardIcon(icon));
        button->setToolTip(tip);
        button->setAccessibleName(tip);
        button->setGeometry(x, 64, 36, 28);
        return button;
    };
    Command8 = {makeButton(QStyle::SP_MediaPlay, QStringLiteral("撥放"), 240),
                makeButton(QStyle::SP_MediaPause, QStringLiteral("暫停"), 278)};
    Command12 = makeButton(QStyle::SP_MediaSkipBackward, QStringLiteral("上一首"), 316);
    Command11 = makeButton(QStyle::SP_MediaSkipForward, QStringLiteral("下一首"), 354);
    Command13 = makeButton(QStyle::SP_DriveCDIcon, QStringLiteral("光碟托盤"), 392);
    Command10 = new QPushButton(QStringLiteral("撥歌模式"), this);
    Command10->setGeometry(440, 64, 120, 28);
    Command3 = new QPushButton(QStringLiteral("歌詞"), this);
    Command3->setGeometry(566, 64, 70, 28);
    Command1 = new QPushButton(QStringLiteral("說明"), this);
    Command1->setGeometry(642, 64, 70, 28);
}

void frmDobbrin::createEditButtons()
{
    // Three columns of buttons beside the media window.
    int slot = 0;
    auto place = [this, &slot](const QString &caption) {
        auto *button = new QPushButton(caption, this);
        button->setGeometry(410 + (slot % 3) * 102, 100 + (slot / 3) * 20, 98, 19);
        ++slot;
        return button;
    };
    Command5 = place(QStringLiteral("記錄時間"));
    Command9.resize(5);
    Command9[3] = place(QStringLiteral("減0.5秒"));
    Command9[4] = place(QStringLiteral("加0.5秒"));
    Command9[0] = place(QStringLiteral("插入前"));
    Command9[1] = place(QStringLiteral("刪除"));
    Command9[2] = place(QStringLiteral("插入後"));
    Command7 = place(QStringLiteral("重複歌詞"));
    Command4 = place(QStringLiteral("匯入歌詞"));
    Command6 = place(QStringLiteral("歌詞存檔"));
    Command14 = {place(QStringLiteral("歌詞顏色")), place(QStringLiteral("歌詞1顏色")), place(QStringLiteral("背景顏色"))};
    Command2 = place(QStringLiteral("結束"));
}

void frmDobbrin::connectControls()
{
    connect(Command10, &QPushButton::clicked, this, &frmDobbrin::Command10_Click);
    connect(Command5, &QPushButton::clicked, this, &frmDobbrin::Command5_Click);
    for (int i = 0; i < Command9.size(); ++i)
        connect(Command9[i], &QPushButton::clicked, this, [this, i] { Command9_Click(i); });
    connect(Command7, &QPushButton::clicked, this, &frmDobbrin::Command7_Click);
    connect(Command4, &QPushButton::clicked, this, &frmDobbrin::Command4_Click);
    connect(Command6, &QPushButton::clicked, this, &frmDobbrin::Command6_Click);
    for (int i = 0; i < Command14.size(); ++i)
        connect(Command14[i], &QPushButton::clicked, this, [this, i] { Command14_Click(i); });
    for (int i = 0; i < Command8.size(); ++i)
        connect(Command8[i], &QToolButton::clicked, this, [this, i] { Command8_Click(i); });
    // An entry the user asks for is tried, whatever failed before.
    connect(Command11, &QToolButton::clicked, this, [this] {
        m_firstFailedEntry = -1;
        NextSong();
    });
    connect(Command12, &QToolButton::clicked, this, [this] {
        m_firstFailedEntry = -1;
        PreviousSong();
    });
    connect(Command13, &QToolButton::clicked, this, &frmDobbrin::Command13_Click);
    connect(Command3, &QPushButton::clicked, this, &frmDobbrin::Command3_Click);
    connect(Command1, &QPushButton::clicked, this, &frmDobbrin::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmDobbrin::CloseForm);
    connect(SongList, &QListWidget::currentRowChanged, this, &frmDobbrin::SongList_Click);
    // A click on the line that is already current copies it again: a stamp moved since shows.
    connect(SongList, &QListWidget::itemClicked, this, &frmDobbrin::SongList_Click);
    // A stamp or a half-second shift changes the current line in place: the
    // edit box follows, so a later Enter does not put the old text back.
    connect(SongList->model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) {
                const int row = SongList->currentRow();
                if (row >= from.row() && row <= to.row())
                    SongList_Click();
            });
    connect(Text1, &QLineEdit::returnPressed, this, &frmDobbrin::Text1_Enter);
    connect(Drive1, &DriveListBox::Change, this, &frmDobbrin::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &frmDobbrin::Dir1_Change);
    connect(List1, &QListWidget::itemChanged, this, &frmDobbrin::ChkPatten);
    connect(List2, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        List2->setCurrentItem(item);
        List2_Click();
    });
    // An entry chosen with the keys starts as a clicked one does. A click is
    // left to itemClicked, and the list's own moves (next, previous, a new
    // folder) set PlayIndex first and start their entry themselves.
    connect(List2, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != PlayIndex && QApplication::mouseButtons() == Qt::NoButton)
            List2_Click();
    });
    connect(Timer1, &ClockTimer::timeout, this, &frmDobbrin::Timer1_Timer);
    connect(MCIWnd1, &MciWnd::PositionChange, this, &frmDobbrin::MCIWnd1_PositionChange);
    Slider1->installEventFilter(this);
}

// ---- loading and shut-down ----

void frmDobbrin::Form_Load(const QString &programFolder)
{
    applyColors(DobbrinColors::load(colors()));
    Picture1->setGeometry(MCIWnd1->geometry());
    Label1[1]->resize(SongList->width(), Label1[1]->height());
    FollowOff = true;
    Command10_Click();
    m_media.stopAndClose();

    const QSignalBlocker blockTicks(List1);
    for (const QString &name : MediaTypes::TypeNames()) {
        auto *item = new QListWidgetItem(name, List1);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    List1->setCurrentRow(-1);
    ChkPatten();

    const QString driveBefore = Drive1->drive();
    Drive1->setDrive(programFolder);
    // A list that already stood on the drive sent no change: its kind is shown all the same.
    if (Drive1->drive() == driveBefore && !driveBefore.isEmpty())
        showDriveKind(driveBefore);
    if (Dir1->path() != programFolder)
        Dir1->setPath(programFolder);
    m_reSizer.InitReSize(this);
}

void frmDobbrin::CloseForm()
{
    if (m_closed)
        return;
    m_closed = true;
    Timer1->stop();
    m_media.stopAndClose();
    colors().save();
    m_songListWindow->close();
    close();
}

void frmDobbrin::closeEvent(QCloseEvent *event)
{
    CloseForm();
    event->accept();
}

// ---- colours ----

DobbrinColors frmDobbrin::colors() const
{
    if (!m_background.isValid())
        return DobbrinColors::design();
    return {m_background, Label1[1]->palette().color(QPalette::WindowText),
            Label1[3]->palette().color(QPalette::WindowText)};
}

void frmDobbrin::applyColors(const DobbrinColors &colors)
{
    m_background = colors.background;
    const QColor text = textColorOn(colors.background);
    QPalette window = palette();
    window.setColor(QPalette::Window, colors.background);
    window.setColor(QPalette::WindowText, text);
    setPalette(window);
    setAutoFillBackground(true);
    for (QWidget *list : {static_cast<QWidget *>(Dir1), static_cast<QWidget *>(List1),
                          static_cast<QWidget *>(List2), static_cast<QWidget *>(SongList)}) {
        QPalette p = list->palette();
        p.setColor(QPalette::Base, colors.background);
        p.setColor(QPalette::Text, text);
        list->setPalette(p);
    }
    for (int i : {1, 3}) {
        QPalette p = Label1[i]->palette();
        p.setColor(QPalette::WindowText, i == 1 ? colors.currentLine : colors.nextLine);
        Label1[i]->setPalette(p);
    }
}

void frmDobbrin::Command14_Click(int Index)
{
    DobbrinColors now = colors();
    QColor &target = Index == 2 ? now.background : (Index == 0 ? now.currentLine : now.nextLine);
    const std::optional<QColor> chosen = m_dialogs.chooseColor(this, target);
    if (!chosen)
        return;
    target = *chosen;
    applyColors(now);
}

// ---- modes and editing ----

void frmDobbrin::Command10_Click()
{
    if (Command10->text() != ToEditMode) {
        Command10->setText(ToEditMode);
        SongList->hide();
        Text1->hide();
        Label1[1]->show();
        FollowOff = false;
    } else {
        Command10->setText(ToPlayMode);
        SongList->show();
        Text1->show();
        Label1[1]->hide();
        FollowOff = true;
    }
    enableEditButtons();
}

bool frmDobbrin::inEditMode() const { return Command10->text() == ToPlayMode; }

void frmDobbrin::enableEditButtons()
{
    for (QWidget *button : {static_cast<QWidget *>(Command4), static_cast<QWidget *>(Command5),
                            static_cast<QWidget *>(Command7), static_cast<QWidget *>(Command9[0]),
                            static_cast<QWidget *>(Command9[1]), static_cast<QWidget *>(Command9[2])})
        button->setEnabled(FollowOff);
}

void frmDobbrin::Command5_Click() { m_editor.stampCurrent(PlayTimeText); }

void frmDobbrin::Command9_Click(int Index)
{
    switch (Index) {
    case 0: m_editor.insertBefore(); break;
    case 1: m_editor.deleteSelected(); break;
    case 2: m_editor.insertAfter(); break;
    case 3: m_editor.shiftCurrent(-HalfSecond); break;
    case 4: m_editor.shiftCurrent(HalfSecond); break;
    default: break;
    }
}

void frmDobbrin::Command7_Click() { m_editor.repeatSelected(); }

void frmDobbrin::SongList_Click() { Text1->setText(m_editor.currentText()); }

void frmDobbrin::Text1_Enter() { m_editor.replaceCurrent(Text1->text()); }

void frmDobbrin::Command4_Click()
{
    const QString file = m_dialogs.openFile(this, ImportDir, m_dialogFileName, ImportFilter);
    if (file.isEmpty())
        return;
    m_dialogFileName = GetFileName(file);
    ImportDir = GetFilePath(file);
    SongList->clear();
    if (!FileExist(file))
        return;
    if (GetExtName(file) == QStringLiteral("txt")) {
        findLyric(SongList, file);  // finds the file itself and makes it the lyric file
    } else {
        // The lookup would turn the name into "<name>.txt" and miss the chosen
        // file; it is loaded as it is, the medium's lyric file kept.
        ListWidgetLyricList lines(SongList);
        ReadLyric(lines, file);
    }
}

void frmDobbrin::Command6_Click()
{
    // Said before anything is written: the file would hold "?" in their place.
    const QStringList lines = LyricStamp::savedLines(m_editor.lines());
    const QString lacking = LyricStamp::charactersLackingInCp950(lines);
    if (!lacking.isEmpty()) {
        ShowMsg(QStringLiteral("歌詞檔存不下這些字元，請先修改歌詞再存檔：") + lacking, QStringLiteral("exc"));
        return;
    }
    m_dialogFileName = GetFileName(LyricFile);
    const QString file = m_dialogs.saveFile(this, GetFilePath(LyricFile), m_dialogFileName, LyricFilter);
    if (file.isEmpty())
        return;
    m_dialogFileName = GetFileName(file);
    processEvents();
    // The disc's lyric folder, offered for a medium without a lyric file, is made at its first save.
    if (LyricPaths::samePath(GetFilePath(file), DiscLyricDir) && !LyricPaths::dirExists(DiscLyricDir))
        LyricPaths::makeDir(DiscLyricDir);
    // Written beside the old file and put in its place in one step, so a
    // failed save leaves the old lyric file whole.
    if (!Cp950::writeTextFile(file, Cp950::joinCrLf(lines)))
        ShowMsg(QStringLiteral("歌詞存檔失敗:") + file, QStringLiteral("error"));
    processEvents();
}
