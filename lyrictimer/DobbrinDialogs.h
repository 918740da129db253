#pragma once

#include <QColor>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

// The common dialogs of the lyric timer's window: open, save and colour. An
// empty answer means the user cancelled. Tests install answers of their own.
struct DobbrinDialogs {
    // (parent, initial folder, initial file name, filter in "name|pattern|..." form)
    using FileChooser = std::function<QString(QWidget *, const QString &, const QString &, const QString &)>;
    using ColorChooser = std::function<std::optional<QColor>(QWidget *, const QColor &)>;

    FileChooser openFile;
    FileChooser saveFile;
    ColorChooser chooseColor;

    // The real dialogs.
    static DobbrinDialogs standard();
};

// "文字檔(*.txt)|*.txt|全部檔案(*.*)|*.*" as a Qt file-dialog filter.
QString qtFilter(const QString &commonDialogFilter);
