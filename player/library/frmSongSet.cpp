#include "frmSongSet.h"

#include "Printers.h"

#include "Cp950.h"
#include "ListBoxes.h"
#include "ModFiles.h"
#include "ModTools.h"
#include "Printers.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

namespace {

// Places a control at its design position, given in twips (15 per pixel).
void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(left / 15, top / 15, width / 15, height / 15);
}

QPushButton* button(QWidget* parent, const QString& caption, int left, int top, int width, int height)
{
    auto* b = new QPushButton(caption, parent);
    place(b, left, top, width, height);
    return b;
}

// The save buttons tell the user when the list could not be written; the file keeps its old list.
void saveOrTell(frmSongSet& window, const QString& path)
{
    // Written, such a name would come back as "?" and name no file: the list is not saved.
    const QStringList lacking = ListRows::PathsLackingInCp950(window.rows());
    if (!lacking.isEmpty()) {
        ShowMsg(QStringLiteral("清單檔存不下這些檔名:") + lacking.join(QStringLiteral(", ")), QStringLiteral("error"));
        return;
    }
    if (!window.SaveListFile(path)) ShowMsg(QStringLiteral("無法儲存清單檔:") + path, QStringLiteral("error"));
}

}  // namespace

frmSongSet::frmSongSet(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmSongSet"));
    setWindowTitle(ModeTitle);
    setFixedSize(8560 / 15, 6560 / 15);
    Timer1 = new QTimer(this);
    buildBrowser();
    buildListButtons();
    connectBrowser();

    chooseOpenFile = [this](const QString& folder, const QString& name) {
        return QFileDialog::getOpenFileName(this, QString(), AddPath(folder, name), DialogFilter);
    };
    chooseSaveFile = [this](const QString& folder, const QString& name) {
        QFileDialog dialog(this, QString(), folder, DialogFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(DefaultExt);
        dialog.selectFile(name);
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().first()
                   : QString();
    };
    hasPrinter = [] { return Printers::Count() > 0; };
    Timer1_Timer();

    Timer1->setInterval(250);
    connect(Timer1, &QTimer::timeout, this, &frmSongSet::Timer1_Timer);
    File1->setPattern(Combo1->currentText());
}

void frmSongSet::buildBrowser()
{
    Drive1 = new DriveListBox(this);
    place(Drive1, 120, 60, 2535, 300);
    Dir1 = new DirListBox(this);
    place(Dir1, 120, 450, 2565, 5550);
    File1 = new FileListBox(this);
    File1->setMultiSelect(true);
    place(File1, 2790, 90, 2535, 5310);
    Label1 = new QLabel(this);
    place(Label1, 2820, 5460, 2535, 285);
    Combo1 = new QComboBox(this);
    Combo1->setEditable(true);
    Combo1->addItem(QStringLiteral("*.MP3"));
    place(Combo1, 2820, 5700, 2475, 300);
}

void frmSongSet::buildListButtons()
{
    ListView1 = new QTreeWidget(this);
    ListView1->setHeaderLabels({QStringLiteral("播放清單"), QStringLiteral("目錄")});
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->installEventFilter(this);
    place(ListView1, 5400, 120, 2685, 3435);
    NoPrinterNote = new QLabel(QStringLiteral("沒有可以列印的印表機"), this);
    NoPrinterNote->setAutoFillBackground(true);
    NoPrinterNote->setAlignment(Qt::AlignCenter);
    NoPrinterNote->hide();
    place(NoPrinterNote, 5400, 3255, 2685, 300);

    Command1 = button(this, QStringLiteral("加入 >"), 5430, 3750, 1395, 435);
    Command2 = button(this, QStringLiteral("< 刪除(Del)"), 6960, 3750, 1395, 435);
    Command8 = button(this, QStringLiteral("全部加入>>"), 5430, 4222, 1395, 435);
    Command7 = button(this, QStringLiteral("<< 全部清除"), 6960, 4222, 1395, 435);
    Command4 = button(this, QStringLiteral("開啟清單檔"), 5430, 4694, 1395, 435);
    Command13 = button(this, QStringLiteral("開啟最後使用檔"), 6960, 4694, 1395, 435);
    Command3 = button(this, QStringLiteral("另存新檔"), 5430, 5166, 1395, 435);
    Command14 = button(this, QStringLiteral("儲存清單檔"), 6960, 5166, 1395, 435);
    Command5 = button(this, QStringLiteral("開始播放"), 5430, 5640, 1395, 435);
    Command6 = button(this, QStringLiteral("放棄"), 6960, 5640, 1395, 435);
    Command9 = button(this, QStringLiteral("上移"), 8085, 120, 315, 850);
    Command10 = button(this, QStringLiteral("最上"), 8085, 980, 315, 850);
    Command11 = button(this, QStringLiteral("下移"), 8085, 1840, 315, 850);
    Command12 = button(this, QStringLiteral("最下"), 8085, 2700, 315, 850);

    connect(Command1, &QPushButton::clicked, this, &frmSongSet::Command1_Click);
    connect(Command8, &QPushButton::clicked, this, &frmSongSet::Command8_Click);
    connect(Command2, &QPushButton::clicked, this, [this] { applyRowCommand(ListRows::RemoveSelected); });
    connect(Command7, &QPushButton::clicked, this, [this] { ListView1->clear(); });
    connect(Command9, &QPushButton::clicked, this, [this] { applyRowCommand(ListRows::MoveUp); });
    connect(Command10, &QPushButton::clicked, this, [this] { applyRowCommand(ListRows::MoveTop); });
    connect(Command11, &QPushButton::clicked, this, [this] { applyRowCommand(ListRows::MoveDown); });
    connect(Command12, &QPushButton::clicked, this, [this] { applyRowCommand(ListRows::MoveBottom); });
    connect(Command4, &QPushButton::clicked, this, &frmSongSet::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &frmSongSet::Command3_Click);
    connect(Command14, &QPushButton::clicked, this, [this] { saveOrTell(*this, CurListFile); });
    connect(Command13, &QPushButton::clicked, this, [this] { ReadListFile(CurListFile); });
    connect(Command5, &QPushButton::clicked, this, &frmSongSet::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmSongSet::Command6_Click);
    // The buttons follow the rows at once, not only at the next timer tick.
    connect(ListView1->model(), &QAbstractItemModel::rowsInserted, this, &frmSongSet::Timer1_Timer);
    connect(ListView1->model(), &QAbstractItemModel::rowsRemoved, this, &frmSongSet::Timer1_Timer);
    connect(ListView1->model(), &QAbstractItemModel::modelReset, this, &frmSongSet::Timer1_Timer);
    connect(ListView1, &QTreeWidget::itemSelectionChanged, this, &frmSongSet::Timer1_Timer);
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this,
            [this] { applyRowCommand(ListRows::RemoveSelected); });
}

