// The panel definition file: written from a form and read back into another.

#include "ModButtonIni.h"
#include "PanelGeometry.h"
#include "PanelTestSupport.h"

#include "Cp950.h"
#include "ModIniFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

class ButtonIniTest : public PanelTest
{
protected:
    QString definition() const { return skinDir() + QStringLiteral("/Test.INI"); }

    void writeDefinition()
    {
        IniFile = definition();
        SaveButtonIni(*form);
    }
    void readDefinition(bool withSize = true)
    {
        IniFile = definition();
        ReadButtonIni(*form, withSize);
    }
    void put(const QString &section, const QString &key, const QString &value)
    {
        WriteIniString(definition(), section, key, value);
    }
    QString get(const QString &section, const QString &key) const
    {
        return GetIniString(definition(), section, key);
    }
    PanelObjects &obj() { return form->obj(); }
};

TEST_F(ButtonIniTest, LayoutWrittenAndReadBackGivesEveryObjectItsPlaceSizeAndFont)
{
    saveMask(maskDir() + QStringLiteral("/round.bmp"), makeRoundMask(32));
    obj().PicCtl[3]->setGeometry(101, 57, 40, 22);
    obj().PicCtl[3]->Tag = QStringLiteral("round.bmp");
    obj().PicNum[9]->setGeometry(333, 200, 31, 29);
    obj().PicButton[2]->setGeometry(380, 5, 16, 16);
    QFont time(QStringLiteral("標楷體"));
    time.setPointSize(14);
    time.setBold(true);
    obj().Label2[1]->setFont(time);
    obj().Label2[1]->move(210, 77);
    obj().Label2[1]->resize(90, 20);
    obj().Image1->setGeometry(20, 44, 180, 120);
    obj().Image1->setVisible(true);
    writeDefinition();

    recreateForm();
    readDefinition();

    EXPECT_EQ(obj().PicCtl[3]->geometry(), QRect(101, 57, 40, 22));
    EXPECT_EQ(obj().PicCtl[3]->Tag, QStringLiteral("round.bmp"));
    EXPECT_EQ(obj().PicCtlBak[3].Tag, maskDir() + QStringLiteral("/round.bmp"));
    EXPECT_EQ(obj().PicCtlBak[3].Picture.size(), QSize(40, 22)) << "the mask is stretched to the key";
    EXPECT_EQ(obj().PicNum[9]->geometry(), QRect(333, 200, 31, 29));
    EXPECT_EQ(obj().PicButton[2]->geometry(), QRect(380, 5, 16, 16));
    EXPECT_EQ(obj().Label2[1]->font().family(), QStringLiteral("標楷體"));
    EXPECT_TRUE(obj().Label2[1]->font().bold());
    EXPECT_EQ(fontSize(obj().Label2[1]), 14);
    EXPECT_EQ(obj().Label2[1]->pos(), QPoint(210, 77));
    EXPECT_EQ(obj().Label2[1]->width(), 90);
    EXPECT_EQ(obj().Image1->geometry(), QRect(20, 44, 180, 120));
    EXPECT_TRUE(state.ImageVisible);
    EXPECT_EQ(state.ImageTop, 44);
    EXPECT_EQ(state.ImageWidth, 180);
}

TEST_F(ButtonIniTest, SectionsAndKeysStandInWritingOrder)
{
    colors.selectColorType(1);
    colors.setVScroll1(0, -40);
    writeDefinition();
    const QString text = Cp950::readTextFile(definition());
    const QStringList order = {QStringLiteral("[編輯]"), QStringLiteral("[控制台]"), QStringLiteral("[選曲]"),
                               QStringLiteral("[功能]"), QStringLiteral("[LOGO]"),  QStringLiteral("[時間]"),
                               QStringLiteral("[文字]"), QStringLiteral("[數字]"),  QStringLiteral("[圖形]")};
    int last = -1;
    for (const QString &section : order) {
        const int at = text.indexOf(section);
        EXPECT_GT(at, last) << section.toStdString();
        last = at;
    }
    EXPECT_EQ(get(QStringLiteral("編輯"), QStringLiteral("Mode")), QStringLiteral("1"));
    EXPECT_EQ(get(QStringLiteral("編輯"), QStringLiteral("Color0")), QStringLiteral("-40"));
    EXPECT_EQ(get(QStringLiteral("編輯"), QStringLiteral("PicWidth")), QString()) << "no panel loaded yet";
    EXPECT_EQ(get(QStringLiteral("編輯"), QStringLiteral("PicHeight")), QStringLiteral("0"));
    EXPECT_TRUE(text.contains(QStringLiteral("X0=")));
    EXPECT_LT(text.indexOf(QStringLiteral("X12=")), text.indexOf(QStringLiteral("[選曲]")));
    EXPECT_TRUE(text.contains(QStringLiteral("\r\n")));
}

