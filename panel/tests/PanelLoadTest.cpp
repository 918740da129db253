// A panel shown on a window: picture, names, outline and key faces with their cache.

#include "ModButtonIni.h"
#include "ModOutLine.h"
#include "PanelGeometry.h"
#include "PanelTestSupport.h"
#include "frmProg.h"

#include "ModIniFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QProgressBar>
#include <QStandardPaths>

namespace {

constexpr int PlayerKeys = 28;

class PanelLoadTest : public PanelTest
{
protected:
    PanelObjects &obj() { return form->obj(); }

    // A panel picture drawn under the built-in layout, with its definition.
    QString makePanel(const QString &fileName, const char *format = nullptr)
    {
        const QString path = skinDir() + QLatin1Char('/') + fileName;
        makePanelPicture(obj(), 420, 300).save(path, format);
        useMaskForAllKeys(obj(), maskDir(), QStringLiteral("round.bmp"));
        obj().Image1->setVisible(true);
        const QString name = QFileInfo(fileName).fileName();
        IniFile = skinDir() + QLatin1Char('/') + name.left(name.size() - 3) + QStringLiteral("INI");
        SaveButtonIni(*form);
        return path;
    }

    // What the player's start does with a chosen panel.
    void showPanel(const QString &picture, bool rebuild = false)
    {
        state.DeskPicFile = picture;
        obj().InitObj(false);
        form->ChkDeskName();
        if (QFileInfo::exists(state.DeskIniFile)) {
            IniFile = state.DeskIniFile;
            ReadButtonIni(*form, true);
        }
        form->DeskUpdate(rebuild);
    }

    QString cacheFile(const QString &stem, int number) const
    {
        return cacheDir() + QStringLiteral("/%1-%2.Bmp").arg(stem).arg(number, 2, 10, QLatin1Char('0'));
    }

    QStringList cacheFiles() const
    {
        return QDir(cacheDir()).entryList(QDir::Files, QDir::Name);
    }

    QByteArray fingerprint(const QString &path) const
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5) +
               QByteArray::number(QFileInfo(path).lastModified().toMSecsSinceEpoch());
    }
};

TEST_F(PanelLoadTest, ShownPanelHasEveryFaceBuiltUnderItsMask)
{
    colors.selectColorType(ButtonColorSettings::Coloured);
    colors.setVScroll1(0, -230);
    colors.setVScroll1(1, -160);
    colors.setVScroll1(2, -40);
    const QString picture = makePanel(QStringLiteral("Blue.jpg"));
    recreateForm();
    clearLog();
    showPanel(picture);

    EXPECT_EQ(host->form.size(), QSize(420, 300));
    EXPECT_TRUE(host->form.isVisible());
    EXPECT_EQ(host->shownDeskPic, picture);
    EXPECT_EQ(state.DeskPicWidth.toDouble(), 420);
    EXPECT_EQ(state.DeskFormWidth, 420 * 15);
    EXPECT_FALSE(form->progress().isVisible());
    EXPECT_EQ(form->progress().ProgressBar1->value(), 96) << "28 of 29";
    EXPECT_EQ(obj().Label1->text(), QString());

    QStringList expected;
    for (int i = 0; i < PlayerKeys; ++i)
        expected << QFileInfo(cacheFile(QStringLiteral("Blue"), i)).fileName();
    EXPECT_EQ(cacheFiles(), expected);
    EXPECT_EQ(logText().count(QStringLiteral("產生按鈕-")), PlayerKeys);

    // Under the mask the face is recoloured; outside it the panel shows through.
    const QImage &panel = obj().FormPicture();
    for (PanelKey *key : obj().PicCtl + obj().PicNum + obj().PicButton) {
        const QImage face = key->Picture();
        ASSERT_EQ(face.size(), key->size());
        const QPoint centre(key->width() / 2, key->height() / 2);
        EXPECT_EQ(face.pixel(0, 0), panel.pixel(key->pos())) << key->objectName().toStdString();
        EXPECT_NE(face.pixel(centre), panel.pixel(key->pos() + centre));
        EXPECT_GT(qRed(face.pixel(centre)), qBlue(face.pixel(centre))) << "the chosen colour is orange";
    }

    const QImage shot = screenshot(host->form);
    ASSERT_TRUE(shot.save(testOutputFolder() + QStringLiteral("/panel-shown.png")));
    const PanelKey *play = obj().PicCtl[0];
    const QPoint centre = play->pos() + QPoint(play->width() / 2, play->height() / 2);
    EXPECT_EQ(shot.pixel(centre) & 0xFFFFFF, play->Picture().pixel(play->width() / 2, play->height() / 2) & 0xFFFFFF);
}

