#include "DefinitionWriter.h"

#include "Cp950.h"

namespace art {
namespace {

QString boolText(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }
QString num(int value) { return QString::number(value); }

class SectionBuilder {
public:
    explicit SectionBuilder(const QString &name) { section_.name = name; }
    void add(const QString &key, const QString &value) { section_.entries.emplace_back(key, value); }
    void add(const QString &key, int value) { add(key, num(value)); }
    IniSection take() { return std::move(section_); }

private:
    IniSection section_;
};

IniSection editSection(const PanelLayout &panel)
{
    SectionBuilder s(QStringLiteral("編輯"));
    s.add(QStringLiteral("Mode"), panel.colours.mode);
    for (int i = 0; i < 4; ++i)
        s.add(QStringLiteral("Color") + num(i), panel.colours.bars[i]);
    s.add(QStringLiteral("PicWidth"), panel.size.width());
    s.add(QStringLiteral("PicHeight"), panel.size.height());
    return s.take();
}

IniSection keySection(const QString &name, const std::vector<KeySpec> &keys)
{
    SectionBuilder s(name);
    for (size_t i = 0; i < keys.size(); ++i) {
        const KeySpec &key = keys[i];
        const QString n = num(static_cast<int>(i));
        s.add(QStringLiteral("X") + n, key.rect.x());
        s.add(QStringLiteral("Y") + n, key.rect.y());
        s.add(QStringLiteral("W") + n, key.rect.width());
        s.add(QStringLiteral("H") + n, key.rect.height());
        s.add(QStringLiteral("File") + n, key.mask);
        s.add(QStringLiteral("Visible") + n, boolText(key.visible));
    }
    return s.take();
}

void addFontFlags(SectionBuilder &s, const FontSpec &font, const QString &suffix)
{
    s.add(QStringLiteral("FontName") + suffix, font.name);
    s.add(QStringLiteral("FontBold") + suffix, boolText(font.bold));
    s.add(QStringLiteral("FontItalic") + suffix, boolText(font.italic));
    s.add(QStringLiteral("FontUnderline") + suffix, boolText(font.underline));
}

// The logo labels share one unindexed font group; the engine writes it once
// per label, so a key keeps its first place and the last label's value.
IniSection logoSection(const PanelLayout &panel)
{
    SectionBuilder s(QStringLiteral("LOGO"));
    std::vector<std::pair<QString, QString>> flags;
    for (size_t i = 0; i < panel.logoLabels.size(); ++i) {
        const LabelSpec &label = panel.logoLabels[i];
        const QString n = num(static_cast<int>(i));
        if (i == 0)
            addFontFlags(s, panel.logoLabels.back().font, QString());
        s.add(QStringLiteral("Size") + n, label.font.points);
        s.add(QStringLiteral("X") + n, label.pos.x());
        s.add(QStringLiteral("Y") + n, label.pos.y());
    }
    return s.take();
}

void addLabelGroup(SectionBuilder &s, const LabelSpec &label, const QString &suffix)
{
    addFontFlags(s, label.font, suffix);
    s.add(QStringLiteral("Size") + suffix, label.font.points);
    s.add(QStringLiteral("X") + suffix, label.pos.x());
    s.add(QStringLiteral("Y") + suffix, label.pos.y());
    s.add(QStringLiteral("W") + suffix, label.width);
    s.add(QStringLiteral("H") + suffix, label.height);
    s.add(QStringLiteral("Visible") + suffix, boolText(label.visible));
}

IniSection timeSection(const PanelLayout &panel)
{
    SectionBuilder s(QStringLiteral("時間"));
    for (size_t i = 0; i < panel.timeLabels.size(); ++i)
        addLabelGroup(s, panel.timeLabels[i], num(static_cast<int>(i)));
    return s.take();
}

IniSection singleLabelSection(const QString &name, const LabelSpec &label)
{
    SectionBuilder s(name);
    addLabelGroup(s, label, QString());
    return s.take();
}

IniSection pictureSection(const PanelLayout &panel)
{
    SectionBuilder s(QStringLiteral("圖形"));
    s.add(QStringLiteral("X"), panel.pictureArea.x());
    s.add(QStringLiteral("Y"), panel.pictureArea.y());
    s.add(QStringLiteral("W"), panel.pictureArea.width());
    s.add(QStringLiteral("H"), panel.pictureArea.height());
    s.add(QStringLiteral("Visible"), boolText(panel.pictureAreaVisible));
    return s.take();
}

} // namespace

std::vector<IniSection> definitionSections(const PanelLayout &panel)
{
    std::vector<IniSection> sections;
    sections.push_back(editSection(panel));
    sections.push_back(keySection(QStringLiteral("控制台"), panel.controlKeys));
    sections.push_back(keySection(QStringLiteral("選曲"), panel.numberKeys));
    sections.push_back(keySection(QStringLiteral("功能"), panel.titleKeys));
    sections.push_back(logoSection(panel));
    sections.push_back(timeSection(panel));
    sections.push_back(singleLabelSection(QStringLiteral("文字"), panel.messageLine));
    sections.push_back(singleLabelSection(QStringLiteral("數字"), panel.numberCaption));
    sections.push_back(pictureSection(panel));
    return sections;
}

std::optional<QByteArray> definitionFileBytes(const PanelLayout &panel)
{
    QString text;
    bool first = true;
    for (const IniSection &section : definitionSections(panel)) {
        if (!first)
            text += QStringLiteral("\r\n");
        first = false;
        text += QLatin1Char('[') + section.name + QStringLiteral("]\r\n");
        for (const auto &[key, value] : section.entries)
            text += key + QLatin1Char('=') + value + QStringLiteral("\r\n");
    }
    return encodeCp950(text);
}

} // namespace art