TEST_F(ButtonIniTest, WriterRoundsTowardMinusInfinityInFileUnits)
{
    state.Zoom = 2;
    obj().PicCtl[0]->move(-15, 21);  // -7.5 and 10.5 file units
    setFontSize(obj().Label1, 21);   // 10.5 points
    writeDefinition();
    EXPECT_EQ(get(QStringLiteral("控制台"), QStringLiteral("X0")), QStringLiteral("-8"));
    EXPECT_EQ(get(QStringLiteral("控制台"), QStringLiteral("Y0")), QStringLiteral("10"));
    EXPECT_EQ(get(QStringLiteral("文字"), QStringLiteral("Size")), QStringLiteral("10"));
}

TEST_F(ButtonIniTest, KeySizesBelowTenOrReadWithoutSizeStayUnchanged)
{
    obj().PicCtl[0]->setGeometry(5, 5, 30, 30);
    writeDefinition();
    put(QStringLiteral("控制台"), QStringLiteral("W0"), QStringLiteral("9"));
    put(QStringLiteral("控制台"), QStringLiteral("H0"), QStringLiteral("50"));
    put(QStringLiteral("控制台"), QStringLiteral("W1"), QStringLiteral("70"));
    put(QStringLiteral("控制台"), QStringLiteral("H1"), QStringLiteral("70"));
    obj().PicCtl[0]->resize(44, 44);
    const QSize before = obj().PicCtl[1]->size();

    readDefinition(true);
    EXPECT_EQ(obj().PicCtl[0]->size(), QSize(44, 50));

    obj().PicCtl[1]->resize(before);
    readDefinition(false);
    EXPECT_EQ(obj().PicCtl[1]->size(), before);
}

// A damaged definition must not make a key allocate its face at a million pixels square.
TEST_F(ButtonIniTest, SizesReadFromTheFileAreNoLargerThanTheScreens)
{
    writeDefinition();
    const QString huge = QStringLiteral("1048576");
    put(QStringLiteral("控制台"), QStringLiteral("W2"), huge);
    put(QStringLiteral("控制台"), QStringLiteral("H2"), huge);
    put(QStringLiteral("選曲"), QStringLiteral("W0"), huge);
    put(QStringLiteral("功能"), QStringLiteral("H1"), huge);
    put(QStringLiteral("時間"), QStringLiteral("W0"), huge);
    put(QStringLiteral("文字"), QStringLiteral("W"), huge);
    put(QStringLiteral("圖形"), QStringLiteral("W"), huge);
    put(QStringLiteral("圖形"), QStringLiteral("H"), huge);
    put(QStringLiteral("LOGO"), QStringLiteral("Size0"), QStringLiteral("2000"));
    readDefinition(true);

    const QSize span = screenSpan();
    ASSERT_LT(span.width(), 100000);
    EXPECT_EQ(obj().PicCtl[2]->size(), span);
    EXPECT_EQ(obj().PicNum[0]->width(), span.width());
    EXPECT_EQ(obj().PicButton[1]->height(), span.height());
    EXPECT_EQ(obj().Label2[0]->width(), span.width());
    EXPECT_EQ(obj().Label1->width(), span.width());
    EXPECT_EQ(obj().Image1->size(), span);
    EXPECT_LE(obj().Label3[0]->height(), span.height()) << "a 2000-point logo";
    EXPECT_LE(obj().Label3[0]->width(), span.width());
    EXPECT_EQ(obj().PicCtlBak[2].Picture.size().boundedTo(span), obj().PicCtlBak[2].Picture.size());
}

