#include "VbRuntime.h"

#include <QTimer>

#include <cmath>
#include <limits>

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n'; }

QString withoutBlanks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!isBlank(c)) out += c;
    return out;
}

// "&H1F", "&O17": the digits of the base after the prefix, read up to the first other character.
double radixValue(const QString& digits, int base) {
    double value = 0;
    for (QChar c : digits) {
        int d = c.isDigit() ? c.digitValue()
                            : (c.toUpper() >= u'A' && c.toUpper() <= u'F' ? c.toUpper().unicode() - 'A' + 10 : 99);
        if (d >= base) break;
        value = value * base + d;
    }
    return value;
}

// A number mask: literal text around one run of "0", "#", "." and ",".
struct NumberMask {
    QString prefix;
    QString suffix;
    bool hasPlaceholders = false;
    bool hasPoint = false;
    bool grouped = false;
    int minIntDigits = 0;      // "0"s before the point
    int decimals = 0;          // placeholders after the point
    int requiredDecimals = 0;  // up to the last "0" after the point

    static NumberMask parse(const QString& mask) {
        auto isPlaceholder = [](QChar c) { return c == u'0' || c == u'#' || c == u'.' || c == u','; };
        int first = 0;
        while (first < mask.size() && !isPlaceholder(mask[first])) ++first;
        int last = first;
        while (last < mask.size() && isPlaceholder(mask[last])) ++last;
        NumberMask m;
        m.prefix = mask.left(first);
        m.suffix = mask.mid(last);
        const QString run = mask.mid(first, last - first);
        m.hasPlaceholders = !run.isEmpty();
        const int point = static_cast<int>(run.indexOf(u'.'));
        m.hasPoint = point >= 0;
        const QString intMask = m.hasPoint ? run.left(point) : run;
        const QString fracMask = m.hasPoint ? run.mid(point + 1).remove(u',') : QString();
        m.grouped = intMask.contains(u',');
        m.minIntDigits = static_cast<int>(intMask.count(u'0'));
        m.decimals = static_cast<int>(fracMask.size());
        m.requiredDecimals = static_cast<int>(fracMask.lastIndexOf(u'0') + 1);
        return m;
    }
};

}  // namespace

namespace Vb {

double Val(const QString& text) {
    const QString s = withoutBlanks(text);
    if (s.startsWith(QStringLiteral("&H"), Qt::CaseInsensitive)) return radixValue(s.mid(2), 16);
    if (s.startsWith(QStringLiteral("&O"), Qt::CaseInsensitive)) return radixValue(s.mid(2), 8);

    int i = 0;
    QString number;
    if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) number += s[i++];
    bool digits = false;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') { number += s[i++]; digits = true; }
    if (i < s.size() && s[i] == u'.') {
        number += s[i++];
        while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') { number += s[i++]; digits = true; }
    }
    if (!digits) return 0;
    if (i < s.size() && (s[i].toUpper() == u'E' || s[i].toUpper() == u'D')) {
        int j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < s.size() && (s[j] == u'-' || s[j] == u'+')) exponent += s[j++];
        bool expDigits = false;
        while (j < s.size() && s[j] >= u'0' && s[j] <= u'9') { exponent += s[j++]; expDigits = true; }
        if (expDigits) number += exponent;
    }
    bool ok = false;
    double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

double RoundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    return std::nearbyint(value);  // the default rounding mode rounds halves to even
}

double Int(double value) { return std::floor(value); }

double Fix(double value) { return std::trunc(value); }

int64_t Mod(double dividend, double divisor) {
    double a = RoundHalfEven(dividend);
    double b = RoundHalfEven(divisor);
    if (b == 0 || !std::isfinite(a) || !std::isfinite(b)) return 0;
    return static_cast<int64_t>(std::fmod(a, b));
}

bool fitsInt16(double value) {
    double r = RoundHalfEven(value);
    return std::isfinite(r) && r >= Int16Min && r <= Int16Max;
}

std::optional<int16_t> toInt16(double value) {
    if (!fitsInt16(value)) return std::nullopt;
    return static_cast<int16_t>(RoundHalfEven(value));
}

std::optional<int32_t> toInt32(double value) {
    double r = RoundHalfEven(value);
    if (!std::isfinite(r) || r < std::numeric_limits<int32_t>::min() ||
        r > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(r);
}

int16_t toInt16Or(double value, int16_t fallback) { return toInt16(value).value_or(fallback); }

QString Format(double value, const QString& mask) {
    const NumberMask m = NumberMask::parse(mask);
    if (!m.hasPlaceholders) return mask;
    if (!std::isfinite(value)) value = 0;

    // Format rounds halves away from zero.
    const double scale = std::pow(10.0, m.decimals);
    const double rounded = std::round(std::fabs(value) * scale) / scale;
    const QString digits = QString::number(rounded, 'f', m.decimals);
    QString intPart = digits.section(u'.', 0, 0);
    QString fracPart = m.decimals > 0 ? digits.section(u'.', 1, 1) : QString();
    while (fracPart.size() > m.requiredDecimals && fracPart.endsWith(u'0')) fracPart.chop(1);

    if (intPart == QStringLiteral("0") && m.minIntDigits == 0) intPart.clear();
    intPart = intPart.rightJustified(m.minIntDigits, u'0');
    if (m.grouped)
        for (int pos = static_cast<int>(intPart.size()) - 3; pos > 0; pos -= 3) intPart.insert(pos, u',');
    QString body = intPart;
    if (m.hasPoint) body += u'.' + fracPart;  // the point stays even without decimals, as in "1."
    const bool negative = value < 0 && rounded != 0;
    return m.prefix + (negative ? QStringLiteral("-") : QString()) + body + m.suffix;
}

QString FormatTime(const QTime& time, const QString& mask) {
    QString out;
    int i = 0;
    auto twoOrOne = [&](QChar letter, int value) {
        if (i + 1 < mask.size() && mask[i + 1].toLower() == letter) {
            out += QString::number(value).rightJustified(2, u'0');
            i += 2;
        } else {
            out += QString::number(value);
            i += 1;
        }
    };
    while (i < mask.size()) {
        QChar c = mask[i].toLower();
        if (c == u'h') twoOrOne(u'h', time.hour());
        else if (c == u'n') twoOrOne(u'n', time.minute());
        else if (c == u'm') twoOrOne(u'm', time.minute());
        else if (c == u's') twoOrOne(u's', time.second());
        else out += mask[i++];
    }
    return out;
}

QString CStr(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double:
    case QMetaType::Float: {
        double d = value.toDouble();
        if (d == 0) return QStringLiteral("0");
        return QString::number(d, 'g', 15).toUpper();
    }
    default:
        return value.toString();
    }
}

bool CBool(const QString& text) {
    QString t = text.trimmed();
    if (t.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0) return false;
    return Val(t) != 0;
}

QString Hex(uint32_t value) { return QString::number(value, 16).toUpper(); }

void setTimer(QTimer& timer, int intervalMs, bool enabled) {
    if (intervalMs <= 0 || !enabled) {
        timer.stop();
        if (intervalMs > 0) timer.setInterval(intervalMs);
        return;
    }
    timer.start(intervalMs);
}

}  // namespace Vb
