#pragma once
// Single entries of INI files: of a named file, or of the file the global IniFile names.

#include <QHash>
#include <QString>
#include <QVariant>
#include <cstdint>

// The INI file ReadIni and WriteIni work on. Every caller assigns it right before use;
// nobody may rely on what an earlier caller left in it.
extern QString IniFile;

// The entry's value ("" when entry, section or file is missing): at most 1023 bytes,
// cut before a NUL, blanks at the end removed.
QString GetIniString(const QString& FileName, const QString& Section, const QString& Key);
// Writes the entry, creating file and section; non-zero on success.
int32_t WriteIniString(const QString& FileName, const QString& Section, const QString& Key,
                       const QString& Value);
// The part of Text before its first NUL.
QString CutNull(const QString& Text);

// GetIniString / WriteIniString on IniFile; arguments taken as text (Vb::CStr).
QString ReadIni(const QVariant& Section, const QVariant& Key);
void WriteIni(const QVariant& Section, const QVariant& Key, const QVariant& Value);

// The entries of one INI file, decoded and indexed once: GetIniString's answer for each
// entry without reading and scanning the file again per entry (a panel definition has
// some 400). Sections and keys are found without regard to case; the first of a repeated
// section or key counts, as with GetIniString. A missing file answers "" throughout.
class IniEntries {
public:
    explicit IniEntries(const QString& FileName);
    QString read(const QString& Section, const QString& Key) const;

private:
    QHash<QString, QHash<QString, QString>> m_sections;  // case-folded names
};