TEST_F(ButtonIniTest, TimeLabelWidthRule)
{
    writeDefinition();
    put(QStringLiteral("時間"), QStringLiteral("FontItalic0"), QStringLiteral("True"));
    put(QStringLiteral("時間"), QStringLiteral("W0"), QStringLiteral("100"));
    put(QStringLiteral("時間"), QStringLiteral("FontItalic2"), QStringLiteral("True"));
    put(QStringLiteral("時間"), QStringLiteral("W2"), QStringLiteral("100"));
    put(QStringLiteral("時間"), QStringLiteral("W1"), QString());
    put(QStringLiteral("時間"), QStringLiteral("Size1"), QString());
    put(QStringLiteral("時間"), QStringLiteral("Size2"), QStringLiteral("abc"));

    readDefinition();
    EXPECT_EQ(obj().Label2[0]->width(), 110) << "italic time labels are widened in the player";
    EXPECT_EQ(obj().Label2[2]->width(), 100) << "the knob's time label is never widened";
    EXPECT_EQ(obj().Label2[1]->width(), 48) << "no width gives 48";
    EXPECT_EQ(fontSize(obj().Label2[1]), 9);
    EXPECT_EQ(fontSize(obj().Label2[2]), 12);

    state.WidenItalic = false;
    state.Zoom = 2;  // defaults of the font size do not scale
    readDefinition();
    EXPECT_EQ(obj().Label2[0]->width(), 200);
    EXPECT_EQ(fontSize(obj().Label2[1]), 9);
}

TEST_F(ButtonIniTest, NegativeAndZeroPositionsOfLabels)
{
    obj().Label1->setGeometry(33, 44, 150, 16);
    writeDefinition();
    put(QStringLiteral("LOGO"), QStringLiteral("X0"), QStringLiteral("-5"));
    put(QStringLiteral("LOGO"), QStringLiteral("Y0"), QStringLiteral("-3"));
    put(QStringLiteral("數字"), QStringLiteral("X"), QStringLiteral("-2"));
    put(QStringLiteral("數字"), QStringLiteral("Y"), QStringLiteral("-1"));
    put(QStringLiteral("文字"), QStringLiteral("X"), QStringLiteral("0"));
    put(QStringLiteral("文字"), QStringLiteral("W"), QStringLiteral("0"));
    obj().Label1->move(70, 44);

    readDefinition();
    EXPECT_EQ(obj().Label3[0]->pos(), QPoint(0, 0));
    for (QLabel *caption : obj().LabNum)
        EXPECT_EQ(caption->pos(), QPoint(0, 0));
    EXPECT_EQ(obj().Label1->x(), 70) << "X 0 leaves the left edge";
    EXPECT_EQ(obj().Label1->width(), 165);
    EXPECT_EQ(state.TextWidth, 165);
    EXPECT_EQ(state.TextTop, 44);
    EXPECT_GT(state.TextHeight, 0);
}

TEST_F(ButtonIniTest, LogoLabelsComeBackWithTheFontOfTheLastOne)
{
    QFont first(QStringLiteral("Alpha"));
    QFont last(QStringLiteral("Omega"));
    last.setItalic(true);
    obj().Label3[0]->setFont(first);
    obj().Label3[1]->setFont(last);
    writeDefinition();
    recreateForm();
    readDefinition();
    for (QLabel *logo : obj().Label3) {
        EXPECT_EQ(logo->font().family(), QStringLiteral("Omega"));
        EXPECT_TRUE(logo->font().italic());
    }
}

