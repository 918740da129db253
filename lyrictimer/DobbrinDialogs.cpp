#include "DobbrinDialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>

QString qtFilter(const QString &commonDialogFilter)
{
    // "name|pattern|name|pattern": each name already shows its pattern.
    const QStringList parts = commonDialogFilter.split(u'|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts.at(i);
        if (!name.contains(u'('))
            name += QStringLiteral(" (") + parts.at(i + 1) + u')';
        filters << name;
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

QString startPath(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    return name.isEmpty() ? folder : QDir(folder).filePath(name);
}

} // namespace

DobbrinDialogs DobbrinDialogs::standard()
{
    DobbrinDialogs dialogs;
    dialogs.openFile = [](QWidget *parent, const QString &folder, const QString &name, const QString &filter) {
        return QFileDialog::getOpenFileName(parent, QString(), startPath(folder, name), qtFilter(filter));
    };
    dialogs.saveFile = [](QWidget *parent, const QString &folder, const QString &name, const QString &filter) {
        return QFileDialog::getSaveFileName(parent, QString(), startPath(folder, name), qtFilter(filter));
    };
    dialogs.chooseColor = [](QWidget *parent, const QColor &start) -> std::optional<QColor> {
        const QColor chosen = QColorDialog::getColor(start, parent);
        if (!chosen.isValid())
            return std::nullopt;
        return chosen;
    };
    return dialogs;
}
