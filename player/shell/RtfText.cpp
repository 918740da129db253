#include "RtfText.h"

#include "Cp950.h"

#include <QVector>

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Destinations whose text is not part of the document.
bool isSkippedDestination(const QByteArray& word)
{
    static const QVector<QByteArray> skipped{"fonttbl", "colortbl", "stylesheet", "info",   "pict",
                                             "header",  "footer",   "listtable",  "generator", "themedata"};
    return skipped.contains(word);
}

class Reader
{
public:
    explicit Reader(const QByteArray& rtf) : m_in(rtf) {}

    QString run()
    {
        QVector<State> stack{State{}};
        int i = 0;
        while (i < m_in.size()) {
            const char c = m_in[i];
            if (c == '{') {
                flushBytes();
                stack.append(stack.last());
                stack.last().fresh = true;
                ++i;
            } else if (c == '}') {
                flushBytes();
                if (stack.size() > 1) stack.removeLast();
                ++i;
            } else if (c == '\\') {
                i = control(i + 1, stack.last());
            } else if (c == '\r' || c == '\n') {
                ++i;
            } else {
                if (!stack.last().skip) m_bytes.append(c);
                stack.last().fresh = false;
                ++i;
            }
        }
        flushBytes();
        return m_out;
    }

private:
    struct State
    {
        bool skip = false;
        bool fresh = false;   // nothing read yet in this group
        int ucSkip = 1;       // bytes to drop after a \u escape
    };

    int control(int i, State& state)
    {
        if (i >= m_in.size()) return i;
        const char c = m_in[i];
        if (c == '\'') {
            const int hi = i + 1 < m_in.size() ? hexValue(m_in[i + 1]) : -1;
            const int lo = i + 2 < m_in.size() ? hexValue(m_in[i + 2]) : -1;
            if (hi >= 0 && lo >= 0 && !state.skip) m_bytes.append(static_cast<char>(hi * 16 + lo));
            state.fresh = false;
            return i + 3;
        }
        if (c == '*') {
            if (state.fresh) state.skip = true;
            return i + 1;
        }
        if (!isLetter(c)) {  // a control symbol: \\ \{ \} \~ ...
            if (!state.skip) {
                if (c == '\\' || c == '{' || c == '}') m_bytes.append(c);
                else if (c == '~') m_bytes.append(' ');
                else if (c == '\n' || c == '\r') newline();
            }
            return i + 1;
        }
        int j = i;
        while (j < m_in.size() && isLetter(m_in[j])) ++j;
        const QByteArray word = m_in.mid(i, j - i);
        int k = j;
        if (k < m_in.size() && (m_in[k] == '-' || isDigit(m_in[k]))) {
            ++k;
            while (k < m_in.size() && isDigit(m_in[k])) ++k;
        }
        const QByteArray param = m_in.mid(j, k - j);
        if (k < m_in.size() && m_in[k] == ' ') ++k;  // the delimiting blank belongs to the word

        if (state.fresh && isSkippedDestination(word)) state.skip = true;
        state.fresh = false;
        if (state.skip) return k;
        if (word == "par" || word == "line") newline();
        else if (word == "tab") m_bytes.append('\t');
        else if (word == "uc") state.ucSkip = param.toInt();
        else if (word == "u") {
            flushBytes();
            int code = param.toInt();
            if (code < 0) code += 65536;
            m_out.append(QChar(code));
            for (int n = 0; n < state.ucSkip && k < m_in.size(); ++n) {
                // The fallback is one character or one \'hh escape.
                if (m_in[k] == '\\' && k + 1 < m_in.size() && m_in[k + 1] == '\'') k += 4;
                else ++k;
            }
        }
        return k;
    }

    void newline()
    {
        flushBytes();
        m_out.append(QLatin1Char('\n'));
    }

    void flushBytes()
    {
        if (m_bytes.isEmpty()) return;
        m_out.append(Cp950::decode(m_bytes));
        m_bytes.clear();
    }

    QByteArray m_in;
    QByteArray m_bytes;
    QString m_out;
};

}  // namespace

QString RtfToPlainText(const QByteArray& rtf)
{
    if (!rtf.startsWith("{\\rtf")) return Cp950::decode(rtf);  // not rich text: show it as it is
    return Reader(rtf).run().trimmed();
}
