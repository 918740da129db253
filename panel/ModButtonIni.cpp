#include "ModButtonIni.h"

#include "ButtonColorSettings.h"
#include "PanelForm.h"
#include "PanelGeometry.h"
#include "PanelState.h"

#include "DirSearch.h"
#include "ModFiles.h"
#include "ModIniFile.h"
#include "ModTools.h"
#include "PictureFile.h"
#include "ProfileFile.h"
#include "VbRuntime.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <optional>

namespace {

const QString Edit = QStringLiteral("編輯");
const QString ControlBar = QStringLiteral("控制台");
const QString NumberPad = QStringLiteral("選曲");
const QString TitleButtons = QStringLiteral("功能");
const QString Logo = QStringLiteral("LOGO");
const QString Times = QStringLiteral("時間");
const QString Message = QStringLiteral("文字");
const QString Numbers = QStringLiteral("數字");
const QString Picture = QStringLiteral("圖形");

QString boolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString key(const char *name, int index)
{
    return QLatin1String(name) + QString::number(index);
}

// A zero or garbage scale would turn every position into nonsense.
double zoomOf(const PanelState &state)
{
    return state.Zoom > 0 && state.Zoom < 1e6 ? state.Zoom : 1.0;
}

// ------------------------------------------------------------------ writing

class DefinitionWriter
{
public:
    DefinitionWriter(PanelForm &form, QVector<ButtonIniEntry> &entries)
        : m_form(form), m_entries(entries), m_zoom(zoomOf(form.state()))
    {
    }

    void write()
    {
        writeColourTool();
        writeKeys(ControlBar, m_form.obj().PicCtl);
        writeKeys(NumberPad, m_form.obj().PicNum);
        writeKeys(TitleButtons, m_form.obj().PicButton);
        writeLogo();
        writeTimes();
        writeLabel(Message, m_form.obj().Label1);
        if (!m_form.obj().LabNum.isEmpty())
            writeLabel(Numbers, m_form.obj().LabNum[0]);
        writePictureArea();
    }

private:
    // Stored in file units, rounded toward minus infinity.
    double scaled(double value) const { return Vb::Int(value / m_zoom); }

    void put(const QString &section, const QString &name, const QVariant &value)
    {
        m_entries.append({section, name, Vb::CStr(value)});
    }

    void writeColourTool()
    {
        const ButtonColorSettings &colors = m_form.colors();
        put(Edit, QStringLiteral("Mode"), colors.ColorType());
        for (int i = 0; i < ButtonColorSettings::BarCount; ++i)
            put(Edit, ButtonColorSettings::definitionKey(i), colors.VScroll1(i));
        const PanelState &state = m_form.state();
        put(Edit, QStringLiteral("PicWidth"), state.DeskPicWidth.isValid() ? Vb::CStr(state.DeskPicWidth) : QString());
        put(Edit, QStringLiteral("PicHeight"), state.DeskPicHeight);
    }

    void writeKeys(const QString &section, const QVector<PanelKey *> &keys)
    {
        for (int i = 0; i < keys.size(); ++i) {
            const PanelKey *k = keys[i];
            put(section, key("X", i), scaled(k->x()));
            put(section, key("Y", i), scaled(k->y()));
            put(section, key("W", i), scaled(k->width()));
            put(section, key("H", i), scaled(k->height()));
            put(section, key("File", i), k->Tag);
            put(section, key("Visible", i), boolText(visibleFlag(k)));
        }
    }

    void writeFont(const QString &section, const QLabel *label, const QString &suffix)
    {
        const QFont font = label->font();
        put(section, QStringLiteral("FontName") + suffix, font.family());
        put(section, QStringLiteral("FontBold") + suffix, boolText(font.bold()));
        put(section, QStringLiteral("FontItalic") + suffix, boolText(font.italic()));
        put(section, QStringLiteral("FontUnderline") + suffix, boolText(font.underline()));
    }

    void writeLogo()
    {
        const auto &labels = m_form.obj().Label3;
        for (int i = 0; i < labels.size(); ++i) {
            writeFont(Logo, labels[i], QString());
            put(Logo, key("Size", i), scaled(fontSize(labels[i])));
            put(Logo, key("X", i), scaled(labels[i]->x()));
            put(Logo, key("Y", i), scaled(labels[i]->y()));
        }
    }

