// The font and width commands on the font label, the readme window and the
// about box's system-information launcher.
#include "EditorTestSupport.h"

#include "EditorDialogs.h"
#include "FrmReadme.h"
#include "frmAbout.h"
#include "frmMain.h"
#include "frmPic.h"

#include "MessageBox.h"
#include "ModRegist.h"
#include "ModTools.h"
#include "PanelGeometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTextEdit>

#include <memory>

namespace {

class Commands : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        MessageBox::setAnswerer([](const MessageBox::Request &) { return MessageBox::IdOk; });
        main = std::make_unique<frmMain>(state);
        main->show();
        ASSERT_TRUE(main->OpenFile(skinFile(QStringLiteral("Quorvel.JPG"))));
        logo = main->canvas()->obj().Label3[0];
        press(logo, QPointF(1, 1));
        release(logo, QPointF(1, 1));
        ASSERT_EQ(main->canvas()->FontLabel(), logo);
    }
    void TearDown() override
    {
        main.reset();
        EditorDialogs::setFontAnswerer({});
        MessageBox::setAnswerer({});
        EditorTest::TearDown();
    }
    void setPoints(double points) { setFontSize(logo, points); }

    std::unique_ptr<frmMain> main;
    QLabel *logo = nullptr;
};

}  // namespace

TEST_F(Commands, FontSizeStepsStopAtTheirLimits)
{
    setPoints(47);
    main->mFontZooOut_Click();
    EXPECT_DOUBLE_EQ(fontSize(logo), 47);
    setPoints(46);
    main->mFontZooOut_Click();
    EXPECT_DOUBLE_EQ(fontSize(logo), 47);
    setPoints(4);
    main->mFontZooIn_Click();
    EXPECT_DOUBLE_EQ(fontSize(logo), 3);
    main->mFontZooIn_Click();
    EXPECT_DOUBLE_EQ(fontSize(logo), 3);
    // The toolbar keys run the same commands.
    main->tbToolBar_ButtonClick(QStringLiteral("ZooOut"));
    EXPECT_DOUBLE_EQ(fontSize(logo), 4);
    EXPECT_TRUE(main->statusText().endsWith(QStringLiteral(" 字型大小=4")));

    // Zoom changes keep the sizes exact: shown whole, and the steps stop at 3 and 47 points.
    setPoints(14);
    const auto zoomTo = [this](const QString &zoom) {
        main->Combo1()->setCurrentText(zoom);
        main->Combo1_Click();
    };
    for (const QString zoom : {"300%", " 75%", "700%", "100%"})
        zoomTo(zoom);
    EXPECT_EQ(fontSize(logo), 14);
    for (int i = 0; i < 20; ++i)
        main->mFontZooIn_Click();
    EXPECT_EQ(fontSize(logo), 3);
    EXPECT_TRUE(main->statusText().endsWith(QStringLiteral(" 字型大小=3"))) << main->statusText().toStdString();
    zoomTo(QStringLiteral("300%"));
    for (int i = 0; i < 60; ++i)
        main->mFontZooOut_Click();
    EXPECT_EQ(fontSize(logo), 47 * 3);
    zoomTo(QStringLiteral(" 25%"));
    zoomTo(QStringLiteral("100%"));
    EXPECT_EQ(fontSize(logo), 47);
    EXPECT_EQ(fontSize(main->canvas()->obj().Label3[1]), 47);  // the shadow too
}

TEST_F(Commands, SizesFromTheMenuIncludeTheZoom)
{
    main->mFont_Click(4);  // "12"
    EXPECT_DOUBLE_EQ(fontSize(logo), 12);
    // The shadow takes the label's font.
    EXPECT_DOUBLE_EQ(fontSize(main->canvas()->obj().Label3[1]), 12);
    main->Combo1()->setCurrentText(QStringLiteral("200%"));
    main->Combo1_Click();
    main->mFont_Click(0);  // "8"
    EXPECT_DOUBLE_EQ(fontSize(logo), 16);
}

