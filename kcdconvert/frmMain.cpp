#include "frmMain.h"

#include "ListBoxes.h"
#include "MessageBox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kKcdPattern = QStringLiteral("*.KCD");
const QString kStartFolderName = QStringLiteral("歌詞");

void fillList(QListWidget* list, const QStringList& entries)
{
    const QSignalBlocker quiet(list);
    list->clear();
    list->addItems(entries);
}

} // namespace

frmMain::frmMain(const QString& programFolder, QWidget* parent)
    : QWidget(parent)
    , m_programFolder(programFolder)
    , m_converter(programFolder)
    , m_openInEditor([](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); })
{
    setWindowTitle(QStringLiteral("KCD轉單曲歌詞 "));
    buildControls();
    connectControls();
    connectConverter();
    m_converter.setLetEventsRun([this] { m_eventPump(); });
    Form_Load();
}

void frmMain::buildControls()
{
    Drive1 = new DriveListBox(this);
    Dir1 = new DirListBox(this);
    File1 = new FileListBox(this);
    Label2 = new QLabel(QStringLiteral("0個檔"), this);
    Label1 = new QLabel(QStringLiteral("專集名稱"), this);
    List1 = new QListWidget(this);
    List2 = new QListWidget(this);
    List3 = new QListWidget(this);
    List3->hide(); // the title-field index of each song, kept beside List1
    List4 = new QListWidget(this);
    Command1 = new QPushButton(QStringLiteral("開始轉換"), this);
    Command2 = new QPushButton(QStringLiteral("目錄內全部轉換"), this);
    Command3 = new QPushButton(QStringLiteral("停止轉換"), this);
    Command4 = new QPushButton(QStringLiteral("結束"), this);
    Command5 = new QPushButton(QStringLiteral("編輯原始檔"), this);

    auto* files = new QVBoxLayout;
    files->addWidget(Drive1);
    files->addWidget(Dir1, 2);
    files->addWidget(File1, 3);
    files->addWidget(Label2);
    auto* songs = new QVBoxLayout;
    songs->addWidget(Label1);
    songs->addWidget(List1, 3);
    songs->addWidget(List4, 1);
    auto* lists = new QHBoxLayout;
    lists->addLayout(files, 2);
    lists->addLayout(songs, 2);
    lists->addWidget(List2, 3);
    lists->addWidget(List3);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {Command1, Command2, Command3, Command5, Command4})
        buttons->addWidget(button);
    auto* form = new QVBoxLayout(this);
    form->addLayout(lists, 1);
    form->addLayout(buttons);
    resize(900, 560);
}

void frmMain::connectControls()
{
    connect(Drive1, &DriveListBox::Change, this, &frmMain::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &frmMain::Dir1_Change);
    connect(File1, &FileListBox::Click, this, &frmMain::File1_Click);
    connect(List1, &QListWidget::currentRowChanged, this, &frmMain::List1_Click);
    connect(Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmMain::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmMain::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmMain::Command5_Click);
}

void frmMain::connectConverter()
{
    connect(&m_converter, &KcdConverter::songsListed, this, &frmMain::showSongs);
    connect(&m_converter, &KcdConverter::linesListed, this, &frmMain::showLines);
    connect(&m_converter, &KcdConverter::songSelected, this, [this](int i) {
        const QSignalBlocker quiet(List1);
        List1->setCurrentRow(i);
    });
    connect(&m_converter, &KcdConverter::fileSelected, this, [this](int i) {
        const QSignalBlocker quiet(File1);
        File1->setListIndex(i);
    });
    connect(&m_converter, &KcdConverter::failureAdded, List4, [this](const QString& line) { List4->addItem(line); });
    connect(&m_converter, &KcdConverter::failuresCleared, List4, &QListWidget::clear);
    connect(&m_converter, &KcdConverter::runStarted, this, [this](bool batch) { setRunning(true, batch); });
    connect(&m_converter, &KcdConverter::runFinished, this, [this](bool batch) { setRunning(false, batch); });
    connect(&m_converter, &KcdConverter::logUnwritable, this, [this](const QString& message) {
        MessageBox::show({message, QStringLiteral("Error Message"), MessageBox::Icon::Critical}, this);
    });
}