    void writeTimes()
    {
        const auto &labels = m_form.obj().Label2;
        for (int i = 0; i < labels.size(); ++i) {
            const QLabel *label = labels[i];
            const QString n = QString::number(i);
            writeFont(Times, label, n);
            put(Times, QStringLiteral("Size") + n, scaled(fontSize(label)));
            put(Times, QStringLiteral("X") + n, scaled(label->x()));
            put(Times, QStringLiteral("Y") + n, scaled(label->y()));
            put(Times, QStringLiteral("W") + n, scaled(label->width()));
            put(Times, QStringLiteral("H") + n, scaled(label->height()));
            put(Times, QStringLiteral("Visible") + n, boolText(visibleFlag(label)));
        }
    }

    void writeLabel(const QString &section, const QLabel *label)
    {
        writeFont(section, label, QString());
        put(section, QStringLiteral("Size"), scaled(fontSize(label)));
        put(section, QStringLiteral("X"), scaled(label->x()));
        put(section, QStringLiteral("Y"), scaled(label->y()));
        put(section, QStringLiteral("W"), scaled(label->width()));
        put(section, QStringLiteral("H"), scaled(label->height()));
        put(section, QStringLiteral("Visible"), boolText(visibleFlag(label)));
    }

    void writePictureArea()
    {
        const QLabel *image = m_form.obj().Image1;
        put(Picture, QStringLiteral("X"), scaled(image->x()));
        put(Picture, QStringLiteral("Y"), scaled(image->y()));
        put(Picture, QStringLiteral("W"), scaled(image->width()));
        put(Picture, QStringLiteral("H"), scaled(image->height()));
        m_form.state().ImageVisible = visibleFlag(image);
        put(Picture, QStringLiteral("Visible"), boolText(m_form.state().ImageVisible));
    }

    PanelForm &m_form;
    QVector<ButtonIniEntry> &m_entries;
    double m_zoom;
};

// ------------------------------------------------------------------ reading

// "True"/"False" in any case, or a number (non-zero is True); nothing for other text.
std::optional<bool> booleanText(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const double value = t.toDouble(&isNumber);
    if (isNumber)
        return value != 0;
    return std::nullopt;
}

bool readsAsTrue(const QString &text)
{
    return booleanText(text).value_or(false);
}

class DefinitionReader
{
public:
    DefinitionReader(PanelForm &form, bool withSize, const QString &file)
        : m_form(form), m_obj(form.obj()), m_state(form.state()), m_entries(file), m_zoom(zoomOf(form.state())),
          m_withSize(withSize)
    {
        const QSize span = screenSpan() * std::max(1.0, m_zoom);
        m_maxWidth = span.width();
        m_maxHeight = span.height();
    }

    void read()
    {
        readColourTool();
        readKeys(ControlBar, m_obj.PicCtl, m_obj.PicCtlBak);
        readKeys(NumberPad, m_obj.PicNum, m_obj.PicNumBak);
        readKeys(TitleButtons, m_obj.PicButton, m_obj.PicButtonB);
        readTimes();
        readLogo();
        readMessageLine();
        readNumberCaptions();
        readPictureArea();
    }

private:
    QString text(const QString &section, const QString &name) const { return m_entries.read(section, name); }
    // A size read from the file, no larger than the screens can show: a damaged file
    // must not make a key allocate gigabytes for its face.
    double width(double value) const { return std::min(value, m_maxWidth); }
    double height(double value) const { return std::min(value, m_maxHeight); }
    double number(const QString &section, const QString &name) const { return Vb::Val(text(section, name)); }

    // A "Y" that is rounded to a 16-bit whole number; nothing when it cannot be.
    std::optional<int> roundedNumber(const QString &section, const QString &name) const
    {
        const auto value = Vb::toInt16(number(section, name));
        if (!value)
            return std::nullopt;
        return int(*value);
    }

    void readColourTool()
    {
        ButtonColorSettings &colors = m_form.colors();
        if (const auto mode = Vb::toInt16(number(Edit, QStringLiteral("Mode"))))
            colors.selectColorType(*mode);
        for (int i = 0; i < ButtonColorSettings::BarCount; ++i)
            if (const auto value = Vb::toInt16(number(Edit, ButtonColorSettings::definitionKey(i))))
                colors.setVScroll1(i, *value);
    }

    void readKeys(const QString &section, QVector<PanelKey *> &keys, QVector<BackingPicture> &backings)
    {
        for (int i = 0; i < keys.size(); ++i) {
            PanelKey *k = keys[i];
            k->setVisible(readsAsTrue(text(section, key("Visible", i))));
            setLeft(k, number(section, key("X", i)) * m_zoom);
            setTop(k, number(section, key("Y", i)) * m_zoom);
            if (m_withSize) {
                const double w = number(section, key("W", i));
                const double h = number(section, key("H", i));
                if (w >= 10)
                    setWidth(k, width(w * m_zoom));
                if (h >= 10)
                    setHeight(k, height(h * m_zoom));
            }
            k->Tag = text(section, key("File", i));
            if (i < backings.size())
                loadMask(*k, backings[i]);
        }
    }

