// The panels that ship beside the program, each shown on a window.

#include "ModButtonIni.h"
#include "ModOutLine.h"
#include "PanelTestSupport.h"
#include "FrmColor.h"
#include "PanelChoice.h"
#include "frmDir.h"

#include "ModIniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QRadioButton>
#include <QScrollBar>

namespace {

class ArtPanelsTest : public PanelTest
{
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        bin = QCoreApplication::applicationDirPath();
        if (!QFileInfo::exists(bin + QStringLiteral("/Desk/Quorvel.JPG")))
            GTEST_SKIP() << "the panels are not beside the program";
        state.ProgramDir = bin;
        state.SkinDir = bin + QStringLiteral("/Skin");
        state.MaskDir = bin + QStringLiteral("/Button Mask");
    }

    void show(const QString &picture)
    {
        state.DeskPicFile = picture;
        form->obj().InitObj(false);
        form->ChkDeskName();
        ASSERT_TRUE(QFileInfo::exists(state.DeskIniFile)) << state.DeskIniFile.toStdString();
        IniFile = state.DeskIniFile;
        ReadButtonIni(*form, true);
        form->DeskUpdate(false);
    }

    QString bin;
};

TEST_F(ArtPanelsTest, EveryPanelShowsWithAFaceUnderEveryMaskedKey)
{
    QStringList panels{bin + QStringLiteral("/Desk/Quorvel.JPG")};
    for (const QString &name : QDir(state.SkinDir).entryList({"*.jpg", "*.bmp", "*.gif"}, QDir::Files))
        panels << state.SkinDir + QLatin1Char('/') + name;
    ASSERT_GE(panels.size(), 4);

    for (const QString &picture : panels) {
        SCOPED_TRACE(picture.toStdString());
        recreateForm();
        clearLog();
        show(picture);
        EXPECT_FALSE(logText().contains(QStringLiteral("這個面板格式錯誤")));
        EXPECT_EQ(host->form.size(), QImage(picture).size());
        int masked = 0;
        for (const auto *family : {&form->obj().PicCtlBak, &form->obj().PicNumBak, &form->obj().PicButtonB})
            for (const BackingPicture &backing : *family)
                masked += backing.Tag.isEmpty() ? 0 : 1;
        EXPECT_GE(masked, 20) << "the definition names masks that exist";
        for (PanelKey *key : form->obj().PicNum)
            EXPECT_FALSE(key->Picture().isNull());
        if (picture.endsWith(QStringLiteral(".GIF"), Qt::CaseInsensitive))
            EXPECT_EQ(host->form.mask(), FormOutLine(QImage(picture)));
        else
            EXPECT_EQ(host->form.mask(), PlainOutLine(host->form.width(), host->form.height()));
        screenshot(host->form).save(testOutputFolder() + QStringLiteral("/art-") + QFileInfo(picture).completeBaseName() +
                               QStringLiteral(".png"));
    }
}

// The shipped panels as the browser shows them; one picked from there and
// recoloured with the colour tool.
TEST_F(ArtPanelsTest, BrowserShowsTheShippedPanelsAndTheColourToolRecoloursOne)
{
    host->form.resize(10, 10);
    PanelChoice choice(*form);
    choice.SeleDesk();
    frmDir &dir = choice.browser();
    dir.SizeList->setCurrentIndex(0);
    dir.SizeList_Click();
    EXPECT_EQ(dir.Label1->text(), QStringLiteral("共4個檔"));
    dir.grab().save(testOutputFolder() + QStringLiteral("/art-browser.png"));

    int larkspan = -1;
    for (int i = 0; i < dir.Picture1.size(); ++i)
        if (dir.Picture1[i]->toolTip().endsWith(QStringLiteral("Larkspan.JPG")))
            larkspan = i;
    ASSERT_GE(larkspan, 0);
    dir.Picture1_MouseDown(larkspan);
    EXPECT_EQ(state.DeskPicFile, state.SkinDir + QStringLiteral("/Larkspan.JPG"));
    EXPECT_EQ(host->form.size(), QImage(state.DeskPicFile).size());

    ColorToolCanvas canvas(*form);
    FrmColor tool(canvas);
    tool.ColorType[1]->setChecked(true);
    tool.VScroll1[0]->setValue(-230);
    tool.VScroll1[1]->setValue(-60);
    tool.VScroll1[3]->setValue(-20);
    // Saved into a copy of the definition: the shipped file stays as it is.
    const QString copy = programDir.path() + QStringLiteral("/Larkspan.INI");
    QFile::copy(state.DeskIniFile, copy);
    state.DeskIniFile = copy;
    tool.Command1_Click();
    EXPECT_EQ(GetIniString(copy, QStringLiteral("編輯"), QStringLiteral("Color0")), QStringLiteral("-230"));
    screenshot(host->form).save(testOutputFolder() + QStringLiteral("/art-recoloured.png"));
    tool.grab().save(testOutputFolder() + QStringLiteral("/art-colour-tool.png"));
}

}  // namespace