TEST_F(Commands, WidthCommandsCompound)
{
    logo->resize(10, logo->height());
    main->mWidthAdd_Click();
    EXPECT_EQ(logo->width(), 11);
    logo->resize(200, logo->height());
    main->mWidthDig_Click(0);  // "50%"
    main->mWidthDig_Click(0);
    EXPECT_EQ(logo->width(), 50);
    main->mWidthDig_Click(2);  // "100%"
    EXPECT_EQ(logo->width(), 50);
    main->mWidthDel_Click();
    EXPECT_EQ(logo->width(), 45);
}

TEST_F(Commands, TheFontDialogsCancelLeavesTheLabel)
{
    const QFont before = logo->font();
    EditorDialogs::setFontAnswerer([](const QFont &) { return std::optional<QFont>(); });
    main->mFontName_Click();
    EXPECT_EQ(logo->font(), before);
    QFont chosen = before;
    chosen.setItalic(!before.italic());
    chosen.setPointSizeF(22);
    EditorDialogs::setFontAnswerer([chosen](const QFont &) { return std::optional<QFont>(chosen); });
    main->mFontName_Click();
    EXPECT_EQ(logo->font().italic(), chosen.italic());
    EXPECT_DOUBLE_EQ(fontSize(logo), 22);
}

TEST_F(Commands, TheReadmeShowsTheTextUntilTheUserSaysNotTo)
{
    main->mreadme_Click();
    auto *readme = main->findChild<FrmReadme *>();
    ASSERT_NE(readme, nullptr);
    EXPECT_TRUE(readme->isVisible());
    EXPECT_FALSE(main->isEnabled());
    EXPECT_TRUE(readme->isEnabled());  // usable over the disabled main window
    EXPECT_TRUE(readme->RichTextBox1()->toPlainText().contains(QStringLiteral("Quorvel")));
    EXPECT_FALSE(readme->RichTextBox1()->toPlainText().contains(QStringLiteral("\\par")));
    readme->Check1()->setChecked(true);
    readme->Command1_Click();
    EXPECT_TRUE(main->isEnabled());
    EXPECT_FALSE(readme->isVisible());
    EXPECT_EQ(GetAppSetting(QStringLiteral("ReadMe"), QStringLiteral("0")), QStringLiteral("1"));
    // Next time it closes at once and the main window stays usable.
    main->mreadme_Click();
    EXPECT_FALSE(readme->isVisible());
    EXPECT_TRUE(main->isEnabled());
}

TEST(RtfText, KeepsTextAndLineEndsAndDropsTables)
{
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 \\'b7\\'73;}}\\pard A\\'a4\\'a4\\par B\\{x\\}}";
    EXPECT_EQ(RtfPlainText(rtf), QStringLiteral("A中\nB{x}"));
}

TEST_F(Commands, SystemInformationWithoutAProgramSaysSo)
{
    frmAbout about(main.get());
    QStringList started;
    frmAbout::programStarter() = [&started](const QString &program) {
        started << program;
        return true;
    };
    about.StartSysInfo();
    ASSERT_FALSE(MessageBox::shownRequests().isEmpty());
    EXPECT_EQ(MessageBox::shownRequests().constLast().prompt, QStringLiteral("此時的系統資訊不正確"));
    EXPECT_TRUE(started.isEmpty());

    SaveRegString(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"),
                  QStringLiteral("/usr/bin/true"));
    about.StartSysInfo();
    EXPECT_EQ(started, QStringList{QStringLiteral("/usr/bin/true")});
    SaveRegString(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"), QStringLiteral("PATH"),
                  QString());
}

TEST(EditorDialogs, FiltersFindPanelsWhateverTheCaseOfTheirExtension)
{
    EXPECT_EQ(EditorDialogs::nameFilters(QStringLiteral("按鈕設定檔(*.ini)|*.ini")),
              QStringLiteral("按鈕設定檔(*.ini) (*.ini *.INI *.Ini)"));
    const QString all = EditorDialogs::nameFilters(QStringLiteral("全部圖檔|*.gif;*.jpg|所有檔案 (*.*)|*.*"));
    EXPECT_EQ(all, QStringLiteral("全部圖檔 (*.gif *.GIF *.Gif *.jpg *.JPG *.Jpg);;所有檔案 (*.*) (*.*)"));
}
