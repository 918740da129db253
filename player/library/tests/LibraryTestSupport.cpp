#include "LibraryTestSupport.h"

#include "Cp950.h"
#include "MessageBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString makeFolder(const QString& path)
{
    QDir().mkpath(path);
    return path;
}

QString makeFile(const QString& path, const QString& text, const QDateTime& modified)
{
    makeFolder(QFileInfo(path).path());
    Cp950::writeTextFile(path, text);
    if (modified.isValid()) {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(modified, QFileDevice::FileModificationTime);
    }
    return path;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

ShownMessages::ShownMessages()
{
    MessageBox::setAnswerer([this](const MessageBox::Request& r) {
        prompts << r.prompt;
        return int(MessageBox::IdOk);
    });
}

ShownMessages::~ShownMessages() { MessageBox::setAnswerer({}); }
