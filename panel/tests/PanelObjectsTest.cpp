// The object set's layout routines and the number pad.

#include "PanelGeometry.h"
#include "PanelTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>

namespace {

class PanelObjectsTest : public PanelTest
{
protected:
    PanelObjects &obj() { return form->obj(); }
    LoadedMedia &media() { return host->playback; }
    QStringList captions()
    {
        QStringList list;
        for (QLabel *label : obj().LabNum)
            list << label->text();
        return list;
    }
};

TEST_F(PanelObjectsTest, InitObjPreparesCaptionsTipsAndHidesTheKeys)
{
    obj().InitObj(false);
    EXPECT_EQ(captions(), QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", ">>"}));
    EXPECT_EQ(obj().PicNum[0]->toolTip(), QStringLiteral("軌道(01)"));
    EXPECT_EQ(obj().LabNum[8]->toolTip(), QStringLiteral("軌道(09)"));
    EXPECT_EQ(obj().PicNum[9]->toolTip(), QStringLiteral("下一頁,右鍵播放清單"));
    for (PanelKey *key : obj().PicCtl)
        EXPECT_FALSE(visibleFlag(key));
    EXPECT_EQ(obj().PicCtl[0]->cursor().shape(), Qt::PointingHandCursor);
}

TEST_F(PanelObjectsTest, PageKeyFollowsTheMediaCount)
{
    obj().InitObj(true);
    media().MediaCount = 9;
    obj().ChkLab(true);
    EXPECT_FALSE(obj().LabNum[9]->isEnabled());

    media().MediaCount = 10;
    obj().ChkLab(true);
    EXPECT_TRUE(obj().LabNum[9]->isEnabled());
    obj().ChkLab(false);
    EXPECT_EQ(captions(), QStringList({"10", "11", "12", "13", "14", "15", "16", "17", "18", "<<"}));
    EXPECT_TRUE(obj().LabNum[0]->isEnabled());
    for (int i = 1; i < 9; ++i)
        EXPECT_FALSE(obj().LabNum[i]->isEnabled()) << i;

    obj().ChkLab(false);
    EXPECT_EQ(obj().LabNum[0]->text(), QStringLiteral("1")) << "page key toggles back";
    obj().ChkLab(false);
    obj().ChkLab(true);
    EXPECT_EQ(obj().LabNum[0]->text(), QStringLiteral("1")) << "reset always returns to page 1";
    EXPECT_EQ(obj().LabNum[9]->text(), QStringLiteral(">>"));
    EXPECT_TRUE(host->mciCommands.contains(QStringLiteral("Set CDAudio time format tmsf ")));
    EXPECT_EQ(media().MciReply.size(), 20);
}

TEST_F(PanelObjectsTest, NumberKeysPastTheFoldersFoundAreDrawnDisabled)
{
    // A scan that found 3 folders: keys 4 to 9 cannot be chosen, and must not look as if they could.
    obj().InitObj(true);
    media().MediaKind = QStringLiteral("MP3");
    media().PlayArray = {QStringLiteral("/m/a"), QStringLiteral("/m/b"), QStringLiteral("/m/c")};
    media().MediaCount = 3;
    obj().ChkLab(true);
    const auto inkOf = [](QLabel *label) {
        QImage face(label->size(), QImage::Format_RGB32);
        face.fill(QColor(0, 128, 255));  // a ground unlike any ink
        label->render(&face);
        const QRgb ink = foreColor(label).rgb();
        int count = 0;
        for (int y = 0; y < face.height(); ++y)
            for (int x = 0; x < face.width(); ++x)
                count += face.pixel(x, y) == ink;
        return count;
    };
    EXPECT_TRUE(obj().LabNum[2]->isEnabled());
    EXPECT_GT(inkOf(obj().LabNum[2]), 0);
    for (int i = 3; i < 9; ++i) {
        EXPECT_FALSE(obj().LabNum[i]->isEnabled()) << i;
        EXPECT_EQ(inkOf(obj().LabNum[i]), 0) << "key " << i + 1 << " drawn in the enabled colour";
    }
}

TEST_F(PanelObjectsTest, NoMediaDisablesEveryNumberKeyButKeepsItsNumber)
{
    obj().InitObj(true);
    media().MediaCount = 0;
    obj().ChkLab(true);
    for (int i = 0; i < 9; ++i) {
        EXPECT_FALSE(obj().LabNum[i]->isEnabled());
        EXPECT_EQ(obj().LabNum[i]->toolTip(), QString());
        EXPECT_EQ(obj().LabNum[i]->text(), QString::number(i + 1));
    }
}

TEST_F(PanelObjectsTest, MixedDiscDisablesTrackOneOnly)
{
    obj().InitObj(true);
    media().MediaKind = QStringLiteral("CDAudio");
    media().MediaCount = 12;
    media().MixedDisc = true;
    obj().ChkLab(true);
    EXPECT_FALSE(obj().LabNum[0]->isEnabled());
    EXPECT_TRUE(obj().LabNum[1]->isEnabled());
    obj().ChkLab(false);
    EXPECT_TRUE(obj().LabNum[0]->isEnabled()) << "track 10 on page 2";
}

TEST_F(PanelObjectsTest, MusicFileKeysCarryTheirTrimmedFileAsTip)
{
    obj().InitObj(true);
    media().MediaKind = QStringLiteral("MP3");
    media().MediaCount = 2;
    media().PlayArray = {QStringLiteral("  song one.mp3 "), QStringLiteral("two.mp3")};
    obj().ChkLab(true);
    EXPECT_EQ(obj().LabNum[0]->toolTip(), QStringLiteral("song one.mp3"));
    EXPECT_EQ(obj().PicNum[1]->toolTip(), QStringLiteral("two.mp3"));
    EXPECT_EQ(obj().LabNum[2]->toolTip(), QString());
}

TEST_F(PanelObjectsTest, ChkLabColorMarksThePlayingTrackGreen)
{
    obj().InitObj(true);
    state.LabColor = QVector<QColor>(10, QColor(10, 20, 30));
    media().MediaCount = 9;
    obj().ChkLab(true);
    obj().ChkLabColor(2);
    EXPECT_EQ(foreColor(obj().LabNum[2]), QColor(0, 255, 0));
    EXPECT_EQ(foreColor(obj().LabNum[1]), QColor(10, 20, 30));
    obj().ChkLabColor(4);
    EXPECT_EQ(foreColor(obj().LabNum[2]), QColor(10, 20, 30));
}

TEST_F(PanelObjectsTest, InvertColor)
{
    EXPECT_EQ(PanelObjects::InvertColor(0), 0xFFFFFF);
    EXPECT_EQ(PanelObjects::InvertColor(0xFFFFFF), 0);
    EXPECT_EQ(PanelObjects::InvertColor(0x102030), 0xE0D0C0);
    EXPECT_EQ(PanelObjects::InvertColor(-1), 0);
    // The largest value: (0x7F000000 mod 0xFFFFFF) = 0x7F, low bits cleared, without overflow.
    EXPECT_EQ(PanelObjects::InvertColor(0x7FFFFFFF), 0x70);
}

TEST_F(PanelObjectsTest, SeekTrackKeepsItsKnob)
{
    PanelKey *knob = obj().PicCtl[9];
    PanelKey *track = obj().PicCtl[13];
    knob->setGeometry(5, 0, 12, 16);
    track->setGeometry(20, 100, 20, 18);  // too narrow, 2 taller than the knob
    obj().AdjLine();
    EXPECT_EQ(track->width(), 36);
    EXPECT_EQ(track->height(), 16) << "shrunk to the knob's height";
    EXPECT_EQ(knob->y(), 100);
    EXPECT_EQ(knob->x(), 20);
    EXPECT_EQ(obj().Line1[0]->Y1, 7);
    EXPECT_EQ(obj().Line1[1]->Y1, 8);
    EXPECT_EQ(obj().Line1[0]->X2, 31);

    track->setGeometry(20, 100, 100, 20);  // 4 taller keeps its height
    obj().AdjLine();
    EXPECT_EQ(track->height(), 20);
    EXPECT_EQ(knob->y(), 102);
}

TEST_F(PanelObjectsTest, ShowObjLeavesHiddenWhatMustStayHidden)
{
    obj().InitObj(false);
    state.ShowPic = true;
    state.ImageVisible = false;
    obj().ShowObj(true);
    EXPECT_FALSE(visibleFlag(obj().PicCtl[6]));
    EXPECT_FALSE(visibleFlag(obj().Label2[2]));
    EXPECT_FALSE(visibleFlag(obj().ObjBox));
    EXPECT_FALSE(visibleFlag(obj().Image1));
    EXPECT_TRUE(visibleFlag(obj().PicCtl[5]));
    EXPECT_TRUE(visibleFlag(obj().LabNum[3]));
    EXPECT_TRUE(visibleFlag(obj().Line1[0]));
    state.ImageVisible = true;
    obj().ShowObj(true);
    EXPECT_TRUE(visibleFlag(obj().Image1));
    obj().ShowObj(false);
    EXPECT_FALSE(visibleFlag(obj().PicNum[0]));
    EXPECT_FALSE(visibleFlag(obj().Label1));
}

TEST_F(PanelObjectsTest, ShowObjAlsoHidesTheWindowsOtherNamedControls)
{
    auto *playList = new QWidget(&host->form);
    playList->setObjectName(QStringLiteral("PlayList"));
    auto *timerLike = new QWidget(&host->form);
    timerLike->setObjectName(QStringLiteral("TimerClock"));
    auto *unnamed = new QWidget(&host->form);
    playList->show();
    timerLike->show();
    unnamed->show();
    obj().ShowObj(true);
    EXPECT_FALSE(visibleFlag(playList));
    EXPECT_TRUE(visibleFlag(timerLike));
    EXPECT_TRUE(visibleFlag(unnamed));

    state.PixelScale = 1.5;
    playList->setGeometry(10, 10, 100, 40);
    obj().FormResize();
    EXPECT_EQ(playList->geometry(), QRect(15, 15, 150, 60));
}

TEST_F(PanelObjectsTest, AdjLabelFitsTheMessageIntoItsBox)
{
    state.TextLeft = 30;
    state.TextTop = 100;
    state.TextWidth = 60;
    state.TextHeight = 16;
    obj().Label1->setText(QStringLiteral("短"));
    obj().AdjLabel();
    EXPECT_EQ(obj().Label1->geometry(), QRect(30, 100, 60, 16));
    obj().Label1->setText(QStringLiteral("這是一行很長很長的訊息文字,放不進文字框"));
    obj().AdjLabel();
    EXPECT_EQ(obj().Label1->y(), 92) << "two lines, half a line higher";
    EXPECT_EQ(obj().Label1->width(), 60);

    // A message of three lines starts at the top of its box: its first line is drawn whole,
    // just as it is drawn alone.
    const auto firstLineOf = [&](const QString &text) {
        obj().Label1->setText(text);
        return obj().Label1->grab().toImage().copy(0, 0, 60, obj().Label1->fontMetrics().height());
    };
    const QImage alone = firstLineOf(QStringLiteral("第一行"));
    EXPECT_EQ(firstLineOf(QStringLiteral("第一行\r\n第二行\r\n第三行")), alone);
}

TEST_F(PanelObjectsTest, AdjFormCentresAlongTheLongerSide)
{
    state.ScreenClass = 800;
    state.ScreenHeight = 600;
    state.DeskPicWidth = 400.0;
    state.DeskPicHeight = 300;
    host->form.resize(400, 300);
    obj().ADJForm();
    EXPECT_EQ(host->form.pos(), QPoint(200, 0));
    state.DeskPicWidth = 200.0;
    state.DeskPicHeight = 400;
    host->form.resize(200, 400);
    obj().ADJForm();
    EXPECT_EQ(host->form.pos(), QPoint(0, 100));
}

TEST(ButtonColorSettingsTest, DesignValuesRangesAndDerivedColours)
{
    ButtonColorSettings colors;
    EXPECT_EQ(colors.ColorType(), 0);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(colors.VScroll1(i), 0);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(colors.familyTicked(i));
    int changes = 0;
    colors.onChange = [&changes] { ++changes; };
    EXPECT_TRUE(colors.setVScroll1(0, -40));
    EXPECT_EQ(colors.red(), 40);
    EXPECT_TRUE(colors.setVScroll1(3, -20));
    EXPECT_EQ(colors.brightness(), 20);
    EXPECT_FALSE(colors.setVScroll1(0, 1));
    EXPECT_FALSE(colors.setVScroll1(3, 129));
    EXPECT_FALSE(colors.setVScroll1(4, 0));
    EXPECT_FALSE(colors.selectColorType(3));
    EXPECT_TRUE(colors.selectColorType(1));
    EXPECT_EQ(changes, 3);
}

}  // namespace

namespace {

// The icons are pictures of the "Icon" folder beside the program.
class KeyIconTest : public PanelObjectsTest
{
protected:
    void SetUp() override
    {
        PanelObjectsTest::SetUp();
        const QDir built(QCoreApplication::applicationDirPath() + QStringLiteral("/Icon"));
        if (!built.exists())
            GTEST_SKIP() << "the icons are not built beside the tests";
        QDir().mkpath(programDir.filePath(QStringLiteral("Icon")));
        for (const QString &name : built.entryList(QDir::Files))
            QFile::copy(built.filePath(name), programDir.filePath(QStringLiteral("Icon/") + name));
        recreateForm();
    }
    QImage icon(const QString &name) const
    {
        return QImage(programDir.filePath(QStringLiteral("Icon/") + name)).convertToFormat(QImage::Format_ARGB32);
    }
    static QImage shown(const QLabel *label) { return label->pixmap().toImage().convertToFormat(QImage::Format_ARGB32); }
};

}  // namespace

TEST_F(KeyIconTest, EveryControlAndTitleKeyGetsItsIconCentredAndThePlayKeySwitchesFaces)
{
    const int withIcon[] = {0, 1, 2, 3, 4, 5, 7, 8, 10, 11, 12};
    for (int i : withIcon)
        EXPECT_FALSE(obj().ImageButton1[i]->pixmap().isNull()) << i;
    for (int i : {9, 13})
        EXPECT_TRUE(obj().ImageButton1[i]->pixmap().isNull()) << i << " (knob and track)";
    for (QLabel *label : obj().ImageButton)
        EXPECT_FALSE(label->pixmap().isNull());
    EXPECT_EQ(shown(obj().ImageButton1[1]), icon(QStringLiteral("Stop.png")));
    EXPECT_EQ(shown(obj().ImageButton[3]), icon(QStringLiteral("Settings.png")));

    obj().InitObj(false);
    obj().ShowObj(true);
    const PanelKey *stop = obj().PicCtl[1];
    EXPECT_EQ(obj().ImageButton1[1]->geometry().center(), QRect(QPoint(0, 0), stop->size()).center());
    EXPECT_EQ(obj().ImageButton1[1]->size(), icon(QStringLiteral("Stop.png")).size());

    EXPECT_EQ(shown(obj().ImageButton1[0]), icon(QStringLiteral("Play.png"))) << "ImagePause(0) at start";
    obj().setPlayKeyFace(1);
    EXPECT_EQ(shown(obj().ImageButton1[0]), icon(QStringLiteral("Pause.png")));
    obj().setPlayKeyFace(0);
    EXPECT_EQ(shown(obj().ImageButton1[0]), icon(QStringLiteral("Play.png")));
}
