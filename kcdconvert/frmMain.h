#pragma once

#include "EventPump.h"
#include "KcdConverter.h"

#include <QWidget>
#include <functional>

class DriveListBox;
class DirListBox;
class FileListBox;
class QLabel;
class QListWidget;
class QPushButton;

// The converter's one window: pick a folder of KCD files, look at the songs of
// a file and the timed lines of a song, and convert one file or the folder
// from the selected file on into the song lyric library.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    explicit frmMain(const QString& programFolder, QWidget* parent = nullptr);

    KcdConverter& converter() { return m_converter; }

    // Opens a file in the user's text editor; tests replace it.
    using EditorLauncher = std::function<bool(const QString& path)>;
    void setEditorLauncher(EditorLauncher launcher) { m_openInEditor = std::move(launcher); }

    // Controls, named as the form names them.
    DriveListBox* Drive1;
    DirListBox* Dir1;
    FileListBox* File1;
    QLabel* Label1;
    QLabel* Label2;
    QListWidget* List1;
    QListWidget* List2;
    QListWidget* List3;
    QListWidget* List4;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;

    void Form_Load();
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void List1_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void CloseForm();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectControls();
    void connectConverter();
    QString selectedKcdPath() const;
    void showSongs();
    void showLines();
    void setConversionEnabled(bool enabled);
    void setRunning(bool running, bool batch);
    static void SaveData();

    QString m_programFolder;
    KcdConverter m_converter;
    ThrottledEventPump m_eventPump;
    EditorLauncher m_openInEditor;
    bool m_closeWhenIdle = false;
};