TEST_F(ButtonIniTest, FileWithFolderPartLoadsTheMaskFromMaskDirAndKeepsTheText)
{
    saveMask(maskDir() + QStringLiteral("/pill.bmp"), makeRoundMask(20));
    writeDefinition();
    put(QStringLiteral("選曲"), QStringLiteral("File0"), QStringLiteral("C:\\Old Masks\\pill.bmp"));
    put(QStringLiteral("選曲"), QStringLiteral("File1"), QStringLiteral("elsewhere/pill.bmp"));
    put(QStringLiteral("選曲"), QStringLiteral("File2"), QStringLiteral("gone.bmp"));
    put(QStringLiteral("選曲"), QStringLiteral("File3"), QStringLiteral("PILL.BMP"));
    obj().PicNumBak[2].Tag = QStringLiteral("stale");

    readDefinition();
    EXPECT_EQ(obj().PicNum[0]->Tag, QStringLiteral("C:\\Old Masks\\pill.bmp"));
    EXPECT_EQ(obj().PicNumBak[0].Tag, maskDir() + QStringLiteral("/pill.bmp"));
    EXPECT_EQ(obj().PicNumBak[1].Tag, maskDir() + QStringLiteral("/pill.bmp"));
    EXPECT_FALSE(obj().PicNumBak[3].Picture.isNull()) << "mask names are matched without regard to case";
    EXPECT_EQ(obj().PicNum[2]->Tag, QString()) << "a missing mask clears both tags";
    EXPECT_EQ(obj().PicNumBak[2].Tag, QString());

    writeDefinition();
    EXPECT_EQ(get(QStringLiteral("選曲"), QStringLiteral("File0")), QStringLiteral("C:\\Old Masks\\pill.bmp"));
}

TEST_F(ButtonIniTest, KeysSharingOneMaskEachGetItStretchedToTheirOwnSize)
{
    saveMask(maskDir() + QStringLiteral("/round.bmp"), makeRoundMask(32));
    obj().PicCtl[0]->setGeometry(14, 226, 26, 26);
    obj().PicCtl[1]->setGeometry(44, 226, 50, 20);
    obj().PicNum[0]->setGeometry(244, 130, 12, 40);
    for (PanelKey *key : {obj().PicCtl[0], obj().PicCtl[1], obj().PicNum[0]})
        key->Tag = QStringLiteral("round.bmp");
    writeDefinition();

    recreateForm();
    readDefinition();
    EXPECT_EQ(obj().PicCtlBak[0].Picture.size(), QSize(26, 26));
    EXPECT_EQ(obj().PicCtlBak[1].Picture.size(), QSize(50, 20));
    EXPECT_EQ(obj().PicNumBak[0].Picture.size(), QSize(12, 40));
    EXPECT_EQ(obj().PicNumBak[0].Tag, maskDir() + QStringLiteral("/round.bmp"));
}

