#pragma once
// The play-list editor: the part the player needs from its start on (the last list loaded
// into the editor's list, the list file in use, the hand-over buttons).

#include <QWidget>

class QPushButton;
class QTreeWidget;

class frmSongSet : public QWidget
{
    Q_OBJECT
public:
    explicit frmSongSet(QWidget* parent = nullptr);

    // Loads a list file (one full path per line, comma-delimited input fields) into the list,
    // replacing its rows. A file that cannot be opened leaves rows and CurListFile as they were.
    void ReadListFile(const QString& Path);

    // Hides the editor; the main window is enabled again by whoever listens to closed().
    void CloseForm();

    // The list file the editor works on.
    QString CurListFile;
    // The mode title: "播放清單設定" or "歌詞列印".
    QString ModeTitle = QStringLiteral("播放清單設定");
    // The mode: the file dialog's default extension, "m3u" or "PRT".
    QString DefaultExt = QStringLiteral("m3u");

    QTreeWidget* ListView1 = nullptr;
    QPushButton* Command5 = nullptr;   // "開始播放"
    QPushButton* Command6 = nullptr;   // "放棄"
    QPushButton* Command13 = nullptr;  // "開啟最後使用檔"

    // Entries of the last hand-over (0 after "放棄") and the full paths handed over.
    int ListEntryCount = 0;
    QStringList HandedOver;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Command5_Click();
    void Command6_Click();
};