    // The key's mask bitmap, from MaskDir whatever folder its name carries,
    // stretched to the key's size.
    void loadMask(PanelKey &k, BackingPicture &backing)
    {
        const QString name = k.Tag.mid(std::max(k.Tag.lastIndexOf(u'/'), k.Tag.lastIndexOf(u'\\')) + 1);
        const QString path = name.isEmpty() ? QString() : AddPath(m_state.MaskDir, name);
        if (path.isEmpty() || !FileExist(path)) {
            // Missing: no mask path is left for the face builder, nor for the next save.
            backing.Tag.clear();
            k.Tag.clear();
            return;
        }
        const QImage mask = maskPicture(path);
        if (mask.isNull()) {
            // Unreadable: this step is skipped. The key keeps its mask name, so that the
            // next save still names it; the face builder gets no mask path.
            backing.Tag.clear();
            return;
        }
        backing.Width = k.width();
        backing.Height = k.height();
        if (backing.Width > 0 && backing.Height > 0)
            backing.Picture = mask.convertToFormat(QImage::Format_RGB32)
                                  .scaled(backing.Width, backing.Height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        else
            backing.Picture = QImage();
        backing.Tag = path;
    }

    // Decoded once per file: most keys of a panel share a handful of masks.
    QImage maskPicture(const QString &path)
    {
        auto known = m_masks.constFind(path);
        if (known == m_masks.constEnd()) {
            known = m_masks.insert(path, PictureFile::read(DirSearch::ResolveCase(path)));  // names spelt freely
        }
        return *known;
    }

    // Font name and flags, each only when given; a flag that is no Boolean stays.
    void readFont(QLabel *label, const QString &section, const QString &suffix)
    {
        QFont font = label->font();
        const QString name = text(section, QStringLiteral("FontName") + suffix);
        if (!name.isEmpty())
            font.setFamily(name);
        if (const auto bold = booleanText(text(section, QStringLiteral("FontBold") + suffix)))
            font.setBold(*bold);
        if (const auto italic = booleanText(text(section, QStringLiteral("FontItalic") + suffix)))
            font.setItalic(*italic);
        if (const auto underline = booleanText(text(section, QStringLiteral("FontUnderline") + suffix)))
            font.setUnderline(*underline);
        label->setFont(font);
    }

    void readTimes()
    {
        for (int i = 0; i < m_obj.Label2.size(); ++i) {
            QLabel *label = m_obj.Label2[i];
            const QString n = QString::number(i);
            readFont(label, Times, n);
            const double size = number(Times, QStringLiteral("Size") + n);
            setFontSize(label, size > 1 ? size * m_zoom : (i == 2 ? 12 : 9));
            setAutoSizeOn(label, true);  // sized once, in its final font
            if (i == 2)
                setAutoSizeOn(label, false);
            const double x = number(Times, QStringLiteral("X") + n);
            if (x > 1)
                setLeft(label, x * m_zoom);
            if (const auto y = roundedNumber(Times, QStringLiteral("Y") + n); y && *y > 1)
                setTop(label, *y * m_zoom);
            double width = number(Times, QStringLiteral("W") + n);
            if (width <= 0)
                width = 48;
            if (m_state.WidenItalic && readsAsTrue(text(Times, QStringLiteral("FontItalic") + n)) && i != 2)
                width *= 1.1;
            if (width > 1)
                setWidth(label, this->width(width * m_zoom));
        }
    }

    void readLogo()
    {
        if (m_obj.Label3.isEmpty())
            return;
        for (int i = 0; i < m_obj.Label3.size(); ++i) {
            QLabel *label = m_obj.Label3[i];
            readFont(label, Logo, QString());
            const double size = number(Logo, key("Size", i));
            setFontSize(label, size > 1 ? size * m_zoom : 12 * m_zoom);
            if (autoSizeOn(label))
                autoSizeLabel(label);
            const double x = number(Logo, key("X", i));
            setLeft(label, x >= 0 ? x * m_zoom : 0);
            if (const auto y = roundedNumber(Logo, key("Y", i)))
                setTop(label, *y < 0 ? 0 : *y * m_zoom);
        }
    }

    void readMessageLine()
    {
        QLabel *label = m_obj.Label1;
        readFont(label, Message, QString());
        const double size = number(Message, QStringLiteral("Size"));
        setFontSize(label, size > 1 ? size * m_zoom : 9 * m_zoom);
        const int width = label->width();
        autoSizeLabel(label);  // the height automatic sizing gives for the caption
        setAutoSizeOn(label, false);
        setWidth(label, width);
        const double x = number(Message, QStringLiteral("X"));
        const double y = number(Message, QStringLiteral("Y"));
        double w = number(Message, QStringLiteral("W"));
        if (x != 0)
            setLeft(label, x * m_zoom);
        if (y != 0)
            setTop(label, y * m_zoom);
        if (w <= 0)
            w = 165;
        setWidth(label, this->width(w * m_zoom));
        m_state.TextLeft = x;
        m_state.TextTop = y;
        m_state.TextWidth = w;
        m_state.TextHeight = Vb::toInt16Or(label->height(), m_state.TextHeight);
    }

    void readNumberCaptions()
    {
        const double size = number(Numbers, QStringLiteral("Size"));
        const double x = number(Numbers, QStringLiteral("X"));
        const auto y = roundedNumber(Numbers, QStringLiteral("Y"));
        for (QLabel *label : m_obj.LabNum) {
            readFont(label, Numbers, QString());
            setFontSize(label, size > 1 ? size * m_zoom : 12 * m_zoom);
            autoSizeLabel(label);
            setLeft(label, x >= 0 ? x * m_zoom : 0);
            if (y)
                setTop(label, *y < 0 ? 0 : *y * m_zoom);
        }
    }

    void readPictureArea()
    {
        QLabel *image = m_obj.Image1;
        setLeft(image, number(Picture, QStringLiteral("X")) * m_zoom);
        setTop(image, number(Picture, QStringLiteral("Y")) * m_zoom);
        const double w = number(Picture, QStringLiteral("W"));
        const double h = number(Picture, QStringLiteral("H"));
        if (w != 0)
            setWidth(image, width(w * m_zoom));
        if (h != 0)
            setHeight(image, height(h * m_zoom));
        const QString visible = text(Picture, QStringLiteral("Visible"));
        const bool shown = !visible.isEmpty() && readsAsTrue(visible);
        image->setVisible(shown);
        m_state.ImageVisible = shown;
        m_state.ImageLeft = image->x();
        m_state.ImageTop = Vb::toInt16Or(image->y(), 0);
        m_state.ImageWidth = image->width();
        m_state.ImageHeight = image->height();
    }

    PanelForm &m_form;
    PanelObjects &m_obj;
    PanelState &m_state;
    const IniEntries m_entries;
    QHash<QString, QImage> m_masks;  // by path; a null picture for an unreadable file
    double m_zoom;
    bool m_withSize;
    double m_maxWidth = 0;
    double m_maxHeight = 0;
};

}  // namespace

QVector<ButtonIniEntry> ButtonIniEntries(PanelForm &Form)
{
    QVector<ButtonIniEntry> entries;
    entries.reserve(400);
    DefinitionWriter(Form, entries).write();
    return entries;
}

bool SaveButtonIni(PanelForm &Form)
{
    const QString path = ProfileFile::resolve(IniFile);
    QCoreApplication::processEvents();
    // One fresh document, saved once through a temporary file that replaces the
    // old definition: no stale key survives, a failed write leaves the old file
    // in place, and ~380 entries cost one write instead of 380.
    ProfileDocument document;
    const QVector<ButtonIniEntry> entries = ButtonIniEntries(Form);
    // Section by section, each in one pass: entry by entry, every entry scanned the
    // whole document again for its place.
    for (qsizetype first = 0; first < entries.size();) {
        QList<std::pair<QString, QString>> section;
        qsizetype next = first;
        for (; next < entries.size() && entries[next].section == entries[first].section; ++next)
            section.append({entries[next].key, entries[next].value});
        document.setTexts(entries[first].section, section);
        first = next;
    }
    return !path.isEmpty() && document.save(path);
}

void ReadButtonIni(PanelForm &Form, bool WithSize)
{
    WriteLog(QStringLiteral("讀取面板設定檔"));
    if (!FileExist(IniFile)) {
        WriteLog(QStringLiteral("面板設定檔不存在-") + IniFile);
        return;
    }
    Form.obj().ShowObj(false);
    DefinitionReader(Form, WithSize, IniFile).read();
    WriteLog(QStringLiteral("面板設定檔讀取完成"));
}
