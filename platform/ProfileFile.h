#pragma once
// INI profile files with the semantics of the Windows profile calls: sections and keys are
// found without regard to case, values are trimmed and may be quoted, the file and the
// section are created on write. Files are code page 950 (UTF-8 when they start with a
// byte-order mark, kept so on write) with CR LF line ends; the whole file is decoded before
// it is parsed, so a double-byte character whose second byte is "]" or "\" is safe.

#include <QString>
#include <QStringList>
#include <optional>

class ProfileDocument {
public:
    // An empty document; load() reads a file into it.
    ProfileDocument() = default;

    // False when the file is missing or unreadable (the document is then empty).
    bool load(const QString& path);
    // Writes safely (temporary file, then rename); false on failure. Every line is ended by CR LF.
    bool save(const QString& path) const;

    // The value of the first matching key in the first matching section: trimmed, one pair of
    // enclosing quotes removed. No value when the section or key is missing.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // The value as it stands in the file, only trimmed (quotes kept).
    std::optional<QString> rawValue(const QString& section, const QString& key) const;
    // Sets the key, adding the section at the end and the key at the end of its section as
    // needed. Line breaks in the value would start a new entry; they become blanks.
    void setValue(const QString& section, const QString& key, const QString& value);
    // Sets the key so that value() gives text back whole: quoted when its blanks or a pair
    // of enclosing quotes would otherwise be lost on reading.
    void setText(const QString& section, const QString& key, const QString& text);
    // setValue for each pair in order, in one pass over the section however many there are.
    void setValues(const QString& section, const QList<std::pair<QString, QString>>& values);
    // setText for each pair in order, in one pass over the section.
    void setTexts(const QString& section, const QList<std::pair<QString, QString>>& texts);
    void removeKey(const QString& section, const QString& key);
    void removeSection(const QString& section);

    QStringList sections() const;
    QStringList keys(const QString& section) const;
    // Each key of the section with its value (as value() gives it), in file order, in one pass.
    QList<std::pair<QString, QString>> entries(const QString& section) const;

    bool isUtf8() const { return utf8_; }

private:
    struct Found { int sectionLine = -1; int sectionEnd = -1; int keyLine = -1; };
    Found find(const QString& section, const QString& key) const;

    QStringList lines_;
    bool utf8_ = false;
};

namespace ProfileFile {

// A file name without a folder names a file in the Windows folder, as with the Windows
// profile calls; other paths are used as they stand.
QString resolve(const QString& path);

// GetPrivateProfileString: the value cut to bufferSize - 1 bytes of code page 950 on whole
// characters; defaultValue when the file, section or key is missing.
QString getString(const QString& path, const QString& section, const QString& key,
                  const QString& defaultValue = QString(), int bufferSize = 1024);

// WritePrivateProfileString: true on success. The folder must exist. The value reads back
// whole, leading blanks included (see setText).
bool writeString(const QString& path, const QString& section, const QString& key,
                 const QString& value);

bool deleteKey(const QString& path, const QString& section, const QString& key);
bool deleteSection(const QString& path, const QString& section);

QStringList sections(const QString& path);
QStringList keys(const QString& path, const QString& section);

}  // namespace ProfileFile
