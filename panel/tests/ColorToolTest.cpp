// The colour tool window: its palette, its type choice, and what its buttons
// do to the panel's definition file and key faces.

#include "FrmColor.h"
#include "ModButtonIni.h"
#include "PanelTestSupport.h"

#include "FullDisk.h"
#include "MessageBox.h"
#include "ModIniFile.h"
#include "SafeFile.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace {

// A canvas that counts what the tool asks of it, on top of the real operations.
class CountingCanvas : public ColorToolCanvas
{
public:
    using ColorToolCanvas::ColorToolCanvas;
    void DeskUpdate(bool Rebuild) override
    {
        ++deskUpdates;
        lastRebuild = Rebuild;
        ColorToolCanvas::DeskUpdate(Rebuild);
    }
    void DeskTopRef() override { ++deskTopRefs; }
    int deskUpdates = 0;
    bool lastRebuild = false;
    int deskTopRefs = 0;
};

class ColorToolTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        canvas = std::make_unique<CountingCanvas>(*form);
        tool = std::make_unique<FrmColor>(*canvas);
    }
    void TearDown() override
    {
        tool.reset();
        canvas.reset();
        PanelTest::TearDown();
    }

    // A panel picture with its own definition, shown as the player shows it.
    void showPanel(const QString &fileName)
    {
        PanelObjects &obj = form->obj();
        const QString path = skinDir() + QLatin1Char('/') + fileName;
        makePanelPicture(obj, 420, 300).save(path);
        useMaskForAllKeys(obj, maskDir(), QStringLiteral("round.bmp"));
        state.DeskPicFile = path;
        obj.InitObj(false);
        form->ChkDeskName();
        IniFile = state.DeskIniFile;
        SaveButtonIni(*form);
        ReadButtonIni(*form, true);
        form->DeskUpdate(false);
    }

    QStringList labels() const
    {
        QStringList texts;
        for (QLabel *label : tool->Label2)
            texts << label->text();
        return texts;
    }
    QColor swatch() const { return tool->FPicColor->palette().color(QPalette::Window); }

    std::unique_ptr<CountingCanvas> canvas;
    std::unique_ptr<FrmColor> tool;
};

TEST_F(ColorToolTest, BarsShowTheirValuesAndTheMixedColour)
{
    tool->VScroll1[0]->setValue(-255);
    tool->VScroll1[1]->setValue(-255);
    tool->VScroll1[2]->setValue(-255);
    tool->VScroll1[3]->setValue(-128);
    EXPECT_EQ(labels(), QStringList({"255", "255", "255", "128"}));
    EXPECT_EQ(swatch(), QColor(Qt::white)) << "383 on every channel counts as 255";
    EXPECT_EQ(colors.red(), 255);
    EXPECT_EQ(colors.brightness(), 128);

    tool->Command3_Click();  // "調色盤歸零"
    tool->VScroll1[3]->setValue(128);
    EXPECT_EQ(labels(), QStringList({"0", "0", "0", "-128"}));
    EXPECT_EQ(swatch(), QColor(Qt::black));

    tool->VScroll1[0]->setValue(-40);
    tool->VScroll1[3]->setValue(-20);
    EXPECT_EQ(swatch(), QColor(60, 20, 20));
    EXPECT_EQ(FrmColor::mixedColor(-10, 0, -300, -50), QColor(0, 0, 250));
}

TEST_F(ColorToolTest, ResetPaletteZeroesEveryBarBrightnessIncluded)
{
    for (int i = 0; i < 4; ++i)
        colors.setVScroll1(i, -100);
    EXPECT_EQ(tool->VScroll1[3]->value(), -100) << "the bars follow the settings";
    tool->Command3->click();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(colors.VScroll1(i), 0) << i;
        EXPECT_EQ(tool->VScroll1[i]->value(), 0) << i;
    }
}

TEST_F(ColorToolTest, ColourTypeSwitchesPaletteFrameAndBackgroundBox)
{
    tool->ColorType[2]->setChecked(true);  // "原色"
    EXPECT_EQ(colors.ColorType(), 2);
    EXPECT_FALSE(tool->Frame3->isEnabled());
    EXPECT_FALSE(tool->Check1->isEnabled());
    EXPECT_EQ(tool->Frame3->title(), QStringLiteral("不作處理"));

    tool->ColorType[1]->setChecked(true);  // "彩色"
    EXPECT_TRUE(tool->Frame3->isEnabled());
    EXPECT_TRUE(tool->Check1->isEnabled());
    EXPECT_EQ(tool->Frame3->title(), QStringLiteral("加入色彩"));

    tool->ColorType[0]->setChecked(true);  // "透明"
    EXPECT_TRUE(tool->Frame3->isEnabled());
    EXPECT_FALSE(tool->Check1->isEnabled());
    EXPECT_EQ(tool->Frame3->title(), QStringLiteral("按鈕色彩"));
}

