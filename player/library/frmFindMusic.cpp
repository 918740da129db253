#include "frmFindMusic.h"

#include "Cp950.h"
#include "ModFiles.h"
#include "ModIniFile.h"
#include "SongBookFiles.h"
#include "SongBookSearch.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

namespace {

QTreeWidget* reportList(QWidget* parent, const QStringList& columns)
{
    auto* list = new QTreeWidget(parent);
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->header()->setSectionsClickable(true);
    list->header()->setSortIndicatorShown(true);
    return list;
}

}  // namespace

frmFindMusic::frmFindMusic(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmFindMusic"));
    setWindowTitle(QStringLiteral("歌本管理"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("歌曲查詢:"), this), 0, 0);
    Text1 = new QLineEdit(this);
    grid->addWidget(Text1, 0, 1);
    Command1 = new QPushButton(QStringLiteral("開始搜尋"), this);
    Command1->setToolTip(QStringLiteral("歌名"));
    Command3 = new QPushButton(QStringLiteral("開始搜尋"), this);
    Command3->setToolTip(QStringLiteral("專集"));
    grid->addWidget(Command1, 0, 2);
    grid->addWidget(Command3, 0, 3);

    ListView1 = reportList(this, {QStringLiteral("歌名"), QStringLiteral("所在目錄"), QStringLiteral("光碟標籤")});
    grid->addWidget(ListView1, 1, 0, 1, 4);
    ListView2 = reportList(this, {QStringLiteral("序號"), QStringLiteral("光碟標籤"), QStringLiteral("光碟序號"),
                                  QStringLiteral("製作日期")});
    grid->addWidget(ListView2, 2, 0, 1, 4);

    auto* options = new QHBoxLayout;
    Check1 = new QCheckBox(QStringLiteral("自動編號"), this);
    Check1->setChecked(true);
    Check2 = new QCheckBox(QStringLiteral("加入原光碟標籤"), this);
    Check2->setChecked(true);
    Text2 = new QLineEdit(QStringLiteral("MP3_"), this);
    options->addWidget(Check1);
    options->addWidget(new QLabel(QStringLiteral("冊號:"), this));
    options->addWidget(Text2);
    options->addWidget(Check2);
    grid->addLayout(options, 3, 0, 1, 4);

    auto* buttons = new QHBoxLayout;
    const QString captions[3] = {QStringLiteral("匯出歌本"), QStringLiteral("匯入歌本"), QStringLiteral("放棄")};
    for (int i = 0; i < 3; ++i) {
        Command2[i] = new QPushButton(captions[i], this);
        connect(Command2[i], &QPushButton::clicked, this, &frmFindMusic::CloseForm);
        buttons->addWidget(Command2[i]);
    }
    grid->addLayout(buttons, 4, 0, 1, 4);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    grid->addWidget(StatusBar1, 5, 0, 1, 4);

    connect(Command1, &QPushButton::clicked, this, &frmFindMusic::FindSong);
    connect(Command3, &QPushButton::clicked, this, &frmFindMusic::FindAlbum);
    connect(Text1, &QLineEdit::returnPressed, this, &frmFindMusic::FindSong);
    for (QTreeWidget* list : {ListView1, ListView2})
        connect(list->header(), &QHeaderView::sectionClicked, this,
                [this, list](int column) { ListView_ColumnClick(list, column); });
}

void frmFindMusic::SetLibraryFiles(const QString& cdromLibFile, const QString& musicLibFile)
{
    cdromLibFile_ = cdromLibFile;
    musicLibFile_ = musicLibFile;
}

void frmFindMusic::SetSongBookTitle(const QString& title)
{
    setWindowTitle(QStringLiteral("歌本管理 - ") + title);
}

void frmFindMusic::ReadDiscList(const QString& cdromLibFile)
{
    // Both library files lie in the song folder: the music library is the one beside it.
    musicLibFile_ = AddPath(GetFilePath(cdromLibFile), QStringLiteral("MusicLib.TXT"));
    cdromLibFile_ = cdromLibFile;
    IniFile = cdromLibFile;
    ListView2->clear();
    // Read in one pass, and never further than the entries the file holds.
    const QStringList entries = CdromLibrary(cdromLibFile).discEntries();
    for (int i = 1; i <= entries.size(); ++i) {
        const QString& entry = entries.at(i - 1);
        const int first = entry.indexOf(QLatin1Char(','));
        if (first < 0) continue;
        const QString serial = entry.left(first);
        const QString rest = entry.mid(first + 1);
        const int second = rest.indexOf(QLatin1Char(','));
        const QString label = second < 0 ? rest : rest.left(second);
        const QString date = second < 0 ? QString() : rest.mid(second + 1);
        auto* row = new QTreeWidgetItem(ListView2);
        row->setText(0, QString::number(i));
        row->setText(1, label);
        row->setText(2, serial);
        row->setText(3, date);
    }
}

void frmFindMusic::readCounts()
{
    DiscCount = CdromLibrary(cdromLibFile_).discCount();
    MusicCount = MusicLibrary::readCount(musicLibFile_);
}

void frmFindMusic::showRows(const SongBookSearchResult& result, const QString& countText)
{
    ListView1->clear();
    for (const SongBookRow& row : result.rows) new QTreeWidgetItem(ListView1, {row.text, row.second, row.third});
    MusicCount = result.count;
    StatusBar1->showMessage(QString::number(result.count) + countText);
}

void frmFindMusic::FindSong()
{
    readCounts();
    // A missing music library reads as an empty one.
    const QString text = Cp950::readTextFile(musicLibFile_);
    showRows(FindSongIn(text, Text1->text()), QStringLiteral("首歌搜尋完成!"));
}

void frmFindMusic::FindAlbum()
{
    readCounts();
    const QString text = Cp950::readTextFile(musicLibFile_);
    showRows(FindAlbumIn(text, Text1->text()), QStringLiteral("個專集搜尋完成!"));
}

void frmFindMusic::ListView_ColumnClick(QTreeWidget* list, int column)
{
    // Each list keeps its own order; the first click sorts ascending.
    const bool descending = list->property("sortAscending").toBool();
    list->setProperty("sortAscending", !descending);
    list->sortItems(column, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void frmFindMusic::CloseForm()
{
    hide();
    emit closed();
}

void frmFindMusic::closeEvent(QCloseEvent* event)
{
    CloseForm();
    emit unloaded();
    event->accept();
}
