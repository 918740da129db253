#include "SequentialFieldReader.h"

namespace {
bool isLineEnd(QChar c) { return c == u'\r' || c == u'\n'; }
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
constexpr QChar kEndOfFileMark = QChar(0x1A);
}

SequentialFieldReader::SequentialFieldReader(const QString& text)
    : m_text(text)
{
}

bool SequentialFieldReader::next(QString& field)
{
    if (m_failed)
        return false;
    skipBlanks();
    if (m_pos >= m_text.size() || m_text.at(m_pos) == kEndOfFileMark)
        return false;
    if (m_text.at(m_pos) == u'"')
        return readQuoted(field);
    readPlain(field);
    return true;
}

void SequentialFieldReader::skipBlanks()
{
    while (m_pos < m_text.size() && isBlank(m_text.at(m_pos)))
        ++m_pos;
}

// Consumes one line end: CR LF, a lone CR or a lone LF.
void SequentialFieldReader::skipLineEnd()
{
    if (m_pos < m_text.size() && m_text.at(m_pos) == u'\r')
        ++m_pos;
    if (m_pos < m_text.size() && m_text.at(m_pos) == u'\n')
        ++m_pos;
}

void SequentialFieldReader::readPlain(QString& field)
{
    const qsizetype start = m_pos;
    while (m_pos < m_text.size()) {
        const QChar c = m_text.at(m_pos);
        if (c == u',' || isLineEnd(c) || c == kEndOfFileMark)
            break;
        ++m_pos;
    }
    field = m_text.mid(start, m_pos - start);
    if (m_pos < m_text.size() && m_text.at(m_pos) == u',')
        ++m_pos;
    else
        skipLineEnd();
}

bool SequentialFieldReader::readQuoted(QString& field)
{
    const qsizetype start = m_pos + 1;
    const qsizetype close = m_text.indexOf(u'"', start);
    if (close < 0) {
        m_failed = true;
        m_pos = m_text.size();
        return false;
    }
    field = m_text.mid(start, close - start);
    // Whatever follows the closing quote up to the field's end is not part of it.
    m_pos = close + 1;
    while (m_pos < m_text.size() && m_text.at(m_pos) != u',' && !isLineEnd(m_text.at(m_pos)))
        ++m_pos;
    if (m_pos < m_text.size() && m_text.at(m_pos) == u',')
        ++m_pos;
    else
        skipLineEnd();
    return true;
}