TEST_F(ButtonIniTest, UnreadableMaskKeepsTheKeysMaskNameForTheNextSave)
{
    QFile damaged(maskDir() + QStringLiteral("/broken.bmp"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("BM\x10\x00garbage");
    damaged.close();
    writeDefinition();
    put(QStringLiteral("功能"), QStringLiteral("File0"), QStringLiteral("broken.bmp"));
    readDefinition();
    EXPECT_EQ(obj().PicButton[0]->Tag, QStringLiteral("broken.bmp"));
    EXPECT_EQ(obj().PicButtonB[0].Tag, QString()) << "no mask path for the face builder";
    writeDefinition();
    EXPECT_EQ(get(QStringLiteral("功能"), QStringLiteral("File0")), QStringLiteral("broken.bmp"));
}

TEST_F(ButtonIniTest, OlderFileWithFewerGroupsLeavesMissingElementsHiddenAtOrigin)
{
    writeDefinition();
    // An older layout: no groups for control keys 12 and 13.
    const QString text = Cp950::readTextFile(definition());
    QStringList kept;
    for (const QString &line : text.split(QStringLiteral("\r\n")))
        if (!QRegularExpression(QStringLiteral("^(X|Y|W|H|File|Visible)1[23]=")).match(line).hasMatch())
            kept << line;
    ASSERT_TRUE(Cp950::writeTextFile(definition(), kept.join(QStringLiteral("\r\n"))));
    put(QStringLiteral("控制台"), QStringLiteral("X20"), QStringLiteral("5"));  // an element the form lacks
    const QSize size = obj().PicCtl[12]->size();
    obj().PicCtl[12]->Tag = QStringLiteral("x.bmp");

    readDefinition();
    EXPECT_FALSE(visibleFlag(obj().PicCtl[12]));
    EXPECT_EQ(obj().PicCtl[12]->pos(), QPoint(0, 0));
    EXPECT_EQ(obj().PicCtl[12]->size(), size);
    EXPECT_EQ(obj().PicCtl[12]->Tag, QString());
    EXPECT_EQ(obj().PicCtlBak[12].Tag, QString());
}

TEST_F(ButtonIniTest, PictureAreaWithoutVisibleKeyIsHidden)
{
    obj().Image1->setVisible(true);
    writeDefinition();
    put(QStringLiteral("圖形"), QStringLiteral("Visible"), QString());
    state.ImageVisible = true;
    readDefinition();
    EXPECT_FALSE(state.ImageVisible);
    EXPECT_FALSE(visibleFlag(obj().Image1));

    put(QStringLiteral("圖形"), QStringLiteral("Visible"), QStringLiteral("-1"));
    readDefinition();
    EXPECT_TRUE(state.ImageVisible);
    put(QStringLiteral("圖形"), QStringLiteral("Visible"), QStringLiteral("yes"));
    readDefinition();
    EXPECT_FALSE(state.ImageVisible);
}

TEST_F(ButtonIniTest, WritingOverAnOldFileRemovesKeysTheLayoutNoLongerHas)
{
    put(QStringLiteral("控制台"), QStringLiteral("X99"), QStringLiteral("1"));
    put(QStringLiteral("Stale"), QStringLiteral("Key"), QStringLiteral("1"));
    writeDefinition();
    EXPECT_EQ(get(QStringLiteral("控制台"), QStringLiteral("X99")), QString());
    EXPECT_EQ(get(QStringLiteral("Stale"), QStringLiteral("Key")), QString());
}

TEST_F(ButtonIniTest, MissingFileLogsAndChangesNothing)
{
    clearLog();
    obj().ShowObj(true);
    obj().PicCtl[0]->move(12, 34);
    IniFile = skinDir() + QStringLiteral("/Nothing.INI");
    ReadButtonIni(*form, true);
    EXPECT_TRUE(logText().contains(QStringLiteral("面板設定檔不存在-") + IniFile));
    EXPECT_EQ(obj().PicCtl[0]->pos(), QPoint(12, 34));
    EXPECT_TRUE(visibleFlag(obj().PicCtl[0])) << "the objects are not hidden";
}

TEST_F(ButtonIniTest, ColourSettingsRoundTripAndOutOfRangeValuesAreSkipped)
{
    colors.selectColorType(2);
    colors.setVScroll1(0, -200);
    colors.setVScroll1(3, 100);
    writeDefinition();
    ButtonColorSettings fresh;
    colors = fresh;
    readDefinition();
    EXPECT_EQ(colors.ColorType(), 2);
    EXPECT_EQ(colors.VScroll1(0), -200);
    EXPECT_EQ(colors.VScroll1(3), 100);

    put(QStringLiteral("編輯"), QStringLiteral("Mode"), QStringLiteral("7"));
    put(QStringLiteral("編輯"), QStringLiteral("Color1"), QStringLiteral("300"));
    put(QStringLiteral("編輯"), QStringLiteral("Color3"), QStringLiteral("99999999"));
    readDefinition();
    EXPECT_EQ(colors.ColorType(), 2) << "a Mode naming no option is skipped";
    EXPECT_EQ(colors.VScroll1(1), 0);
    EXPECT_EQ(colors.VScroll1(3), 100);
}

TEST_F(ButtonIniTest, GarbageValuesNeverStopTheReader)
{
    writeDefinition();
    const QString garbage = QStringLiteral("\xff\xfe\xfdzz");
    for (const char *k : {"X0", "Y0", "W0", "H0", "Visible0", "File0"})
        put(QStringLiteral("控制台"), QLatin1String(k), garbage);
    put(QStringLiteral("時間"), QStringLiteral("Y0"), QStringLiteral("1e30"));
    put(QStringLiteral("時間"), QStringLiteral("FontBold0"), QStringLiteral("maybe"));
    put(QStringLiteral("LOGO"), QStringLiteral("Size0"), QStringLiteral("1e300"));
    put(QStringLiteral("圖形"), QStringLiteral("W"), QStringLiteral("-1e300"));
    const int timeTop = obj().Label2[0]->y();
    const bool bold = obj().Label2[0]->font().bold();
    clearLog();

    readDefinition();
    EXPECT_EQ(obj().PicCtl[0]->pos(), QPoint(0, 0));
    EXPECT_EQ(obj().Label2[0]->y(), timeTop) << "a Y beyond 16 bits keeps the label's top";
    EXPECT_EQ(obj().Label2[0]->font().bold(), bold) << "a flag that is no Boolean stays";
    EXPECT_TRUE(logText().contains(QStringLiteral("面板設定檔讀取完成")));
}

TEST_F(ButtonIniTest, ReaderHidesTheObjectsExceptWhatItShows)
{
    obj().ShowObj(true);
    writeDefinition();
    put(QStringLiteral("控制台"), QStringLiteral("Visible1"), QStringLiteral("True"));
    put(QStringLiteral("控制台"), QStringLiteral("Visible2"), QStringLiteral("0"));
    readDefinition();
    EXPECT_TRUE(visibleFlag(obj().PicCtl[1]));
    EXPECT_FALSE(visibleFlag(obj().PicCtl[2]));
    EXPECT_FALSE(visibleFlag(obj().Label1));
}

// The definition used to be written one WriteIni per entry, each rewriting
// the file; it is now written once. The bytes must be the same.
TEST_F(ButtonIniTest, OneSaveWritesTheSameBytesAsEntryByEntry)
{
    saveMask(maskDir() + QStringLiteral("/round.bmp"), makeRoundMask(32));
    obj().PicCtl[3]->Tag = QStringLiteral("round.bmp");
    obj().PicNum[2]->Tag = QStringLiteral("子目錄\\功能.bmp");  // CP950 bytes 5C inside a name
    obj().PicNum[3]->Tag = QStringLiteral(" blank first.bmp");  // written quoted, to read back whole
    obj().PicNum[4]->Tag = QStringLiteral("'quoted'");
    obj().Label2[1]->setFont(QFont(QStringLiteral("標楷體")));
    colors.selectColorType(2);
    colors.setVScroll1(3, -20);
    state.DeskPicWidth = 640.0;
    state.DeskPicHeight = 480;
    obj().Image1->setVisible(true);

    IniFile = skinDir() + QStringLiteral("/Old.INI");
    for (const ButtonIniEntry &entry : ButtonIniEntries(*form))
        WriteIni(entry.section, entry.key, entry.value);
    writeDefinition();

    QFile oldWay(skinDir() + QStringLiteral("/Old.INI"));
    QFile newWay(definition());
    ASSERT_TRUE(oldWay.open(QIODevice::ReadOnly));
    ASSERT_TRUE(newWay.open(QIODevice::ReadOnly));
    const QByteArray expected = oldWay.readAll();
    EXPECT_GT(expected.size(), 2000);
    EXPECT_EQ(newWay.readAll(), expected);
    EXPECT_GT(ButtonIniEntries(*form).size(), 200);
}

TEST_F(ButtonIniTest, SavingOverAnOldDefinitionLeavesNoStaleKeyAndNoTemporaryFile)
{
    put(QStringLiteral("控制台"), QStringLiteral("X99"), QStringLiteral("5"));
    put(QStringLiteral("舊的"), QStringLiteral("Key"), QStringLiteral("1"));
    writeDefinition();
    EXPECT_EQ(get(QStringLiteral("控制台"), QStringLiteral("X99")), QString());
    EXPECT_EQ(get(QStringLiteral("舊的"), QStringLiteral("Key")), QString());
    EXPECT_EQ(QDir(skinDir()).entryList(QDir::Files), QStringList{QStringLiteral("Test.INI")});
}

}  // namespace
