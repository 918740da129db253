#pragma once

#include <QString>

// Reads a text field by field, the way the programs read their line-based
// text files: a field ends at a comma or at the end of a line, blanks before
// a field are skipped, and a field that opens with a double quote runs to the
// next double quote (the quotes are not part of the field). An empty line is
// an empty field.
class SequentialFieldReader
{
public:
    explicit SequentialFieldReader(const QString& text);

    // Reads the next field into `field`. Returns false at the end of the text
    // or when the text is damaged (see failed()); `field` is then left as is.
    bool next(QString& field);

    // True once a quoted field was found without its closing quote: the rest of
    // the text cannot be read as fields.
    bool failed() const { return m_failed; }

private:
    void skipBlanks();
    void skipLineEnd();
    bool readQuoted(QString& field);
    void readPlain(QString& field);

    const QString& m_text;
    qsizetype m_pos = 0;
    bool m_failed = false;
};