TEST_F(ColorToolTest, AReadDefinitionShowsInTheToolAndFamilyBoxesEditTheSettings)
{
    const QString file = skinDir() + QStringLiteral("/Set.INI");
    WriteIniString(file, QStringLiteral("編輯"), QStringLiteral("Mode"), QStringLiteral("1"));
    WriteIniString(file, QStringLiteral("編輯"), QStringLiteral("Color2"), QStringLiteral("-77"));
    IniFile = file;
    ReadButtonIni(*form, false);
    EXPECT_TRUE(tool->ColorType[1]->isChecked());
    EXPECT_EQ(tool->VScroll1[2]->value(), -77);
    EXPECT_EQ(tool->Label2[2]->text(), QStringLiteral("77"));

    tool->Check2[1]->setChecked(false);
    EXPECT_EQ(colors.Check2(1), 0);
    EXPECT_EQ(colors.Check2(0), 1);
}

TEST_F(ColorToolTest, CustomMaskSizeAloneEnablesWidthAndHeight)
{
    EXPECT_TRUE(tool->MaskSize[1]->isChecked()) << "\"不改變\" is selected when the window loads";
    EXPECT_FALSE(tool->Text1[0]->isEnabled());
    tool->MaskSize[2]->setChecked(true);
    EXPECT_TRUE(tool->Text1[0]->isEnabled());
    EXPECT_TRUE(tool->Label1[1]->isEnabled());
    tool->MaskSize[0]->setChecked(true);
    EXPECT_FALSE(tool->Text1[1]->isEnabled());
}

TEST_F(ColorToolTest, SavingWritesThePanelsDefinitionAndLeavesTheFaces)
{
    showPanel(QStringLiteral("Blue.jpg"));
    const QImage face = form->obj().PicCtl[0]->Picture();
    const int updates = canvas->deskUpdates;
    tool->VScroll1[0]->setValue(-200);
    tool->ColorType[1]->setChecked(true);
    QFile::remove(state.DeskIniFile);

    tool->Command5_Click();  // "儲存按鈕配置"
    EXPECT_EQ(GetIniString(skinDir() + QStringLiteral("/Blue.INI"), QStringLiteral("編輯"), QStringLiteral("Color0")),
              QStringLiteral("-200"));
    EXPECT_EQ(GetIniString(state.DeskIniFile, QStringLiteral("編輯"), QStringLiteral("Mode")), QStringLiteral("1"));
    EXPECT_EQ(canvas->deskUpdates, updates);
    EXPECT_EQ(form->obj().PicCtl[0]->Picture(), face);
}

TEST_F(ColorToolTest, SavingOntoAFullDiskKeepsTheDefinitionAndTellsTheUser)
{
    FullDisk disk;
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot().toStdString();
    showPanel(QStringLiteral("Blue.jpg"));
    state.DeskIniFile = disk.filePath(QStringLiteral("Blue.INI"));
    IniFile = state.DeskIniFile;
    ASSERT_TRUE(SaveButtonIni(*form));
    const QByteArray before = SafeFile::read(state.DeskIniFile);
    disk.fill();
    QStringList told;
    MessageBox::setAnswerer([&](const MessageBox::Request &r) {
        told << r.prompt;
        return int(MessageBox::IdOk);
    });

    tool->VScroll1[0]->setValue(-200);
    tool->Command5_Click();  // "儲存按鈕配置"
    MessageBox::setAnswerer({});
    EXPECT_EQ(SafeFile::read(state.DeskIniFile), before);
    EXPECT_EQ(told, QStringList{QStringLiteral("無法儲存按鈕設定檔:") + state.DeskIniFile});
}

TEST_F(ColorToolTest, UpdateAllRebuildsTheFacesWithTheToolsColours)
{
    showPanel(QStringLiteral("Blue.jpg"));
    const QImage before = form->obj().PicCtl[0]->Picture();
    tool->ColorType[1]->setChecked(true);
    tool->VScroll1[0]->setValue(-250);
    tool->Check1->setChecked(true);
    EXPECT_FALSE(form->obj().PicCtl[0]->isVisibleTo(&host->form)) << "picking hides the panel objects";

    tool->Command1->click();  // "更新全部按鈕"
    EXPECT_EQ(canvas->deskUpdates, 1);
    EXPECT_TRUE(canvas->lastRebuild);
    EXPECT_FALSE(tool->Check1->isChecked());
    EXPECT_TRUE(form->obj().PicCtl[0]->isVisibleTo(&host->form));
    EXPECT_EQ(GetIniString(state.DeskIniFile, QStringLiteral("編輯"), QStringLiteral("Color0")),
              QStringLiteral("-250"));
    const QImage after = form->obj().PicCtl[0]->Picture();
    ASSERT_FALSE(after.isNull());
    EXPECT_NE(after, before);
    // The rim of the round mask is white: a red colour leaves red stronger than blue there.
    const QColor inside = after.pixelColor(after.width() / 2, after.height() / 2);
    EXPECT_GT(inside.red(), inside.blue());
}

