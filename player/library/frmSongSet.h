#pragma once
// The play-list editor: browse drives, folders and files, collect files into the list, order
// it, save it to or load it from a list file, and hand it over. Play-list mode works on .m3u
// files and its hand-over starts playback; print mode works on .PRT files and prints lyrics.

#include "ListRows.h"

#include <QWidget>
#include <functional>
#include <optional>

class DirListBox;
class DriveListBox;
class FileListBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;

class frmSongSet : public QWidget
{
    Q_OBJECT
public:
    explicit frmSongSet(QWidget* parent = nullptr);
    ~frmSongSet() override;

    // Loads a list file (one full path per line, comma-delimited input fields) into the list,
    // replacing its rows. A file that cannot be opened leaves rows and CurListFile as they were.
    void ReadListFile(const QString& Path);
    // The rows of a list file, read apart from the editor; nullopt when it cannot be opened.
    static std::optional<QVector<ListRow>> ReadListRows(const QString& Path);
    // Shows rows read from the list file Path, as ReadListFile does.
    void ShowListRows(const QString& Path, const QVector<ListRow>& rows);
    // Writes the rows, one full path per line, replacing the file safely. A failed write
    // changes neither the file nor CurListFile. True on success.
    bool SaveListFile(const QString& Path);

    // Hides the editor; the main window is enabled again by whoever listens to closed().
    void CloseForm();

    // Sets the editor up for playing lists: .m3u files, "開始播放"; the rows are kept unless
    // the editor was last in print mode. ListFile is the setting "ListFile".
    void SetPlayListMode(const QString& ListFile, const QString& SongPattern);
    // Sets the editor up for printing lyrics: .PRT files, "開始列印", no rows, list "unknow".
    void SetPrintMode();
    // Shows the editor and waits, letting events run, until it is hidden.
    void ShowAndWait();

    // The list file the editor works on.
    QString CurListFile;
    // The mode title: "播放清單設定" or "歌詞列印".
    QString ModeTitle = QStringLiteral("播放清單設定");
    // The mode: the file dialog's default extension, "m3u" or "PRT", and its filter.
    QString DefaultExt = QStringLiteral("m3u");
    QString DialogFilter = QStringLiteral("List File (*.m3u)");
    // True when set up for printing lyrics (the mode is told by the default extension).
    bool PrintMode() const { return DefaultExt != QLatin1String("m3u"); }

    // Entries of the last hand-over (0 after "放棄") and the full paths handed over.
    int ListEntryCount = 0;
    QStringList PlayArray;

    // The open and save dialogs; "" is Cancel. Tests replace them.
    std::function<QString(const QString& folder, const QString& name)> chooseOpenFile;
    std::function<QString(const QString& folder, const QString& name)> chooseSaveFile;
    // Whether a printer is installed; tests replace it.
    std::function<bool()> hasPrinter;

    QVector<ListRow> rows() const;
    void setRows(const QVector<ListRow>& rows);
    // Appends one row (used by the context menu's "加入清單中").
    void AddRow(const QString& name, const QString& folder);

    DriveListBox* Drive1 = nullptr;
    DirListBox* Dir1 = nullptr;
    FileListBox* File1 = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPushButton* Command1 = nullptr;   // "加入 >"
    QPushButton* Command2 = nullptr;   // "< 刪除(Del)"
    QPushButton* Command3 = nullptr;   // "另存新檔"
    QPushButton* Command4 = nullptr;   // "開啟清單檔"
    QPushButton* Command5 = nullptr;   // "開始播放" / "開始列印"
    QLabel* NoPrinterNote = nullptr;   // shown in print mode when nothing can print
    QPushButton* Command6 = nullptr;   // "放棄"
    QPushButton* Command7 = nullptr;   // "<< 全部清除"
    QPushButton* Command8 = nullptr;   // "全部加入>>"
    QPushButton* Command9 = nullptr;   // "上移"
    QPushButton* Command10 = nullptr;  // "最上"
    QPushButton* Command11 = nullptr;  // "下移"
    QPushButton* Command12 = nullptr;  // "最下"
    QPushButton* Command13 = nullptr;  // "開啟最後使用檔"
    QPushButton* Command14 = nullptr;  // "儲存清單檔"
    QTimer* Timer1 = nullptr;

    // Enables the buttons for the rows there are (run every 250 ms while shown).
    void Timer1_Timer();

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void buildBrowser();
    void buildListButtons();
    void connectBrowser();
    void updateCaption(const QString& path);
    void applyRowCommand(void (*command)(QVector<ListRow>&));
    QString dialogFileName() const;

    void Command1_Click();
    void Command8_Click();
    void Command4_Click();
    void Command3_Click();
    void Command5_Click();
    void Command6_Click();
    void Dir1_Change();
    void showFileCount();
};
