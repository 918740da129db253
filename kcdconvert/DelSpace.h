#pragma once

#include <QString>

// Makes a title or album name fit for a file name and for display: path
// separators become "_", "?", ":" and "." become their full-width forms, a
// blank survives only after a letter, digit or kept blank, full-width blanks
// are dropped, the text is cut at the third blank in a row and trimmed.
QString DelSpace(const QString& Text);
