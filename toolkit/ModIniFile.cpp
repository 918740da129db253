#include "ModIniFile.h"

#include "Cp950.h"
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

// The entry, already cut to the buffer, as the caller gets it: before a NUL, without blanks
// at the end.
QString entryText(const QString& cutValue) {
    if (cutValue.isEmpty()) return QString();
    return rightTrimBlanks(CutNull(cutValue));
}
}  // namespace

QString GetIniString(const QString& FileName, const QString& Section, const QString& Key) {
    return entryText(ProfileFile::getString(FileName, Section, Key, QString(), IniBufferSize));
}

IniEntries::IniEntries(const QString& FileName) {
    ProfileDocument document;
    if (!document.load(ProfileFile::resolve(FileName))) return;
    for (const QString& section : document.sections()) {
        const QString folded = section.toCaseFolded();
        if (m_sections.contains(folded)) continue;
        QHash<QString, QString>& keys = m_sections[folded];
        for (const auto& [key, value] : document.entries(section))
            if (!keys.contains(key.toCaseFolded())) keys.insert(key.toCaseFolded(), value);
    }
}

QString IniEntries::read(const QString& Section, const QString& Key) const {
    const auto section = m_sections.constFind(Section.toCaseFolded());
    if (section == m_sections.constEnd()) return QString();
    const auto value = section->constFind(Key.toCaseFolded());
    if (value == section->constEnd()) return QString();
    // No character takes more than two bytes: a short value needs no cut.
    const bool fits = value->size() * 2 < IniBufferSize;
    return entryText(fits ? *value : Cp950::cutToBytes(*value, IniBufferSize - 1));
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
