#include "LyricPrintRun.h"

#include "LyricPrinter.h"
#include "ModTools.h"
#include "Printers.h"
#include "frmSongSet.h"

#include <QPrinter>

#include <memory>

LyricPrintRun::LyricPrintRun(frmSongSet& editor) : editor_(editor)
{
    showAndWait = [](frmSongSet& e) { e.ShowAndWait(); };
    choosePdfFile = [this] { return Printers::AskForPdfFile(&editor_); };
}

int LyricPrintRun::mSongText_Click()
{
    if (centre) centre(editor_);
    editor_.SetPrintMode();
    showAndWait(editor_);
    pages_ = 0;
    unreadable_.clear();
    // The player runs on while the list is chosen: the editor may have been taken over for a
    // play list meanwhile, and what it handed over then is to be played, not printed.
    if (editor_.ListEntryCount <= 0 || !editor_.PrintMode()) return 0;

    std::unique_ptr<QPrinter> printer;
    QPagedPaintDevice* target = device;
    if (!target) {
        printer = Printers::ForOnePrint(choosePdfFile);
        if (!printer) return 0;  // no file named to print to: cancelled
        printer->setCopyCount(1);
        target = printer.get();
    }
    LyricPrinter lyricPrinter(*target);
    const LyricPrinter::Result result = lyricPrinter.Print(editor_.PlayArray);
    pages_ = result.pages;
    unreadable_ = result.unreadable;
    for (const QString& file : unreadable_) WriteLog(QStringLiteral("歌詞檔無法開啟-") + file);
    if (result.printerFailed)
        ShowMsg(QStringLiteral("印表機無法列印,沒有列印任何資料 !!"), QStringLiteral("error"));
    else if (result.printed == 0)
        ShowMsg(QStringLiteral("歌詞檔都無法開啟,沒有列印任何資料 !!"), QStringLiteral("error"));
    else
        ShowMsg(QStringLiteral("列印完畢 !!"), QStringLiteral("ok"));
    return editor_.ListEntryCount;
}