TEST_F(PanelLoadTest, SecondShowingTakesTheFacesFromTheCacheAndRebuildRewritesThem)
{
    const QString picture = makePanel(QStringLiteral("Blue.jpg"));
    recreateForm();
    showPanel(picture);
    QMap<QString, QByteArray> before;
    for (const QString &name : cacheFiles())
        before[name] = fingerprint(cacheDir() + QLatin1Char('/') + name);
    ASSERT_EQ(before.size(), PlayerKeys);
    const QImage builtFace = obj().PicNum[4]->Picture();

    recreateForm();
    clearLog();
    showPanel(picture);
    EXPECT_EQ(logText().count(QStringLiteral("載入按鈕-")), PlayerKeys);
    EXPECT_EQ(logText().count(QStringLiteral("產生按鈕-")), 0);
    for (const QString &name : cacheFiles())
        EXPECT_EQ(fingerprint(cacheDir() + QLatin1Char('/') + name), before[name]) << name.toStdString();
    EXPECT_EQ(obj().PicNum[4]->Picture().convertToFormat(QImage::Format_RGB32),
              builtFace.convertToFormat(QImage::Format_RGB32));

    // A rebuild replaces every file, even one that is still there.
    const QString fifth = cacheFile(QStringLiteral("Blue"), 5);
    QImage stale(10, 10, QImage::Format_RGB32);
    stale.fill(Qt::red);
    ASSERT_TRUE(stale.save(fifth, "BMP"));
    clearLog();
    form->ChkDeskName();
    form->DeskUpdate(true);
    EXPECT_EQ(logText().count(QStringLiteral("產生按鈕-")), PlayerKeys);
    EXPECT_EQ(QImage(fifth).size(), obj().PicCtl[5]->size());
}

TEST_F(PanelLoadTest, UntickedFamilyTakesNoCacheNumbers)
{
    const QString picture = makePanel(QStringLiteral("Blue.jpg"));
    recreateForm();
    colors.setCheck2(ButtonColorSettings::NumberPad, 0);
    clearLog();
    showPanel(picture);
    EXPECT_EQ(cacheFiles().size(), 18);
    EXPECT_TRUE(QFileInfo::exists(cacheFile(QStringLiteral("Blue"), 17)));
    EXPECT_FALSE(QFileInfo::exists(cacheFile(QStringLiteral("Blue"), 18)));
    EXPECT_TRUE(logText().contains(QStringLiteral("產生按鈕-") + cacheFile(QStringLiteral("Blue"), 14)));
}

TEST_F(PanelLoadTest, DamagedCacheFileIsBuiltAnew)
{
    const QString picture = makePanel(QStringLiteral("Blue.jpg"));
    recreateForm();
    showPanel(picture);
    QFile damaged(cacheFile(QStringLiteral("Blue"), 3));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("BM");
    damaged.close();
    // Cut short after its header: the decoder would fill the rest with noise.
    QFile truncated(cacheFile(QStringLiteral("Blue"), 5));
    ASSERT_TRUE(truncated.open(QIODevice::ReadWrite));
    ASSERT_TRUE(truncated.resize(100));
    truncated.close();
    recreateForm();
    clearLog();
    showPanel(picture);
    EXPECT_EQ(logText().count(QStringLiteral("產生按鈕-")), 2);
    EXPECT_TRUE(logText().contains(QStringLiteral("產生按鈕-") + cacheFile(QStringLiteral("Blue"), 5)));
    EXPECT_EQ(QImage(cacheFile(QStringLiteral("Blue"), 3)).size(), obj().PicCtl[3]->size());
    EXPECT_GT(QFileInfo(cacheFile(QStringLiteral("Blue"), 5)).size(), 100);
}

// Writes a GIF through ImageMagick, since Qt reads GIF but does not write it.
bool saveGif(const QImage &image, const QString &path)
{
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    if (convert.isEmpty())
        return false;
    const QString png = path + QStringLiteral(".png");
    image.save(png);
    const int code = QProcess::execute(convert, {png, path});
    QFile::remove(png);
    return code == 0 && QFileInfo::exists(path);
}

