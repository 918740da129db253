// The encoders behind the art files: CP950 text and GIF pictures.

#include "Cp950.h"
#include "DefinitionWriter.h"
#include "GifWriter.h"
#include "PanelDesigns.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

TEST(ArtCp950, EncodesCharactersWhoseSecondByteIsABackslashOrBracket)
{
    EXPECT_EQ(art::encodeCp950(QStringLiteral("功")), QByteArray("\xA5\x5C"));
    EXPECT_EQ(art::encodeCp950(QStringLiteral("設")), QByteArray("\xB3\x5D"));
    EXPECT_EQ(art::decodeCp950(QByteArray("\xA5\x5C\xB3\x5D")), QStringLiteral("功設"));
}

TEST(ArtCp950, RefusesTextItCannotCarry)
{
    EXPECT_FALSE(art::encodeCp950(QStringLiteral("😀")).has_value());
    EXPECT_FALSE(art::decodeCp950(QByteArray("\xA5")).has_value()) << "a lone lead byte";
}

QImage readGif(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    return reader.read();
}

// Sizes around the point where the encoder clears its table.
TEST(ArtGifWriter, RoundTripsEveryPixelExactly)
{
    if (!QImageReader::supportedImageFormats().contains("gif"))
        GTEST_SKIP() << "this Qt cannot read GIF";
    QRandomGenerator random(7);
    for (QSize size : {QSize(1, 1), QSize(250, 1), QSize(251, 1), QSize(17, 31), QSize(300, 200)}) {
        QImage indexed(size, QImage::Format_Indexed8);
        QVector<QRgb> table;
        for (int i = 0; i < 256; ++i)
            table.append(qRgb(i, 255 - i, (i * 37) % 256));
        indexed.setColorTable(table);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                indexed.setPixel(x, y, random.bounded(256));
        const QImage back = readGif(art::encodeGif(indexed)).convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(back.size(), size);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                ASSERT_EQ(back.pixel(x, y), indexed.pixel(x, y)) << size.width() << "x" << size.height();
    }
}

TEST(ArtGifWriter, KeyColourIsKeptOnlyWhereItWasExact)
{
    const QRgb key = qRgb(255, 0, 255);
    QImage picture(8, 1, QImage::Format_RGB32);
    const QRgb colours[] = {key, qRgb(254, 0, 255), qRgb(250, 10, 250), qRgb(0, 0, 0),
                            qRgb(255, 255, 255), qRgb(128, 128, 128), key, qRgb(255, 0, 254)};
    for (int x = 0; x < 8; ++x)
        picture.setPixel(x, 0, colours[x]);
    const QImage indexed = art::toIndexedWithKey(picture, key);
    for (int x = 0; x < 8; ++x) {
        const bool isKey = indexed.pixel(x, 0) == (key | 0xFF000000u);
        EXPECT_EQ(isKey, colours[x] == key) << "pixel " << x;
    }
}

TEST(ArtDefinitionWriter, WritesOneFontGroupForTheLogoWithTheLastLabelsFont)
{
    art::PanelLayout panel = art::defaultPanel();
    panel.logoLabels[0].font.name = QStringLiteral("First");
    panel.logoLabels[1].font.name = QStringLiteral("Second");
    const auto sections = art::definitionSections(panel);
    const auto &logo = sections[4];
    ASSERT_EQ(logo.name, QStringLiteral("LOGO"));
    EXPECT_EQ(logo.entries[0], std::make_pair(QStringLiteral("FontName"), QStringLiteral("Second")));
    EXPECT_EQ(std::count_if(logo.entries.begin(), logo.entries.end(),
                            [](const auto &e) { return e.first == QStringLiteral("FontName"); }),
              1);
}

TEST(ArtDefinitionWriter, EndsEveryLineWithCrLfAndRefusesTextOutsideCp950)
{
    art::PanelLayout panel = art::defaultPanel();
    const QByteArray bytes = *art::definitionFileBytes(panel);
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));
    EXPECT_TRUE(bytes.startsWith(*art::encodeCp950(QStringLiteral("[編輯]\r\nMode="))));
    panel.messageLine.font.name = QStringLiteral("😀");
    EXPECT_FALSE(art::definitionFileBytes(panel).has_value());
}

TEST(ArtDefinitionWriter, NamesTheDefinitionAfterThePicture)
{
    EXPECT_EQ(art::definitionNameFor(QStringLiteral("Quorvel.JPG")), QStringLiteral("Quorvel.INI"));
    EXPECT_EQ(art::definitionNameFor(QStringLiteral("a.jpeg")), QStringLiteral("a.jINI"));
}

} // namespace
