#pragma once
// The file and font dialogs of the editor, with a hook that answers them in
// tests. A cancelled dialog gives an empty name (or no font): the command
// that asked then ends without a message and changes nothing.

#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace EditorDialogs {

struct FileRequest
{
    enum Mode { Open, Save };
    Mode mode = Open;
    QString startFolder;
    QString fileName;
    QString filter;  // "text|pattern|text|pattern", as the commands spell it
};

QString askFile(QWidget *parent, const FileRequest &request);
std::optional<QFont> askFont(QWidget *parent, const QFont &start);

// Qt's name filters for a "text|pattern|..." filter.
QString nameFilters(const QString &filter);

void setFileAnswerer(std::function<QString(const FileRequest &)> answerer);
void setFontAnswerer(std::function<std::optional<QFont>(const QFont &)> answerer);

}  // namespace EditorDialogs
