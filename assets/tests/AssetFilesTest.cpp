// Checks the art as the build leaves it beside the programs: every panel
// picture with a definition that parses and places every object on the
// picture, the masks it names, the default panel, and the readme files.

#include "Cp950.h"
#include "DefinitionFile.h"
#include "IconSet.h"
#include "PanelDesigns.h"
#include "PanelPreview.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <algorithm>
#include <gtest/gtest.h>

void PrintTo(const QString &text, std::ostream *out);

namespace {

QDir programDir() { return QDir(QStringLiteral(ASSETS_PROGRAM_DIR)); }
QDir skinDir() { return QDir(programDir().filePath(QStringLiteral("Skin"))); }
QDir maskDir() { return QDir(programDir().filePath(QStringLiteral("Button Mask"))); }

QStringList panelPictures()
{
    return skinDir().entryList({QStringLiteral("*.jpg"), QStringLiteral("*.bmp"), QStringLiteral("*.gif")},
                               QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString definitionPath(const QString &picture)
{
    return skinDir().filePath(picture.left(picture.size() - 3) + QStringLiteral("INI"));
}

const QStringList keySections = {QStringLiteral("控制台"), QStringLiteral("選曲"), QStringLiteral("功能")};

// Keys of one section in the order the panel engine writes them.
QStringList expectedKeys(const QString &section, int elements)
{
    const QStringList flags = {QStringLiteral("FontName"), QStringLiteral("FontBold"), QStringLiteral("FontItalic"),
                               QStringLiteral("FontUnderline")};
    const QStringList label = flags + QStringList{QStringLiteral("Size"), QStringLiteral("X"), QStringLiteral("Y"),
                                                  QStringLiteral("W"), QStringLiteral("H"), QStringLiteral("Visible")};
    QStringList keys;
    if (section == QStringLiteral("編輯"))
        return {QStringLiteral("Mode"), QStringLiteral("Color0"), QStringLiteral("Color1"), QStringLiteral("Color2"),
                QStringLiteral("Color3"), QStringLiteral("PicWidth"), QStringLiteral("PicHeight")};
    if (keySections.contains(section)) {
        for (int i = 0; i < elements; ++i)
            for (const char *k : {"X", "Y", "W", "H", "File", "Visible"})
                keys << QString::fromLatin1(k) + QString::number(i);
        return keys;
    }
    if (section == QStringLiteral("LOGO")) {
        keys = flags;
        for (int i = 0; i < elements; ++i)
            for (const char *k : {"Size", "X", "Y"})
                keys << QString::fromLatin1(k) + QString::number(i);
        return keys;
    }
    if (section == QStringLiteral("時間")) {
        for (int i = 0; i < elements; ++i)
            for (const QString &k : label)
                keys << k + QString::number(i);
        return keys;
    }
    if (section == QStringLiteral("圖形"))
        return {QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("W"), QStringLiteral("H"),
                QStringLiteral("Visible")};
    return label;   // 文字 and 數字
}

class ArtPanel : public ::testing::TestWithParam<QString> {
protected:
    void SetUp() override
    {
        picture = QImage(skinDir().filePath(GetParam()));
        definition = DefinitionFile::load(definitionPath(GetParam()));
        ASSERT_FALSE(picture.isNull()) << "picture does not load";
        ASSERT_TRUE(definition.problem.isEmpty()) << qPrintable(definition.problem);
    }
    QRect bounds() const { return QRect(QPoint(0, 0), picture.size()); }

    QImage picture;
    DefinitionFile definition;
};

// The build lists the generator's files so that a missing one is drawn again;
// the list must name every panel and mask the generator makes.
TEST(ArtFolders, HoldExactlyTheFilesTheBuildLists)
{
    const QStringList expected = QStringLiteral(ASSETS_EXPECTED_FILES).split(QLatin1Char('|'));
    for (const QString &file : expected)
        EXPECT_TRUE(QFile::exists(programDir().filePath(file))) << qPrintable(file);
    for (const QString &picture : panelPictures())
        EXPECT_TRUE(expected.contains(QStringLiteral("Skin/") + picture)) << qPrintable(picture);
    for (const QString &mask : maskDir().entryList({QStringLiteral("*.bmp")}, QDir::Files))
        EXPECT_TRUE(expected.contains(QStringLiteral("Button Mask/") + mask)) << qPrintable(mask);
}

TEST(ArtFolders, HoldThreeOrMorePanelsOfEveryFormatAndTheDefaultPanel)
{
    const QStringList pictures = panelPictures();
    EXPECT_GE(pictures.size(), 3);
    for (const char *ext : {".jpg", ".bmp", ".gif"})
        EXPECT_TRUE(std::any_of(pictures.begin(), pictures.end(),
                                [&](const QString &p) { return p.endsWith(QLatin1String(ext), Qt::CaseInsensitive); }))
            << ext;
    const QString standard = programDir().filePath(QStringLiteral("Desk/Quorvel.JPG"));
    ASSERT_TRUE(QFile::exists(standard));
    EXPECT_TRUE(QFile::exists(skinDir().filePath(QStringLiteral("Quorvel.INI"))));
    QFile desk(standard), skin(skinDir().filePath(QStringLiteral("Quorvel.JPG")));
    ASSERT_TRUE(desk.open(QIODevice::ReadOnly) && skin.open(QIODevice::ReadOnly));
    EXPECT_EQ(desk.readAll(), skin.readAll()) << "the default panel differs from its copy in Skin";
}

// The panel list enables a panel only when it fits the screen; each common
// screen-size class needs a panel that fits it and not the class below.
TEST(ArtFolders, OfferPanelsForThe640And800And1024Classes)
{
    const QSize classes[] = {{640, 480}, {800, 600}, {1024, 768}};
    auto fits = [](QSize panel, QSize screen) { return panel.width() <= screen.width() && panel.height() <= screen.height(); };
    for (int c = 0; c < 3; ++c) {
        bool found = false;
        for (const QString &name : panelPictures()) {
            const QSize size = QImageReader(skinDir().filePath(name)).size();
            found |= fits(size, classes[c]) && (c == 0 || !fits(size, classes[c - 1]));
        }
        EXPECT_TRUE(found) << "no panel for the class " << classes[c].width();
    }
}

TEST_P(ArtPanel, DefinitionHasEverySectionAndKeyInWritingOrder)
{
    const QStringList order = {QStringLiteral("編輯"), QStringLiteral("控制台"), QStringLiteral("選曲"),
                               QStringLiteral("功能"), QStringLiteral("LOGO"), QStringLiteral("時間"),
                               QStringLiteral("文字"), QStringLiteral("數字"), QStringLiteral("圖形")};
    const int elements[] = {0, 14, 10, 4, 2, 3, 0, 0, 0};
    ASSERT_EQ(definition.sections.size(), static_cast<size_t>(order.size()));
    for (int i = 0; i < order.size(); ++i) {
        EXPECT_EQ(definition.sections[i].name, order[i]);
        EXPECT_EQ(definition.sections[i].keys(), expectedKeys(order[i], elements[i])) << qPrintable(order[i]);
    }
}

TEST_P(ArtPanel, PictureHasTheSizeTheDefinitionRecords)
{
    const DefinitionSection *edit = definition.section(QStringLiteral("編輯"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(picture.width(), edit->number(QStringLiteral("PicWidth")));
    EXPECT_EQ(picture.height(), edit->number(QStringLiteral("PicHeight")));
    EXPECT_GE(edit->number(QStringLiteral("Mode")), 0);
    EXPECT_LE(edit->number(QStringLiteral("Mode")), 2);
    for (int i = 0; i < 3; ++i) {
        const int bar = edit->number(QStringLiteral("Color") + QString::number(i));
        EXPECT_TRUE(bar >= -255 && bar <= 0) << "colour bar " << i;
    }
    const int brightness = edit->number(QStringLiteral("Color3"));
    EXPECT_TRUE(brightness >= -128 && brightness <= 128);
}

TEST_P(ArtPanel, EveryKeyLiesOnThePictureWithAMaskThatExists)
{
    for (const QString &name : keySections) {
        const DefinitionSection *s = definition.section(name);
        ASSERT_NE(s, nullptr);
        for (int i = 0; s->value(QStringLiteral("X") + QString::number(i)); ++i) {
            const QString n = QString::number(i);
            const QRect key = definition.keyRect(name, i);
            EXPECT_TRUE(bounds().contains(key)) << qPrintable(name) << i;
            EXPECT_GE(key.width(), 10) << "a size below 10 is not applied";
            EXPECT_GE(key.height(), 10) << "a size below 10 is not applied";
            const QString maskName = s->value(QStringLiteral("File") + n).value_or(QString());
            const QImage mask(maskDir().filePath(maskName));
            EXPECT_FALSE(mask.isNull()) << qPrintable(name) << i << " names a missing mask " << qPrintable(maskName);
        }
    }
}

TEST_P(ArtPanel, OnlyTheUnusedControlKeyIsHidden)
{
    for (const QString &name : keySections) {
        const DefinitionSection *s = definition.section(name);
        for (int i = 0; s->value(QStringLiteral("X") + QString::number(i)); ++i) {
            const bool hidden = name == QStringLiteral("控制台") && i == 6;
            EXPECT_EQ(s->value(QStringLiteral("Visible") + QString::number(i)),
                      hidden ? QStringLiteral("False") : QStringLiteral("True"))
                << qPrintable(name) << i;
        }
    }
}

// Keys of the panel never cover each other, except the seek knob, which
// rides on its track.
TEST_P(ArtPanel, VisibleKeysDoNotOverlap)
{
    std::vector<std::pair<QString, QRect>> keys;
    for (const QString &name : keySections) {
        const DefinitionSection *s = definition.section(name);
        for (int i = 0; s->value(QStringLiteral("X") + QString::number(i)); ++i) {
            const bool visible = s->value(QStringLiteral("Visible") + QString::number(i)) == QStringLiteral("True");
            if (visible && !(name == QStringLiteral("控制台") && i == 9))
                keys.emplace_back(name + QString::number(i), definition.keyRect(name, i));
        }
    }
    for (size_t a = 0; a < keys.size(); ++a)
        for (size_t b = a + 1; b < keys.size(); ++b)
            EXPECT_FALSE(keys[a].second.intersects(keys[b].second))
                << qPrintable(keys[a].first) << " overlaps " << qPrintable(keys[b].first);
}

// The layout pass widens a track narrower than three knobs and shrinks one
// only slightly taller than the knob; a panel should need neither.
TEST_P(ArtPanel, SeekTrackAndKnobNeedNoAdjustment)
{
    const QRect knob = definition.keyRect(QStringLiteral("控制台"), 9);
    const QRect track = definition.keyRect(QStringLiteral("控制台"), 13);
    EXPECT_GE(track.width(), 3 * knob.width());
    EXPECT_TRUE(track.height() == knob.height() || track.height() >= knob.height() + 4);
    EXPECT_GE(knob.left(), track.left());
    EXPECT_LE(knob.right(), track.right());
}

TEST_P(ArtPanel, LabelsAndPictureAreaLieOnThePicture)
{
    const DefinitionSection *area = definition.section(QStringLiteral("圖形"));
    const QRect pictureArea(area->number(QStringLiteral("X")), area->number(QStringLiteral("Y")),
                            area->number(QStringLiteral("W")), area->number(QStringLiteral("H")));
    EXPECT_TRUE(bounds().contains(pictureArea));
    EXPECT_GE(pictureArea.width(), 160);
    EXPECT_EQ(area->value(QStringLiteral("Visible")), QStringLiteral("True"));

    const DefinitionSection *text = definition.section(QStringLiteral("文字"));
    const QRect line(text->number(QStringLiteral("X")), text->number(QStringLiteral("Y")),
                     text->number(QStringLiteral("W")), text->number(QStringLiteral("H")));
    EXPECT_NE(line.left(), 0) << "X 0 would leave the message line where it was";
    EXPECT_GT(line.width(), 0) << "W 0 would give the width 165";
    EXPECT_TRUE(bounds().contains(line));
    // A two-line message moves up by half a line and doubles its height.
    EXPECT_TRUE(bounds().contains(line.adjusted(0, -line.height() / 2, 0, line.height() / 2)));

    const DefinitionSection *times = definition.section(QStringLiteral("時間"));
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i);
        EXPECT_GT(times->number(QStringLiteral("X") + n), 1) << "X of 1 or less is not applied";
        EXPECT_GT(times->number(QStringLiteral("Y") + n), 1) << "Y of 1 or less is not applied";
        EXPECT_GT(times->number(QStringLiteral("Size") + n), 1);
        EXPECT_TRUE(bounds().contains(QPoint(times->number(QStringLiteral("X") + n) + times->number(QStringLiteral("W") + n),
                                             times->number(QStringLiteral("Y") + n))));
    }
    const DefinitionSection *logo = definition.section(QStringLiteral("LOGO"));
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(bounds().contains(QPoint(logo->number(QStringLiteral("X") + QString::number(i)),
                                             logo->number(QStringLiteral("Y") + QString::number(i)))));
}

// A time label keeps the width its definition gives; the longest time text
// must fit into it.
TEST_P(ArtPanel, TimeLabelsAreWideEnoughForTheLongestTime)
{
    const DefinitionSection *times = definition.section(QStringLiteral("時間"));
    for (int i = 0; i < 3; ++i) {
        const QString n = QString::number(i);
        QFont font(times->value(QStringLiteral("FontName") + n).value_or(QString()));
        font.setPointSize(times->number(QStringLiteral("Size") + n));
        font.setBold(times->value(QStringLiteral("FontBold") + n) == QStringLiteral("True"));
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(QStringLiteral("00:00:00")),
                  times->number(QStringLiteral("W") + n))
            << "time label " << i;
    }
}

double luminance(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

// The message line and the knob time take the inverse of the picture under
// their top edge as text colour; that colour must stand out from the
// picture under the rest of the label.
TEST_P(ArtPanel, TextColoursTakenFromThePictureAreLegible)
{
    const DefinitionSection *text = definition.section(QStringLiteral("文字"));
    const QPoint top(text->number(QStringLiteral("X")) + text->number(QStringLiteral("W")) / 2,
                     text->number(QStringLiteral("Y")));
    const QRgb ink = invertColour(picture.pixel(top));
    const QRgb under = picture.pixel(top + QPoint(0, text->number(QStringLiteral("H")) / 2));
    EXPECT_GT(std::abs(luminance(ink) - luminance(under)), 120);

    const DefinitionSection *times = definition.section(QStringLiteral("時間"));
    const QPoint knobTime(times->number(QStringLiteral("X2")) + times->number(QStringLiteral("W2")) / 2,
                          times->number(QStringLiteral("Y2")));
    const QRgb knobInk = invertColour(picture.pixel(knobTime));
    const QRgb knobUnder = picture.pixel(knobTime + QPoint(0, times->number(QStringLiteral("H2")) / 2));
    EXPECT_GT(std::abs(luminance(knobInk) - luminance(knobUnder)), 120);
}

// The panel picture carries no symbols: the player puts an icon over every
// control and title key, and the icon must stand out from the key's face.
TEST_P(ArtPanel, ControlAndTitleKeysShowALegibleIcon)
{
    const auto layouts = art::skinPanels();
    const auto layout = std::find_if(layouts.begin(), layouts.end(),
                                     [](const art::PanelLayout &l) { return l.fileName == GetParam(); });
    ASSERT_NE(layout, layouts.end());
    const DefinitionSection *edit = definition.section(QStringLiteral("編輯"));
    const QDir icons(programDir().filePath(QStringLiteral("Icon")));
    for (const QString &name : {QStringLiteral("控制台"), QStringLiteral("功能")}) {
        const DefinitionSection *s = definition.section(name);
        const auto &keys = name == QStringLiteral("控制台") ? layout->controlKeys : layout->titleKeys;
        for (int i = 0; i < int(keys.size()); ++i) {
            const auto icon = art::iconFor(keys[i].glyph);
            if (!keys[i].visible || !icon)
                continue;
            const QRect key = definition.keyRect(name, i);
            const QImage mask(maskDir().filePath(s->value(QStringLiteral("File") + QString::number(i)).value_or(QString())));
            QImage face = buildKeyFace(picture, key, mask, *edit).convertToFormat(QImage::Format_RGB32);
            const QImage iconPicture(icons.filePath(icon->fileName));
            ASSERT_FALSE(iconPicture.isNull()) << qPrintable(icon->fileName);
            ASSERT_LE(iconPicture.width(), key.width()) << qPrintable(name) << i;
            ASSERT_LE(iconPicture.height(), key.height()) << qPrintable(name) << i;
            QPainter(&face).drawImage((key.width() - iconPicture.width()) / 2, (key.height() - iconPicture.height()) / 2,
                                      iconPicture);
            double darkest = 255, lightest = 0;
            // The centre third holds the symbol.
            for (int y = key.height() / 3; y < key.height() * 2 / 3; ++y)
                for (int x = key.width() / 3; x < key.width() * 2 / 3; ++x) {
                    darkest = std::min(darkest, luminance(face.pixel(x, y)));
                    lightest = std::max(lightest, luminance(face.pixel(x, y)));
                }
            EXPECT_GT(lightest - darkest, 100) << qPrintable(name) << i << " has no legible symbol";
        }
    }
}

TEST_P(ArtPanel, PreviewIsWrittenForInspection)
{
    const QImage preview = renderPanelPreview(picture, definition, maskDir());
    QDir().mkpath(QStringLiteral(ASSETS_PREVIEW_DIR));
    const QString path = QDir(QStringLiteral(ASSETS_PREVIEW_DIR)).filePath(GetParam() + QStringLiteral(".png"));
    EXPECT_TRUE(preview.save(path));
}

INSTANTIATE_TEST_SUITE_P(Skin, ArtPanel, ::testing::ValuesIn([] {
                             std::vector<QString> names;
                             for (const QString &n : panelPictures())
                                 names.push_back(n);
                             return names;
                         }()),
                         [](const auto &info) {
                             QString name = info.param;
                             return name.replace(QLatin1Char('.'), QLatin1Char('_')).toStdString();
                         });

// The window outline is cut from the GIF's key colour at pixel (0, 0): the
// margin must be that colour all round and the body must never use it.
TEST(ArtGifPanel, HasAKeyColourMarginAndABodyWithoutIt)
{
    const QImage gif = QImage(skinDir().filePath(QStringLiteral("Nimbrel.GIF"))).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(gif.isNull());
    const QRgb key = gif.pixel(0, 0);
    const int w = gif.width(), h = gif.height();
    for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
        EXPECT_EQ(gif.pixel(corner), key);
    EXPECT_LE(w, 1023);
    EXPECT_LE(h, 1023);
    // Along every line through the middle, the key colour occurs only before
    // the body starts and after it ends: no holes and no stray key pixels.
    for (int y = h / 8; y < h * 7 / 8; ++y) {
        int first = 0, last = w - 1;
        while (first < w && gif.pixel(first, y) == key)
            ++first;
        while (last >= 0 && gif.pixel(last, y) == key)
            --last;
        ASSERT_GT(first, 0) << "line " << y << " has no margin";
        for (int x = first; x <= last; ++x)
            ASSERT_NE(gif.pixel(x, y), key) << "key colour inside the body at " << x << "," << y;
    }
}

TEST(ArtMasks, AreBlackOutsideTheKeyAndGreyInside)
{
    const QStringList masks = maskDir().entryList({QStringLiteral("*.bmp")}, QDir::Files);
    EXPECT_GE(masks.size(), 5);
    for (const QString &name : masks) {
        const QImage mask = QImage(maskDir().filePath(name)).convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(mask.isNull()) << qPrintable(name);
        EXPECT_EQ(mask.pixel(0, 0), qRgb(0, 0, 0)) << qPrintable(name);
        const QRgb centre = mask.pixel(mask.width() / 2, mask.height() / 2);
        EXPECT_NE(centre, qRgb(0, 0, 0)) << qPrintable(name);
        EXPECT_EQ(qRed(centre), qBlue(centre)) << qPrintable(name) << " is not grey";
    }
}

TEST(ArtReadme, RichTextIsSevenBitWithCp950Escapes)
{
    QFile file(programDir().filePath(QStringLiteral("ReadMe.rtf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg950"));
    EXPECT_TRUE(rtf.trimmed().endsWith('}'));
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return (c & 0x80) == 0; }));
    EXPECT_EQ(rtf.count('{'), rtf.count('}'));
    // The heading's characters, escaped byte by byte.
    const QByteArray caption = *art::encodeCp950(QStringLiteral("說明"));
    QByteArray escaped;
    for (char c : caption)
        escaped += "\\'" + QByteArray::number(static_cast<unsigned char>(c), 16).rightJustified(2, '0');
    EXPECT_TRUE(rtf.contains(escaped));
    EXPECT_TRUE(rtf.contains("Quorvel"));
    // "程" is B5 7B: its second byte, an ASCII brace, is escaped with the first.
    EXPECT_TRUE(rtf.contains("\\'b5\\'7b"));
}

TEST(ArtReadme, WebPageIsCp950WithItsCharsetDeclared)
{
    QFile file(programDir().filePath(QStringLiteral("readme.htm")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const auto page = art::decodeCp950(file.readAll());
    ASSERT_TRUE(page.has_value());
    EXPECT_TRUE(page->contains(QStringLiteral("<meta charset=\"big5\">")));
    EXPECT_TRUE(page->contains(QStringLiteral("選曲鍵盤")));
    EXPECT_EQ(page->count(QStringLiteral("<ul>")), page->count(QStringLiteral("</ul>")));
    // The play key pauses audio CDs only; video CDs and files are paused with the stop key,
    // which keeps the place.
    EXPECT_FALSE(page->contains(QStringLiteral("播放／暫停")));
    EXPECT_TRUE(page->contains(QStringLiteral("播放音樂光碟時，再按一次暫停")));
    EXPECT_TRUE(page->contains(QStringLiteral("影音光碟與音樂檔停在原處")));
}

} // namespace