void frmMain::showSongs()
{
    fillList(List1, m_converter.state().List1);
    fillList(List3, m_converter.state().List3);
    Label1->setText(m_converter.state().Label1);
}

void frmMain::showLines()
{
    fillList(List2, m_converter.state().List2);
}

void frmMain::Form_Load()
{
    File1->setPattern(kKcdPattern);
    const QString songFolder = m_programFolder + u'/' + kStartFolderName;
    const QString start = QFileInfo(songFolder).isDir() ? songFolder : m_programFolder;
    Drive1->setDrive(start);
    const QString before = Dir1->path();
    Dir1->setPath(start);
    // Dir1 signals only a change of folder; the file list is filled in any case.
    if (Dir1->path() == before)
        Dir1_Change();
}

void frmMain::Drive1_Change()
{
    // A drive that is not ready leaves the folder list as it was.
    Dir1->setPath(Drive1->drive());
}

void frmMain::Dir1_Change()
{
    File1->setPath(Dir1->path());
    const int files = File1->listCount();
    // A single KCD file is as convertible as several.
    setConversionEnabled(files > 0);
    Label2->setText(QString::number(files) + QStringLiteral("個檔"));
    if (files > 0)
        File1->setListIndex(0);
}

QString frmMain::selectedKcdPath() const
{
    const int index = File1->listIndex() >= 0 ? File1->listIndex() : 0;
    return File1->path() + u'/' + File1->list(index);
}

void frmMain::File1_Click()
{
    if (m_converter.isRunning() || File1->listCount() == 0)
        return;
    m_converter.setKcdPath(selectedKcdPath());
    m_converter.ReadSongFile();
}

void frmMain::List1_Click()
{
    if (!m_converter.isRunning())
        m_converter.SelectSong(List1->currentRow());
}

void frmMain::Command1_Click()
{
    if (!m_converter.isRunning())
        m_converter.ConvertFile();
}

void frmMain::Command2_Click()
{
    if (m_converter.isRunning() || File1->listCount() == 0)
        return;
    QStringList names;
    for (int i = 0; i < File1->listCount(); ++i)
        names.append(File1->list(i));
    m_converter.RunBatch(File1->path(), names, File1->listIndex());
}

void frmMain::Command3_Click()
{
    m_converter.Stop();
}

void frmMain::Command4_Click()
{
    CloseForm();
}

void frmMain::Command5_Click()
{
    if (File1->listCount() == 0)
        return;
    const QString path = selectedKcdPath();
    m_converter.setKcdPath(path);
    if (!m_openInEditor(path)) {
        MessageBox::show({QStringLiteral("無法開啟編輯程式：") + path, QStringLiteral("Error Message"),
                          MessageBox::Icon::Critical},
                         this);
    }
}

void frmMain::SaveData()
{
    // The converter keeps no settings.
}

void frmMain::CloseForm()
{
    SaveData();
    close();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // A run in progress ends at its next song; the window closes when it has.
    if (m_converter.isRunning()) {
        m_closeWhenIdle = true;
        m_converter.Abort();
        event->ignore();
        return;
    }
    event->accept();
}

void frmMain::setConversionEnabled(bool enabled)
{
    Command1->setEnabled(enabled);
    Command2->setEnabled(enabled);
}

void frmMain::setRunning(bool running, bool batch)
{
    // Choosing another file or song in the middle of a run would pull the
    // current file from under it.
    for (QWidget* control : {static_cast<QWidget*>(Drive1), static_cast<QWidget*>(Dir1),
                             static_cast<QWidget*>(File1), static_cast<QWidget*>(List1)})
        control->setEnabled(!running);
    setConversionEnabled(!running && File1->listCount() > 0);
    if (batch)
        List2->setVisible(!running);
    if (!running && m_closeWhenIdle)
        close();
}
