#include "ModIniFile.h"

#include "ProfileFile.h"
#include "VbRuntime.h"

QString IniFile;

namespace {
// The buffer the entry is read into: values longer than 1023 bytes are cut.
constexpr int IniBufferSize = 1024;

QString rightTrimBlanks(QString text) {
    while (!text.isEmpty() && text.back() == u' ') text.chop(1);
    return text;
}
}  // namespace

QString GetIniString(const QString& FileName, const QString& Section, const QString& Key) {
    const QString value = ProfileFile::getString(FileName, Section, Key, QString(), IniBufferSize);
    if (value.isEmpty()) return QString();
    return rightTrimBlanks(CutNull(value));
}

int32_t WriteIniString(const QString& FileName, const QString& Section, const QString& Key,
                       const QString& Value) {
    return ProfileFile::writeString(FileName, Section, Key, Value) ? 1 : 0;
}

QString CutNull(const QString& Text) {
    const qsizetype nul = Text.indexOf(QChar(u'\0'));
    return nul < 0 ? Text : Text.left(nul);
}

QString ReadIni(const QVariant& Section, const QVariant& Key) {
    return GetIniString(IniFile, Vb::CStr(Section), Vb::CStr(Key));
}

void WriteIni(const QVariant& Section, const QVariant& Key, const QVariant& Value) {
    WriteIniString(IniFile, Vb::CStr(Section), Vb::CStr(Key), Vb::CStr(Value));
}