frmSongSet::~frmSongSet()
{
    // The list's model is reset while the child widgets are destroyed, after this
    // window's own members are gone: its signals must no longer reach them.
    ListView1->model()->disconnect(this);
    ListView1->disconnect(this);
}

void frmSongSet::connectBrowser()
{
    // An unready drive or a folder that cannot be read leaves the lists as they were.
    connect(Drive1, &DriveListBox::Change, this, [this] { Dir1->setPath(Drive1->drive()); });
    connect(Dir1, &DirListBox::Change, this, &frmSongSet::Dir1_Change);
    connect(Combo1, &QComboBox::currentTextChanged, this, [this](const QString& text) { File1->setPattern(text); });
    connect(File1, &FileListBox::DblClick, this, &frmSongSet::Command1_Click);
    // The count follows a new pattern too, not only a new folder.
    connect(File1, &FileListBox::PatternChange, this, &frmSongSet::showFileCount);
}

void frmSongSet::Dir1_Change()
{
    File1->setPath(Dir1->path());
    showFileCount();
}

void frmSongSet::showFileCount()
{
    Label1->setText(QString::number(File1->listCount()) + QStringLiteral(" Files"));
}

QVector<ListRow> frmSongSet::rows() const
{
    QVector<ListRow> result;
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ListView1->topLevelItem(i);
        result.append({item->text(0), item->text(1), item->isSelected()});
    }
    return result;
}

void frmSongSet::setRows(const QVector<ListRow>& rows)
{
    ListView1->clear();
    for (const ListRow& row : rows) {
        auto* item = new QTreeWidgetItem(ListView1, {row.name, row.folder});
        item->setSelected(row.selected);
    }
}

void frmSongSet::AddRow(const QString& name, const QString& folder)
{
    new QTreeWidgetItem(ListView1, {name, folder});
}

void frmSongSet::applyRowCommand(void (*command)(QVector<ListRow>&))
{
    QVector<ListRow> list = rows();
    command(list);
    setRows(list);
}

void frmSongSet::Command1_Click()
{
    for (int i = 0; i < File1->listCount(); ++i) {
        if (!File1->selected(i)) continue;
        AddRow(File1->list(i), File1->path());
        File1->setSelected(i, false);
    }
}

void frmSongSet::Command8_Click()
{
    for (int i = 0; i < File1->listCount(); ++i) AddRow(File1->list(i), File1->path());
}

void frmSongSet::updateCaption(const QString& path)
{
    setWindowTitle(ModeTitle + QStringLiteral(" - ") + path);
    CurListFile = path;
}

void frmSongSet::ReadListFile(const QString& Path)
{
    const auto list = ReadListRows(Path);
    if (list) ShowListRows(Path, *list);  // a list that cannot be opened changes nothing
}

std::optional<QVector<ListRow>> frmSongSet::ReadListRows(const QString& Path)
{
    bool ok = false;
    const QString text = Cp950::readTextFile(Path, &ok);
    if (!ok) return std::nullopt;
    return ListRows::RowsOfListFile(text);
}

