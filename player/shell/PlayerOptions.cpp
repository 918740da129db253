#include "PlayerOptions.h"

#include <cmath>

namespace OptionGroups {

const OptionGroup& ScanType()
{
    static const OptionGroup g{{"ScanType1", "ScanType2", "ScanType3"}, 2};
    return g;
}
const OptionGroup& StopMode()
{
    static const OptionGroup g{{"StopMode1", "StopMode2", "StopMode3"}, 0};
    return g;
}
const OptionGroup& ShowMode()
{
    static const OptionGroup g{{"ShowMode0", "ShowMode1"}, 0};
    return g;
}
const OptionGroup& History()
{
    static const OptionGroup g{{"History0", "History1", "History2"}, 0};
    return g;
}

}  // namespace OptionGroups

namespace OptionRules {

namespace {

// A whole number written in decimal, nothing else around it but blanks.
bool parseWhole(const QString& text, int* value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok) *value = v;
    return ok;
}

bool parseNumber(const QString& text, double* value)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (ok && std::isfinite(v)) {
        *value = v;
        return true;
    }
    return false;
}

QString boolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

}  // namespace

const QVector<FileTypeEntry>& BuiltInFileTypes()
{
    static const QVector<FileTypeEntry> list{
        {"Audio CD (*.cda)", true}, {"VCD (*.dat)", true},       {"AVI (*.avi)", true},
        {"Quick Time (*.mov)", false}, {"MP3 (*.mp3)", true},    {"MIDI (*.mid)", true},
        {"Audio (*.wav)", false},   {"MPEG (*.mpg)", false},
    };
    return list;
}

bool parseButton(const QString& text, bool* ok)
{
    const QString t = text.trimmed();
    *ok = true;
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    *ok = false;
    return false;
}

int readGroup(const OptionStore& store, const OptionGroup& group)
{
    int chosen = group.designIndex;
    for (int i = 0; i < group.keys.size(); ++i) {
        const bool designValue = (i == group.designIndex);
        bool ok = false;
        const bool value = parseButton(store.get(group.keys[i], boolText(designValue)), &ok);
        if (!ok) continue;  // a value the button cannot take leaves it as it is
        if (value)
            chosen = i;
        else if (chosen == i)
            chosen = -1;
    }
    return chosen;
}

void writeGroup(const OptionStore& store, const OptionGroup& group, int chosen)
{
    for (int i = 0; i < group.keys.size(); ++i) store.set(group.keys[i], boolText(i == chosen));
}

int readCheck(const OptionStore& store, const QString& key, int fallback)
{
    int v = 0;
    if (parseWhole(store.get(key, QString::number(fallback)), &v) && v >= 0 && v <= 2) return v;
    return fallback;
}

int readVolume(const OptionStore& store)
{
    int v = 0;
    if (parseWhole(store.get(OptionKeys::Volume, QStringLiteral("1000")), &v) && v >= 0 && v <= 1000)
        return v;
    return 1000;
}

int readShowTime(const OptionStore& store, int current)
{
    double v = 0;
    if (!parseNumber(store.get(OptionKeys::ShowTime, QStringLiteral("5")), &v)) return current;
    const double whole = std::nearbyint(v);  // halves to even, as the scroll bar takes it
    if (whole < 0 || whole > 30) return current;
    return static_cast<int>(whole);
}

QString readCutDelay(const OptionStore& store, const QString& current)
{
    const QString text = store.get(OptionKeys::CutDelay, current);
    double v = 0;
    if (!parseNumber(text, &v) || v < 0 || v > 10) return current;
    return text.trimmed();
}

QString readFolder(const OptionStore& store, const QString& key, const QString& fallback)
{
    const QString v = store.get(key, fallback);
    return v.isEmpty() ? fallback : v;
}

QVector<FileTypeEntry> readFileTypes(const OptionStore& store)
{
    QVector<FileTypeEntry> list = BuiltInFileTypes();
    for (int i = 0;; ++i) {
        const QString text = store.get(OptionKeys::FileTypeText + QString::number(i), QString());
        if (i >= FirstDeletable && text.isEmpty()) break;
        const bool defaultSelected = !(i == 3 || i == 6);
        bool ok = false;
        bool selected = parseButton(
            store.get(OptionKeys::FileType + QString::number(i), boolText(defaultSelected)), &ok);
        if (!ok) selected = defaultSelected;

        if (i < FirstDeletable) {
            list[i].selected = selected;
        } else if (i == FirstDeletable && text == list[FirstDeletable].text) {
            list[FirstDeletable].selected = selected;
        } else if (i >= FirstDeletable) {
            // A user's entry; at index 7 it moved there when "MPEG (*.mpg)" was deleted.
            list.append({text, selected});
        }
    }
    return list;
}

void writeFileTypes(const OptionStore& store, const QVector<FileTypeEntry>& list)
{
    // An empty text is the end mark: an empty entry written in the list would cut off every
    // entry after it at the next start, so it is left out.
    int n = 0;
    for (const FileTypeEntry& entry : list) {
        if (entry.text.trimmed().isEmpty()) continue;
        store.set(OptionKeys::FileType + QString::number(n), boolText(entry.selected));
        store.set(OptionKeys::FileTypeText + QString::number(n), entry.text);
        ++n;
    }
    store.set(OptionKeys::FileTypeText + QString::number(n), QString());
}

QString ChkExtName(const QString& text)
{
    if (!text.contains(QLatin1String("(*.")) || !text.contains(QLatin1Char(')'))) return QString();
    const int close = text.indexOf(QLatin1Char(')'));
    const int start = qMax(0, close - 5);
    return text.mid(start, close - start);
}

QString ChkPatten(const QVector<FileTypeEntry>& list)
{
    QString pattern;
    for (const FileTypeEntry& e : list)
        if (e.selected) pattern += ChkExtName(e.text) + QLatin1Char(';');
    pattern = pattern.toUpper();
    if (!pattern.isEmpty()) pattern.chop(1);
    return pattern;
}

}  // namespace OptionRules
