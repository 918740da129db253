#pragma once

#include <QString>
#include <QStringList>

// The sequential field reader that the player's line files are read with:
// a comma or a line end ends a field, blanks and tabs before a field are
// skipped, a field that begins with a double quote runs to the next double
// quote (the quotes are not part of it), a Ctrl+Z ends the text. Empty fields
// are kept; callers that want lines drop them.
struct FieldReadResult
{
    QStringList fields;
    bool complete = true; // false when a quoted field had no closing quote
};

FieldReadResult ReadFields(const QString &text);

// The text as a line of a file read by this reader can hold it, read back
// whole: a comma becomes "，" and double quotes become "“" and "”" in turn
// (code page 950 has no full-width quote).
QString FieldSafeText(const QString &text);