void frmSongSet::ShowListRows(const QString& Path, const QVector<ListRow>& rows)
{
    setRows(rows);
    updateCaption(Path);
}

bool frmSongSet::SaveListFile(const QString& Path)
{
    if (Path.isEmpty() || !Cp950::writeTextFile(Path, ListRows::ListFileText(rows()))) return false;
    updateCaption(Path);
    return true;
}

QString frmSongSet::dialogFileName() const
{
    const QString name = GetFileName(CurListFile);
    return CurListFile.contains(QLatin1Char('.')) ? name.left(qMax(0, name.size() - 4)) : name;
}

void frmSongSet::Command4_Click()
{
    const QString file = chooseOpenFile(GetFilePath(CurListFile), dialogFileName());
    if (!file.isEmpty()) ReadListFile(file);
}

void frmSongSet::Command3_Click()
{
    const QString file = chooseSaveFile(GetFilePath(CurListFile), dialogFileName());
    if (!file.isEmpty()) saveOrTell(*this, file);
}

void frmSongSet::Command5_Click()
{
    const QVector<ListRow> list = rows();
    if (list.isEmpty()) {
        QApplication::beep();
        return;
    }
    PlayArray = ListRows::FullPaths(list);
    ListEntryCount = PlayArray.size();
    if (GetExtName(CurListFile).toUpper() == QLatin1String("M3U"))
        SaveAppSetting(QStringLiteral("ListFile"), CurListFile);
    CloseForm();
}

void frmSongSet::Command6_Click()
{
    ListEntryCount = 0;
    CloseForm();
}

void frmSongSet::CloseForm()
{
    hide();
    emit closed();
}

void frmSongSet::SetPlayListMode(const QString& ListFile, const QString& SongPattern)
{
    Command5->setText(QStringLiteral("開始播放"));
    if (PrintMode()) ListView1->clear();
    CurListFile = ListFile;
    ModeTitle = QStringLiteral("播放清單設定");
    setWindowTitle(ModeTitle);
    DialogFilter = QStringLiteral("List File (*.m3u)");
    DefaultExt = QStringLiteral("m3u");
    if (!Dir1->setPath(GetFilePath(CurListFile))) Dir1_Change();
    Drive1->setDrive(Dir1->path());
    Combo1->clear();
    Combo1->addItem(SongPattern);
    Combo1->setCurrentText(SongPattern);
    File1->setPattern(SongPattern);
}

void frmSongSet::SetPrintMode()
{
    Command5->setText(QStringLiteral("開始列印"));
    ModeTitle = QStringLiteral("歌詞列印");
    setWindowTitle(ModeTitle);
    CurListFile = QStringLiteral("unknow");
    ListView1->clear();
    DefaultExt = QStringLiteral("PRT");
    DialogFilter = QStringLiteral("Print Files (*.PRT)");
    Combo1->clear();
    Combo1->addItems({QStringLiteral("*.txt"), QStringLiteral("*.*")});
    Combo1->setCurrentText(QStringLiteral("*.txt"));
    File1->setPattern(QStringLiteral("*.txt"));
    // Never browsed yet (play-list mode opens at its list file): the folder list starts at the
    // current folder, as a folder list box does, rather than empty.
    if (Dir1->path().isEmpty() && Dir1->setPath(QDir::currentPath())) Drive1->setDrive(Dir1->path());
}

void frmSongSet::ShowAndWait()
{
    show();
    raise();
    QEventLoop loop;
    while (isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
}

void frmSongSet::Timer1_Timer()
{
    const int n = ListView1->topLevelItemCount();
    const bool any = n >= 1;
    const bool printMode = PrintMode();
    const bool hasCurrent = any && (ListView1->currentItem() || !ListView1->selectedItems().isEmpty());
    Command2->setEnabled(any);
    Command3->setEnabled(any);
    const bool cannotPrint = printMode && !(hasPrinter && hasPrinter());
    Command5->setEnabled(cannotPrint ? false : any);
    // A grey "開始列印" says why.
    NoPrinterNote->setVisible(cannotPrint);
    Command5->setToolTip(cannotPrint ? NoPrinterNote->text() : QString());
    Command7->setEnabled(any);
    for (QPushButton* b : {Command9, Command10, Command11, Command12}) b->setEnabled(hasCurrent);
}

bool frmSongSet::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListView1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        applyRowCommand(ListRows::RemoveSelected);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmSongSet::showEvent(QShowEvent* event)
{
    Timer1->start();
    Timer1_Timer();
    QWidget::showEvent(event);
}

void frmSongSet::hideEvent(QHideEvent* event)
{
    Timer1->stop();
    QWidget::hideEvent(event);
}

void frmSongSet::closeEvent(QCloseEvent* event)
{
    // Closing by the frame hands nothing over.
    ListEntryCount = 0;
    CloseForm();
    event->accept();
}
