#pragma once
// The context menu's "歌詞列印": the play-list editor, set up for print lists, lets the user
// pick lyric files; they are then printed on the default printer.

#include <QString>
#include <QStringList>
#include <functional>

class frmSongSet;
class QPagedPaintDevice;

class LyricPrintRun
{
public:
    explicit LyricPrintRun(frmSongSet& editor);

    // Places the editor (the shell's FrmCenter); tests leave it out.
    std::function<void(frmSongSet&)> centre;
    // Shows the editor and waits until it is hidden; tests choose the rows here.
    std::function<void(frmSongSet&)> showAndWait;
    // Where the lyrics go: the default printer unless a test gives a device (a PDF writer).
    QPagedPaintDevice* device = nullptr;
    // Without a system printer: the PDF file to print to ("" cancels); tests answer here.
    std::function<QString()> choosePdfFile;

    // The whole run. Returns the number of files handed over (0 when cancelled); the editor's
    // PlayArray then holds their paths.
    int mSongText_Click();

    int pagesPrinted() const { return pages_; }
    QStringList unreadable() const { return unreadable_; }

private:
    frmSongSet& editor_;
    int pages_ = 0;
    QStringList unreadable_;
};