TEST_F(ColorToolTest, RestoreReadsTheBuiltInLayoutWithoutSizes)
{
    IniFile = state.ButtonIniFile;
    colors.setVScroll1(1, -12);
    SaveButtonIni(*form);
    PanelKey *key = form->obj().PicCtl[2];
    const QRect builtIn = key->geometry();
    key->setGeometry(builtIn.x() + 40, builtIn.y() + 5, 60, 60);
    tool->VScroll1[1]->setValue(-99);

    tool->Command4_Click();  // "恢復原始設定"
    EXPECT_EQ(key->pos(), builtIn.topLeft());
    EXPECT_EQ(key->size(), QSize(60, 60)) << "sizes stay until the next update";
    EXPECT_EQ(colors.VScroll1(1), -12);
    EXPECT_EQ(tool->VScroll1[1]->value(), -12);
}

TEST_F(ColorToolTest, CloseBoxUnloadsAndTheNextUseShowsTheDesignValues)
{
    tool->show();
    tool->ColorType[2]->setChecked(true);
    tool->VScroll1[3]->setValue(40);
    tool->Check2[0]->setChecked(false);
    tool->MaskSize[2]->setChecked(true);
    tool->close();
    EXPECT_FALSE(tool->isVisible());

    tool->show();
    EXPECT_TRUE(tool->ColorType[0]->isChecked());
    for (QScrollBar *bar : tool->VScroll1)
        EXPECT_EQ(bar->value(), 0);
    for (QCheckBox *box : tool->Check2)
        EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(tool->MaskSize[1]->isChecked());
    EXPECT_EQ(colors.ColorType(), 0);
    EXPECT_EQ(colors.Check2(0), 1);
}

TEST_F(ColorToolTest, BackButtonHidesAndKeepsTheValues)
{
    tool->show();
    tool->VScroll1[0]->setValue(-5);
    tool->Command2->click();
    EXPECT_FALSE(tool->isVisible());
    EXPECT_EQ(colors.VScroll1(0), -5);
    EXPECT_TRUE(host->form.isEnabled());
}

TEST_F(ColorToolTest, ClosingOverAGifPanelRefreshesTheDesktopBackground)
{
    state.DeskPicFile = skinDir() + QStringLiteral("/Round.gif");
    tool->CloseMe();
    EXPECT_EQ(canvas->deskTopRefs, 1);
    EXPECT_TRUE(form->obj().ImageDesk->isVisibleTo(&host->form));
    state.DeskPicFile = skinDir() + QStringLiteral("/Flat.jpg");
    tool->CloseMe();
    EXPECT_EQ(canvas->deskTopRefs, 1);
}

TEST_F(ColorToolTest, EditorCarrierOnlyHidesAndKeepsItsSize)
{
    FrmColor editorTool(*canvas, FrmColor::Carrier::Editor);
    EXPECT_EQ(editorTool.ColorFormWidth, 0);
    editorTool.show();
    state.DeskPicFile = skinDir() + QStringLiteral("/Round.gif");
    editorTool.CloseMe();
    EXPECT_FALSE(editorTool.isVisible());
    EXPECT_EQ(canvas->deskTopRefs, 0);
}

TEST_F(ColorToolTest, SampleClickSelectsItAndItsTwin)
{
    tool->PicTemp_Click(1);
    EXPECT_EQ(tool->SelObj(), tool->PicTemp[1]);
    EXPECT_EQ(tool->SelObjBak(), tool->PicTempBak[1]);
    EXPECT_EQ(tool->PicTemp[1]->frameShape(), QFrame::Box);
    tool->PicTemp_Click(2);
    EXPECT_EQ(tool->PicTemp[1]->frameShape(), QFrame::NoFrame);
    tool->PicTemp_Click(7);
    EXPECT_EQ(tool->SelObj(), tool->PicTemp[2]);
}

TEST_F(ColorToolTest, ResizingScalesEveryControlAndTheSmallerFactorScalesFonts)
{
    tool->show();
    const QRect design = tool->Command1->geometry();
    const double font = tool->Command1->font().pointSizeF();
    tool->resize(tool->width() * 2, tool->height() * 3 / 2);
    QCoreApplication::processEvents();
    EXPECT_NEAR(tool->Command1->x(), design.x() * 2, 1);
    EXPECT_NEAR(tool->Command1->height(), design.height() * 1.5, 1);
    EXPECT_NEAR(tool->Command1->font().pointSizeF(), font * 1.5, 0.01);
    EXPECT_EQ(tool->ColorFormWidth, tool->width() * 15.0);

    tool->VScroll1[0]->setValue(-180);
    tool->VScroll1[2]->setValue(-60);
    tool->resize(406, 412);
    QCoreApplication::processEvents();
    EXPECT_EQ(tool->Command1->geometry(), design);
    tool->grab().save(testOutputFolder() + QStringLiteral("/colour-tool.png"));
}

}  // namespace
