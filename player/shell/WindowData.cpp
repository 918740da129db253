#include "WindowData.h"

#include <cmath>

namespace WindowDataRules {

namespace {

bool readNumber(const OptionStore& store, const QString& key, double* value)
{
    bool ok = false;
    const double v = store.get(key, QString()).trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

// A video size: taken when above 100 (and within range), else the base size.
double readVideoSize(const OptionStore& store, const QString& key, double base)
{
    double v = 0;
    if (readNumber(store, key, &v) && v > 100 && v <= MaxSize) return v;
    return base;
}

// A capture size: a positive whole number within range, else the base size.
double readCaptureSize(const OptionStore& store, const QString& key, double base)
{
    double v = 0;
    if (readNumber(store, key, &v) && v >= 1 && v <= MaxSize) return std::nearbyint(v);
    return base;
}

QString numberText(double v)
{
    return v == std::floor(v) && std::fabs(v) < 1e15 ? QString::number(static_cast<qint64>(v))
                                                     : QString::number(v);
}

const char* const ColourKeys[4] = {"R", "G", "B", "Light"};

}  // namespace

WindowData read(const OptionStore& store, const BaseSize& base, const QString& programFolder)
{
    WindowData d;
    d.DeskPic = store.get(QStringLiteral("DeskPic"), QString());
    d.CutPic = store.get(QStringLiteral("CutPic"), programFolder + QStringLiteral("/Cut/cut-000.bmp"));
    d.Width = readVideoSize(store, QStringLiteral("Width"), base.width);
    d.Height = readVideoSize(store, QStringLiteral("Height"), base.height);
    d.CutWidth = static_cast<int>(readCaptureSize(store, QStringLiteral("CutWidtht"), base.width));
    d.CutHeight = readCaptureSize(store, QStringLiteral("CutHeight"), base.height);
    d.Volume = OptionRules::readVolume(store);
    d.SearchFolder.clear();
    d.SearchDrive = store.get(QStringLiteral("CDROMDISK"), QString());
    return d;
}

void write(const OptionStore& store, const WindowData& d)
{
    store.set(QStringLiteral("DeskPic"), d.DeskPic);
    store.set(QStringLiteral("CutPic"), d.CutPic);
    store.set(QStringLiteral("Width"), numberText(d.Width));
    store.set(QStringLiteral("Height"), numberText(d.Height));
    store.set(QStringLiteral("CutHeight"), numberText(d.CutHeight));
    store.set(QStringLiteral("CutWidtht"), QString::number(d.CutWidth));
    for (int i = 0; i < 4; ++i) store.set(QLatin1String(ColourKeys[i]), QString::number(d.ColourBars[i]));
    store.set(QStringLiteral("Volume"), QString::number(d.Volume));
    store.set(QStringLiteral("CDROMPATH"), d.SearchFolder);
    store.set(QStringLiteral("CDROMDISK"), d.SearchDrive);
}

}  // namespace WindowDataRules
