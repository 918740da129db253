// The panels that ship beside the program, each shown on a window.

#include "ModButtonIni.h"
#include "ModOutLine.h"
#include "PanelTestSupport.h"

#include "ModIniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

}  // namespace