TEST_F(PanelLoadTest, GifPanelGetsItsOutlineAndTheNextJpgPanelThePlainRectangle)
{
    QImage gif = makePanelPicture(obj(), 420, 300);
    {
        QPainter painter(&gif);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::magenta);
        QPainterPath margin;
        margin.addRect(gif.rect());
        QPainterPath body;
        body.addRoundedRect(QRectF(gif.rect()).adjusted(6, 6, -6, -6), 40, 40);
        painter.drawPath(margin.subtracted(body));
    }
    const QString gifPath = skinDir() + QStringLiteral("/Round.gif");
    if (!saveGif(gif, gifPath))
        GTEST_SKIP() << "no GIF writer";
    const QString jpgPath = makePanel(QStringLiteral("Blue.jpg"));
    recreateForm();

    showPanel(gifPath);
    const QRegion outline = host->form.mask();
    EXPECT_EQ(outline, FormOutLine(QImage(gifPath)));
    EXPECT_FALSE(outline.contains(QPoint(2, 2)));
    EXPECT_FALSE(outline.contains(QPoint(8, 8))) << "the rounded corner is cut away";
    EXPECT_TRUE(outline.contains(QPoint(210, 150)));
    EXPECT_TRUE(outline.contains(QPoint(210, 8)));
    screenshot(host->form).save(testOutputFolder() + QStringLiteral("/panel-gif.png"));

    state.WinVersion = QString();  // no Windows version on this system
    showPanel(jpgPath);
    EXPECT_EQ(host->form.mask(), PlainOutLine(420, 300)) << "a JPG panel never keeps the GIF's outline";
}

