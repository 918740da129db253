#pragma once
// Single entries of INI files: of a named file, or of the file the global IniFile names.

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
