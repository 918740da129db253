#include "EditorDialogs.h"

#include <QFileDialog>
#include <QFontDialog>
#include <QStringList>

namespace EditorDialogs {

namespace {
std::function<QString(const FileRequest &)> &fileAnswerer()
{
    static std::function<QString(const FileRequest &)> answerer;
    return answerer;
}
std::function<std::optional<QFont>(const QFont &)> &fontAnswerer()
{
    static std::function<std::optional<QFont>(const QFont &)> answerer;
    return answerer;
}
}  // namespace

QString nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        // The file dialog matches case-sensitively here, while panels are spelt
        // freely ("Quorvel.JPG"): each pattern also in upper and capitalised case.
        QStringList patterns;
        for (const QString &pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString stem = pattern.section(QLatin1Char('.'), 0, -2);
            const QString extension = pattern.section(QLatin1Char('.'), -1).toLower();
            const QString capitalised = extension.left(1).toUpper() + extension.mid(1);
            for (const QString &variant : {extension, extension.toUpper(), capitalised}) {
                const QString full = stem.isEmpty() ? pattern : stem + QLatin1Char('.') + variant;
                if (!patterns.contains(full))
                    patterns << full;
            }
        }
        filters << parts[i] + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

QString askFile(QWidget *parent, const FileRequest &request)
{
    if (fileAnswerer())
        return fileAnswerer()(request);
    QFileDialog dialog(parent);
    dialog.setNameFilter(nameFilters(request.filter));
    dialog.setAcceptMode(request.mode == FileRequest::Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.mode == FileRequest::Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDirectory(request.startFolder);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (request.mode == FileRequest::Save)
        dialog.setDefaultSuffix(QStringLiteral("ini"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

std::optional<QFont> askFont(QWidget *parent, const QFont &start)
{
    if (fontAnswerer())
        return fontAnswerer()(start);
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, start, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

void setFileAnswerer(std::function<QString(const FileRequest &)> answerer)
{
    fileAnswerer() = std::move(answerer);
}

void setFontAnswerer(std::function<std::optional<QFont>(const QFont &)> answerer)
{
    fontAnswerer() = std::move(answerer);
}

}  // namespace EditorDialogs