TEST_F(PanelLoadTest, AKeyWhoseMaskIsMissingOrUnreadableKeepsItsOwnSize)
{
    const QString picture = makePanel(QStringLiteral("Masks.jpg"));
    QFile broken(maskDir() + QStringLiteral("/broken.bmp"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM\x10\x00garbage");
    broken.close();
    const QString titles = QStringLiteral("功能");
    const QSize own(44, 30);
    ASSERT_NE(obj().PicButton[0]->size(), own);
    for (const auto &[i, mask] : {std::pair{0, "gone.bmp"}, std::pair{1, "broken.bmp"}}) {
        WriteIniString(IniFile, titles, QStringLiteral("File%1").arg(i), QLatin1String(mask));
        WriteIniString(IniFile, titles, QStringLiteral("W%1").arg(i), QString::number(own.width()));
        WriteIniString(IniFile, titles, QStringLiteral("H%1").arg(i), QString::number(own.height()));
    }
    for (bool cached : {false, true}) {
        recreateForm();
        showPanel(picture);
        for (int i : {0, 1}) {
            EXPECT_EQ(obj().PicButton[i]->size(), own) << "title button " << i << (cached ? " from the cache" : "");
            EXPECT_EQ(obj().PicButton[i]->Picture().size(), own);
        }
    }
}

TEST_F(PanelLoadTest, DamagedPictureIsLoggedAndTheLoadGoesOn)
{
    const QString good = makePanel(QStringLiteral("Bad.jpg"));
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray head = file.read(40);
    file.close();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(head);
    file.close();
    recreateForm();
    clearLog();
    showPanel(good);
    EXPECT_TRUE(logText().contains(QStringLiteral("這個面板格式錯誤") + good));
    EXPECT_TRUE(logText().contains(QStringLiteral("載入按鈕完成")));
    EXPECT_TRUE(host->form.isVisible());
}

// A panel picture that cannot be shown leaves neither a black window nor faces cut
// from the panel before it, cached under its name.
TEST_F(PanelLoadTest, UndecodablePictureFallsBackToTheDefaultPanelElseToAPlainGround)
{
    const QString before = makePanel(QStringLiteral("Before.jpg"));
    const QString broken = skinDir() + QStringLiteral("/Broken.jpg");
    QFile::copy(skinDir() + QStringLiteral("/Before.INI"), skinDir() + QStringLiteral("/Broken.INI"));
    QFile junk(broken);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("not a picture at all");
    junk.close();
    showPanel(before);
    const QImage beforePicture = obj().FormPicture();

    // No default panel either: a plain ground with a cap under every key.
    showPanel(broken);
    EXPECT_TRUE(form->plainPanel());
    EXPECT_TRUE(logText().contains(QStringLiteral("這個面板格式錯誤") + broken));
    const QImage plain = obj().FormPicture();
    ASSERT_FALSE(plain.isNull());
    EXPECT_NE(plain, beforePicture);
    EXPECT_EQ(host->form.size(), plain.size());
    const QRgb ground = plain.pixel(0, 0);
    for (const PanelKey *key : obj().PicCtl) {
        if (!key->isVisible())
            continue;
        EXPECT_NE(plain.pixel(key->geometry().center()), ground) << "a cap under key " << key->Index();
        const QImage face = BuildKeyFace(plain.copy(key->geometry()), obj().PicCtlBak[key->Index()].Picture,
                                         colors.ColorType(), colors.red(), colors.green(), colors.blue(),
                                         colors.brightness());
        EXPECT_EQ(key->Picture(), face) << "the face is cut from the plain ground, not from the panel before";
    }
    EXPECT_FALSE(cacheFiles().join(' ').contains(QStringLiteral("Broken"))) << cacheFiles().join(' ').toStdString();
    EXPECT_TRUE(host->form.isVisible());

    // With the default panel beside the program, that panel is shown with its own layout.
    const QString fallback = form->DefaultDeskPicFile();
    QFile::copy(before, fallback);
    QFile::copy(skinDir() + QStringLiteral("/Before.INI"), skinDir() + QStringLiteral("/Quorvel.INI"));
    showPanel(broken);
    EXPECT_FALSE(form->plainPanel());
    EXPECT_EQ(state.DeskPicFile, fallback);
    EXPECT_EQ(state.DeskIniFile, skinDir() + QStringLiteral("/Quorvel.INI"));
    EXPECT_EQ(obj().FormPicture(), beforePicture);
    EXPECT_TRUE(QFile::exists(cacheFile(QStringLiteral("Quorvel"), 0)));
    EXPECT_FALSE(cacheFiles().join(' ').contains(QStringLiteral("Broken")));
}

TEST_F(PanelLoadTest, NamesDerivedFromThePicture)
{
    state.ButtonCacheDir = QStringLiteral("/cache");
    QFile(skinDir() + QStringLiteral("/a.jpeg")).open(QIODevice::WriteOnly);
    state.DeskPicFile = skinDir() + QStringLiteral("/a.jpeg");
    form->ChkDeskName();
    EXPECT_EQ(state.DeskIniFile, skinDir() + QStringLiteral("/a.jINI"));
    EXPECT_EQ(state.ButtonCacheFile, QStringLiteral("/cache/a.-00.Bmp")) << "four characters cut from the name";
    EXPECT_EQ(form->progress().Label2->text(), QStringLiteral("面板檔名:a.jpeg"));

    state.DeskPicFile = programDir.path() + QStringLiteral("/elsewhere/Missing.jpg");
    form->ChkDeskName();
    EXPECT_EQ(state.DeskPicFile, programDir.path() + QStringLiteral("/Desk/Quorvel.JPG"));
    EXPECT_EQ(state.DeskIniFile, skinDir() + QStringLiteral("/Quorvel.INI"));
}

TEST_F(PanelLoadTest, SamePanelTwiceReloadsOnlyTheWindowSize)
{
    const QString picture = makePanel(QStringLiteral("Blue.jpg"));
    recreateForm();
    showPanel(picture);
    QFile::remove(picture);  // a reload would now fail
    host->form.resize(10, 10);
    clearLog();
    form->DeskLoad();
    EXPECT_EQ(host->form.size(), QSize(420, 300));
    EXPECT_FALSE(logText().contains(QStringLiteral("這個面板格式錯誤")));
}

TEST_F(PanelLoadTest, APictureDecodedAheadIsTakenOnlyForTheFileItWasDecodedFor)
{
    const QString blue = makePanel(QStringLiteral("Blue.jpg"));
    const QString small = skinDir() + QStringLiteral("/Small.bmp");
    QImage smallPicture(300, 200, QImage::Format_RGB32);
    smallPicture.fill(Qt::darkRed);
    ASSERT_TRUE(smallPicture.save(small));
    recreateForm();

    // The start's road: decoded while the definition is read, then shown.
    state.DeskPicFile = blue;
    form->ChkDeskName();
    form->prefetchDeskPicture();
    form->DeskUpdate(false);
    EXPECT_EQ(host->form.size(), QSize(420, 300));
    EXPECT_EQ(obj().FormPicture(), QImage(blue).convertToFormat(obj().FormPicture().format()));

    // Another panel chosen before the load: the picture read is the one chosen.
    form->prefetchDeskPicture();
    state.DeskPicFile = small;
    form->ChkDeskName();
    form->DeskUpdate(false);
    EXPECT_EQ(host->form.size(), QSize(300, 200));
    EXPECT_EQ(obj().FormPicture().pixelColor(10, 10), QColor(Qt::darkRed));
}

TEST_F(PanelLoadTest, MessageLineOverAChangingPictureAreaIsLight)
{
    const QString picture = makePanel(QStringLiteral("Blue.jpg"));
    recreateForm();
    state.ShowPic = true;
    showPanel(picture);
    ASSERT_TRUE(state.ImageVisible);
    const QColor colour = foreColor(obj().Label1);
    EXPECT_GE(colour.red(), 0xC0);
    EXPECT_GE(colour.green(), 0xC0);
    EXPECT_GE(colour.blue(), 0xC0);
}

}  // namespace
