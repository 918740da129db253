// The editor as a user works with it: open a shipped panel, move and resize
// objects with grid and zoom, undo, save, and the player reading the result.
#include "EditorTestSupport.h"

#include "EditorDialogs.h"
#include "frmButtonMask.h"
#include "frmMain.h"
#include "frmPic.h"

#include "ButtonColorSettings.h"
#include "FrmColor.h"
#include "MessageBox.h"
#include "ModButtonIni.h"
#include "ModIniFile.h"
#include "ModTools.h"
#include "PanelForm.h"
#include "PanelHost.h"
#include "PanelState.h"
#include "LoadedMedia.h"
#include "SettingsStore.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScreen>
#include <QScrollBar>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

#include <memory>

namespace {

// A window carrying the panel the way the player does, at the player's scale.
class PlayerHost : public PanelHost
{
public:
    QWidget *panelWidget() override { return &form; }
    LoadedMedia &loadedMedia() override { return playback; }
    QWidget form;
    LoadedMedia playback;
};

class EditorFlow : public EditorTest
{
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        MessageBox::setAnswerer([](const MessageBox::Request &) { return MessageBox::IdOk; });
        main = std::make_unique<frmMain>(state);
        main->show();
    }
    void TearDown() override
    {
        main.reset();
        EditorDialogs::setFileAnswerer({});
        MessageBox::setAnswerer({});
        EditorTest::TearDown();
    }

    void openQuorvel() { ASSERT_TRUE(main->OpenFile(skinFile(QStringLiteral("Quorvel.JPG")))); }
    void chooseZoom(const QString &text)
    {
        main->Combo1()->setCurrentText(text);
        main->Combo1_Click();
    }
    void chooseStep(int step)
    {
        main->Combo2()->setCurrentText(QString::number(step) + QStringLiteral("點"));
        main->Combo2_Click();
    }
    frmPic &canvas() { return *main->canvas(); }
    PanelObjects &obj() { return canvas().obj(); }

    std::unique_ptr<frmMain> main;
};

// Drags so that the key ends at (dx, dy) from where it was pressed, snapping on the way.
void dragBy(QWidget *key, int dx, int dy)
{
    const int x0 = key->x(), y0 = key->y();
    const QPointF grip(2, 2);
    press(key, grip);
    for (int i = 1; i <= 4; ++i) {
        const QPointF wanted(x0 + dx * i / 4.0 + grip.x(), y0 + dy * i / 4.0 + grip.y());
        moveTo(key, wanted - QPointF(key->pos()));
    }
    release(key, grip);
}

}  // namespace

TEST_F(EditorFlow, FirstStartIsAnEmptyCentredWindowWithNoRecentFiles)
{
    EXPECT_EQ(main->windowTitle(), QStringLiteral("QuorvelEdit"));
    // 640 x 480, or as much larger as the tool windows need to show whole; centred.
    EXPECT_GE(main->width(), 640);
    EXPECT_GE(main->height(), 480);
    const QRect desk = main->screen()->geometry();
    EXPECT_LE(qAbs(main->x() * 2 + main->width() - desk.width()), 2);
    EXPECT_LE(qAbs(main->y() * 2 + main->height() - desk.height()), 2);
    main->show();
    QCoreApplication::processEvents();
    auto *colorScroll = qobject_cast<QScrollArea *>(main->colorToolDock()->widget());
    ASSERT_TRUE(colorScroll && colorScroll->widget());
    EXPECT_GE(colorScroll->viewport()->width(), colorScroll->widget()->width());
    EXPECT_GE(colorScroll->viewport()->height(), colorScroll->widget()->height());
    EXPECT_FALSE(main->mnuFileMRU(0)->isVisible());
    for (int i = 1; i <= 6; ++i)
        EXPECT_FALSE(main->mnuFileMRU(i)->isVisible()) << i;
    EXPECT_FALSE(main->Combo1()->isEnabled());
    for (QAction *command : main->panelCommands())
        EXPECT_FALSE(command->isEnabled()) << command->text().toStdString();
    EXPECT_FALSE(main->mnuEditUndo()->isEnabled());
    EXPECT_TRUE(main->mnuButtonMask()->isChecked());
    // A zoom choice without a panel is ignored.
    chooseZoom(QStringLiteral("200%"));
    EXPECT_DOUBLE_EQ(state.ZoomRate(), 1);
}

TEST_F(EditorFlow, OpeningAShippedPanelLaysItOutAndBuildsEveryFace)
{
    openQuorvel();
    EXPECT_TRUE(main->panelOpen());
    EXPECT_EQ(state.panel.DeskIniFile, skinFile(QStringLiteral("Quorvel.INI")));
    EXPECT_EQ(IniFile, state.panel.DeskIniFile);
    EXPECT_TRUE(main->Combo1()->isEnabled());
    EXPECT_TRUE(main->windowTitle().startsWith(skinFile(QStringLiteral("Quorvel.JPG")) + QStringLiteral(" - ")));
    EXPECT_EQ(canvas().Picture1()->size(), canvas().PicTemp().size());
    // The layout is the definition's: the first control key sits where the file says.
    EXPECT_EQ(obj().PicCtl[0]->x(), GetIniString(IniFile, QStringLiteral("控制台"), QStringLiteral("X0")).toInt());
    EXPECT_EQ(obj().PicCtl[0]->y(), GetIniString(IniFile, QStringLiteral("控制台"), QStringLiteral("Y0")).toInt());
    EXPECT_TRUE(obj().PicCtl[0]->hasPicture());
    // One cache file per key, numbered in painting order.
    const QString temp = state.TempFolder();
    EXPECT_TRUE(QFile::exists(temp + QStringLiteral("/Quorvel-00.Bmp")));
    EXPECT_TRUE(QFile::exists(temp + QStringLiteral("/Quorvel-27.Bmp")));
    EXPECT_FALSE(QFile::exists(temp + QStringLiteral("/Quorvel-28.Bmp")));
    EXPECT_EQ(main->mnuFileMRU(1)->text(), skinFile(QStringLiteral("Quorvel.JPG")));
    EXPECT_TRUE(main->mnuFileMRU(1)->isVisible());
    EXPECT_FALSE(main->mnuFileMRU(2)->isVisible());
    EXPECT_FALSE(obj().PicCtl[6]->isVisibleTo(canvas().Picture1()));

    QImage shot = main->grab().toImage();
    shot.save(testOutputFolder() + QStringLiteral("/editor-open.png"));
}

TEST_F(EditorFlow, MoveWithGridAndZoomThenUndoThenSaveAndThePlayerReadsIt)
{
    openQuorvel();
    PanelKey *key = obj().PicNum[0];
    const QPoint original = key->pos();

    // At 200 % with a step of 4 panel pixels the canvas grid is 8 pixels.
    chooseZoom(QStringLiteral("200%"));
    chooseStep(4);
    EXPECT_EQ(key->pos(), original * 2);
    EXPECT_FALSE(main->maskGalleryDock()->isVisible());
    dragBy(key, 21, 37);
    EXPECT_EQ(key->x() % 8, 0);
    EXPECT_EQ(key->y() % 8, 0);
    EXPECT_TRUE(main->mnuEditUndo()->isEnabled());

    // Undo puts it back where it was pressed, once.
    main->mnuEditUndo_Click();
    EXPECT_EQ(key->pos(), original * 2);
    EXPECT_FALSE(main->mnuEditUndo()->isEnabled());

    // A move that stays: 24 canvas pixels right and 16 down are 12 and 8 panel pixels.
    const QPoint beforeDrag = key->pos();
    dragBy(key, 24, 16);
    const QPoint moved = key->pos();
    EXPECT_EQ(moved - beforeDrag, QPoint(24, 16));
    EXPECT_EQ(main->statusText(), QStringLiteral("X=%1 Y=%2").arg(moved.x() / 2).arg(moved.y() / 2));

    // Saving while zoomed returns to 100 % first and stores panel positions.
    main->mnuFileSave_Click();
    EXPECT_DOUBLE_EQ(state.ZoomRate(), 1);
    EXPECT_EQ(main->Combo1()->currentText(), QStringLiteral("100%"));
    EXPECT_TRUE(main->maskGalleryDock()->isVisible());
    const QPoint panelPlace = moved / 2;
    EXPECT_EQ(key->pos(), panelPlace);
    EXPECT_FALSE(QFile::exists(IniFile + QStringLiteral(".saving")));

    // The player reads the saved file into its own object set at its own scale.
    PlayerHost host;
    PanelState playerState;
    playerState.SkinDir = state.panel.SkinDir;
    playerState.MaskDir = state.panel.MaskDir;
    ButtonColorSettings colors;
    PanelForm player(host, playerState, colors);
    IniFile = state.panel.DeskIniFile;
    ReadButtonIni(player, true);
    EXPECT_EQ(player.obj().PicNum[0]->pos(), panelPlace);
    for (int i = 0; i < obj().PicCtl.size(); ++i)
        EXPECT_EQ(player.obj().PicCtl[i]->pos(), obj().PicCtl[i]->pos()) << "control key " << i;
    EXPECT_EQ(player.obj().Label1->pos(), obj().Label1->pos());
    EXPECT_EQ(player.obj().Image1->geometry(), obj().Image1->geometry());
}

TEST_F(EditorFlow, ZoomingThereAndBackKeepsPanelPositions)
{
    openQuorvel();
    QVector<QRect> before;
    for (QWidget *key : obj().PicCtl)
        before << key->geometry();
    const QFont logoFont = obj().Label3[0]->font();
    chooseZoom(QStringLiteral("800%"));
    EXPECT_EQ(obj().PicCtl[0]->pos(), before[0].topLeft() * 8);
    chooseZoom(QStringLiteral(" 25%"));
    chooseZoom(QStringLiteral("100%"));
    for (int i = 0; i < obj().PicCtl.size(); ++i) {
        if (i == 9)
            continue;  // the knob is placed on its track again
        EXPECT_EQ(obj().PicCtl[i]->geometry(), before[i]) << "control key " << i;
    }
    EXPECT_DOUBLE_EQ(obj().Label3[0]->font().pointSizeF(), logoFont.pointSizeF());
    EXPECT_TRUE(main->maskGalleryDock()->isVisible());
}

// A panel closed at another zoom is opened again at 100 %, whichever way it was closed.
TEST_F(EditorFlow, ClosingWhileZoomedOpensAgainAtFullSize)
{
    openQuorvel();
    const QString section = QStringLiteral("選曲");
    const QPoint filed(GetIniString(IniFile, section, QStringLiteral("X2")).toInt(),
                       GetIniString(IniFile, section, QStringLiteral("Y2")).toInt());
    for (const bool byCloseBox : {false, true}) {
        chooseZoom(QStringLiteral("200%"));
        if (byCloseBox)
            main->canvasWindow()->close();
        else
            main->mnuFileClose_Click();
        EXPECT_FALSE(main->panelOpen());
        openQuorvel();
        EXPECT_DOUBLE_EQ(state.ZoomRate(), 1);
        EXPECT_EQ(main->Combo1()->currentText(), QStringLiteral("100%"));
        EXPECT_EQ(obj().PicNum[2]->pos(), filed) << (byCloseBox ? "close box" : "關閉");
        EXPECT_EQ(canvas().Picture1()->size(), canvas().PicTemp().size());
    }
    // Saving now writes the panel's own positions back.
    main->mnuFileSave_Click();
    EXPECT_EQ(GetIniString(IniFile, section, QStringLiteral("X2")).toInt(), filed.x());
    EXPECT_EQ(GetIniString(IniFile, section, QStringLiteral("Y2")).toInt(), filed.y());
}

// The undo point follows the zoom, the save's own return to 100 % included.
TEST_F(EditorFlow, UndoAfterAZoomChangePutsTheKeyBackAtItsZoomedPlace)
{
    openQuorvel();
    PanelKey *key = obj().PicNum[2];
    const QPoint original = key->pos();
    press(key, QPointF(2, 2));
    release(key, QPointF(2, 2));
    chooseZoom(QStringLiteral("200%"));
    main->mnuEditUndo_Click();
    EXPECT_EQ(key->pos(), original * 2);

    press(key, QPointF(2, 2));
    release(key, QPointF(2, 2));
    main->mnuFileSave_Click();
    main->mnuEditUndo_Click();
    EXPECT_EQ(key->pos(), original);
    main->mnuFileSave_Click();
    EXPECT_EQ(GetIniString(IniFile, QStringLiteral("選曲"), QStringLiteral("X2")).toInt(), original.x());
    EXPECT_EQ(GetIniString(IniFile, QStringLiteral("選曲"), QStringLiteral("Y2")).toInt(), original.y());

    // Pressed at 25 %, where its place is no whole pixel: the undo at 100 %
    // leaves the untouched key where it is.
    PanelKey *odd = obj().PicCtl[3];
    const QPoint oddPlace = odd->pos();
    chooseZoom(QStringLiteral(" 25%"));
    press(odd, QPointF(2, 2));
    release(odd, QPointF(2, 2));
    chooseZoom(QStringLiteral("100%"));
    main->mnuEditUndo_Click();
    EXPECT_EQ(odd->pos(), oddPlace);
}

// F2 and F3 act on the tool windows at 100 % only, as their menu items do.
TEST_F(EditorFlow, ToolWindowKeysRefuseWhileZoomed)
{
    openQuorvel();
    chooseZoom(QStringLiteral("200%"));
    EXPECT_FALSE(main->mColorTool()->isEnabled());
    EXPECT_FALSE(main->mnuButtonMask()->isEnabled());
    main->mColorTool()->trigger();
    main->mnuButtonMask()->trigger();
    main->mColorTool_Click();
    main->mnuButtonMask_Click();
    EXPECT_FALSE(main->colorToolDock()->isVisible());
    EXPECT_FALSE(main->maskGalleryDock()->isVisible());
    chooseZoom(QStringLiteral("100%"));
    EXPECT_TRUE(main->mColorTool()->isEnabled());
    EXPECT_TRUE(main->colorToolDock()->isVisible());
    main->mColorTool()->trigger();
    EXPECT_FALSE(main->colorToolDock()->isVisible());
}

// F5 while zoomed out rebuilds the key faces at panel size: the cache the next
// opening paints from holds full faces, not the small ones of the zoomed view.
TEST_F(EditorFlow, RefreshWhileZoomedKeepsFullSizeFacesInTheCache)
{
    openQuorvel();
    const QString firstFace = state.TempFolder() + QStringLiteral("/Quorvel-00.Bmp");
    const QSize fullFace = QImage(firstFace).size();
    ASSERT_FALSE(fullFace.isEmpty());
    chooseZoom(QStringLiteral(" 25%"));
    QAction *refresh = nullptr;
    for (QAction *item : main->findChildren<QAction *>())
        if (item->shortcut() == QKeySequence(Qt::Key_F5))
            refresh = item;
    ASSERT_NE(refresh, nullptr);
    refresh->trigger();
    EXPECT_EQ(QImage(firstFace).size(), fullFace);
    ASSERT_TRUE(main->OpenFile(skinFile(QStringLiteral("Quorvel.JPG"))));
    EXPECT_EQ(obj().PicCtl[0]->Picture().size(), fullFace);
}

TEST_F(EditorFlow, ZoomShowsObjectsHiddenByTheObjectMenu)
{
    openQuorvel();
    QWidget *key = obj().PicButton[1];
    ASSERT_TRUE(key->isVisibleTo(canvas().Picture1()));
    main->mButtonObj_Click(1);
    EXPECT_FALSE(key->isVisibleTo(canvas().Picture1()));
    EXPECT_FALSE(main->objectItem(QStringLiteral("PicButton"), 1)->isChecked());
    main->mButtonObj_Click(1);
    EXPECT_TRUE(main->objectItem(QStringLiteral("PicButton"), 1)->isChecked());
    main->mButtonObj_Click(1);
    chooseZoom(QStringLiteral("200%"));
    EXPECT_TRUE(key->isVisibleTo(canvas().Picture1()));
    main->grab().save(testOutputFolder() + QStringLiteral("/editor-zoom-200.png"));
    // The picture area follows its own flag.
    const bool area = state.PictureAreaShown();
    EXPECT_EQ(obj().Image1->isVisibleTo(canvas().Picture1()), area);
}

TEST_F(EditorFlow, ObjectMenuMovesAnObjectBeyondThePictureBackToZero)
{
    openQuorvel();
    QWidget *key = obj().PicCtl[2];
    key->move(canvas().Picture1()->width() + 5, canvas().Picture1()->height() + 5);
    main->mCTLObj_Click(2);
    EXPECT_EQ(key->pos(), QPoint(0, 0));
}

TEST_F(EditorFlow, SaveAsWritesOnceThenSaveGoesToTheImagesOwnFile)
{
    openQuorvel();
    const QString other = programDir() + QStringLiteral("/other.ini");
    EditorDialogs::setFileAnswerer([other](const EditorDialogs::FileRequest &request) {
        EXPECT_EQ(request.mode, EditorDialogs::FileRequest::Save);
        return other;
    });
    const QByteArray ownBefore = [this] {
        QFile f(skinFile(QStringLiteral("Quorvel.INI")));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    main->mnuFileSaveAs_Click();
    EXPECT_TRUE(QFile::exists(other));
    EXPECT_EQ(IniFile, state.panel.DeskIniFile);
    EXPECT_EQ(main->mnuFileMRU(1)->text(), skinFile(QStringLiteral("Quorvel.JPG")));

    obj().PicCtl[0]->move(obj().PicCtl[0]->pos() + QPoint(3, 0));
    QFile::remove(other);
    main->mnuFileSave_Click();
    EXPECT_FALSE(QFile::exists(other));
    QFile own(skinFile(QStringLiteral("Quorvel.INI")));
    ASSERT_TRUE(own.open(QIODevice::ReadOnly));
    EXPECT_NE(own.readAll(), ownBefore);
}

TEST_F(EditorFlow, ACancelledDialogChangesNothing)
{
    openQuorvel();
    EditorDialogs::setFileAnswerer([](const EditorDialogs::FileRequest &) { return QString(); });
    const QString ini = IniFile;
    main->mnuFileSaveAs_Click();
    main->InputButtonIniFile_Click();
    main->mnuFileOpenIni_Click();
    EXPECT_EQ(IniFile, ini);
    EXPECT_TRUE(main->panelOpen());
}

TEST_F(EditorFlow, APictureFromAnotherFolderUsesTheDefinitionInSkin)
{
    const QString elsewhere = programDir() + QStringLiteral("/elsewhere");
    QDir().mkpath(elsewhere);
    QFile::copy(skinFile(QStringLiteral("Larkspan.JPG")), elsewhere + QStringLiteral("/Larkspan.JPG"));
    ASSERT_TRUE(main->OpenFile(elsewhere + QStringLiteral("/Larkspan.JPG")));
    EXPECT_EQ(IniFile, skinFile(QStringLiteral("Larkspan.INI")));
    main->mnuFileSave_Click();
    EXPECT_FALSE(QFile::exists(elsewhere + QStringLiteral("/Larkspan.INI")));
}

TEST_F(EditorFlow, AnUnreadablePictureKeepsThePanelThatWasOpen)
{
    openQuorvel();
    const QString broken = programDir() + QStringLiteral("/Skin/Broken.JPG");
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    EXPECT_FALSE(main->OpenFile(broken));
    EXPECT_FALSE(main->OpenFile(programDir() + QStringLiteral("/gone.jpg")));
    // A sound header over pixels that cannot be decoded (here 30000 x 30000 promised).
    QByteArray bitmap(54, '\0');
    auto put32 = [&bitmap](int at, quint32 value) {
        for (int i = 0; i < 4; ++i)
            bitmap[at + i] = char((value >> (8 * i)) & 0xff);
    };
    bitmap[0] = 'B';
    bitmap[1] = 'M';
    put32(2, 154);
    put32(10, 54);
    put32(14, 40);
    put32(18, 30000);
    put32(22, 30000);
    bitmap[26] = 1;
    bitmap[28] = 24;
    bitmap.append(QByteArray(100, '\x7f'));
    QFile huge(programDir() + QStringLiteral("/Skin/Huge.bmp"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    huge.write(bitmap);
    huge.close();
    EXPECT_FALSE(main->OpenFile(huge.fileName()));
    EXPECT_EQ(IniFile, skinFile(QStringLiteral("Quorvel.INI")));
    EXPECT_EQ(state.panel.DeskPicFile, skinFile(QStringLiteral("Quorvel.JPG")));
    EXPECT_TRUE(main->panelOpen());
    EXPECT_EQ(main->mnuFileMRU(2)->text(), QString());
    ASSERT_FALSE(MessageBox::shownRequests().isEmpty());
}

TEST_F(EditorFlow, AMissingDefinitionLaysOutNothingAndSavingCreatesIt)
{
    QFile::remove(skinFile(QStringLiteral("Nimbrel.INI")));
    ASSERT_TRUE(main->OpenFile(skinFile(QStringLiteral("Nimbrel.GIF"))));
    EXPECT_TRUE(logText().contains(QStringLiteral("面板設定檔不存在-") + skinFile(QStringLiteral("Nimbrel.INI"))));
    main->mnuFileSave_Click();
    EXPECT_TRUE(QFile::exists(skinFile(QStringLiteral("Nimbrel.INI"))));
}

TEST_F(EditorFlow, RecentFilesSurviveARestart)
{
    for (const char *name : {"Quorvel.JPG", "Larkspan.JPG", "Nimbrel.GIF", "Ferrowin.BMP", "Quorvel.JPG"})
        ASSERT_TRUE(main->OpenFile(skinFile(QString::fromLatin1(name))));
    EXPECT_EQ(main->mnuFileMRU(1)->text(), skinFile(QStringLiteral("Quorvel.JPG")));
    EXPECT_EQ(main->mnuFileMRU(4)->text(), skinFile(QStringLiteral("Larkspan.JPG")));
    EXPECT_FALSE(main->mnuFileMRU(5)->isVisible());
    main->move(40, 30);
    main->resize(900, 700);
    main->CloseForm();
    EXPECT_EQ(SettingsStore::get(QStringLiteral("Pelloran"), QStringLiteral("Quorvel Editor"), QStringLiteral("EditFile5"),
                                 QStringLiteral("unset")),
              QString());

    main = std::make_unique<frmMain>(state);
    EXPECT_EQ(main->mnuFileMRU(1)->text(), skinFile(QStringLiteral("Quorvel.JPG")));
    EXPECT_EQ(main->mnuFileMRU(4)->text(), skinFile(QStringLiteral("Larkspan.JPG")));
    EXPECT_TRUE(main->mnuFileMRU(0)->isVisible());
    EXPECT_EQ(main->pos(), QPoint(40, 30));
    EXPECT_EQ(main->size(), QSize(900, 700));
    // Choosing a recent entry opens it.
    main->mnuFileMRU_Click(3);
    EXPECT_EQ(state.panel.DeskPicFile, skinFile(QStringLiteral("Nimbrel.GIF")));
    EXPECT_EQ(main->mnuFileMRU(1)->text(), skinFile(QStringLiteral("Nimbrel.GIF")));
}

TEST_F(EditorFlow, ClosingTheCanvasTurnsThePanelCommandsOff)
{
    openQuorvel();
    main->mnuFileClose_Click();
    EXPECT_FALSE(main->panelOpen());
    EXPECT_FALSE(main->Combo1()->isEnabled());
    main->OpenFile(skinFile(QStringLiteral("Quorvel.JPG")));
    main->canvasWindow()->close();
    EXPECT_FALSE(main->panelOpen());
    for (QAction *command : main->panelCommands())
        EXPECT_FALSE(command->isEnabled());
}

TEST_F(EditorFlow, ToolWindowsToggle)
{
    EXPECT_TRUE(main->maskGalleryDock()->isVisible());
    main->mnuButtonMask_Click();
    EXPECT_FALSE(main->maskGalleryDock()->isVisible());
    EXPECT_FALSE(main->mnuButtonMask()->isChecked());
    main->mnuButtonMask_Click();
    EXPECT_TRUE(main->maskGalleryDock()->isVisible());
    const bool colour = main->mColorTool()->isChecked();
    main->mColorTool_Click();
    main->mColorTool_Click();
    EXPECT_EQ(main->mColorTool()->isChecked(), colour);
    EXPECT_TRUE(main->maskGalleryDock()->isVisible());
    // In a window with room for it the colour tool opens at its own width,
    // nothing of it cut off: at the start and when it is shown again.
    main->resize(1000, 700);
    main->CloseForm();
    main = std::make_unique<frmMain>(state);
    main->show();
    for (int shown = 0; shown < 2; ++shown) {
        for (int turn = 0; turn < 3; ++turn)
            QCoreApplication::processEvents();
        auto *colorScroll = qobject_cast<QScrollArea *>(main->colorToolDock()->widget());
        ASSERT_TRUE(colorScroll && colorScroll->widget());
        EXPECT_GE(colorScroll->viewport()->width(), colorScroll->widget()->width()) << shown;
        EXPECT_GE(colorScroll->viewport()->height(), colorScroll->widget()->height()) << shown;
        main->resizeDocks({main->colorToolDock()}, {90}, Qt::Horizontal);
        main->mColorTool_Click();
        main->mColorTool_Click();
    }
    // The gallery hidden and shown again (F3 twice) takes none of the colour tool's room.
    main->mnuButtonMask_Click();
    main->mnuButtonMask_Click();
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
    auto *colorScroll = qobject_cast<QScrollArea *>(main->colorToolDock()->widget());
    EXPECT_GE(colorScroll->viewport()->width(), colorScroll->widget()->width());
}

TEST_F(EditorFlow, TheColourToolsApplyBuildsTheCacheFromItsFirstNumberAgain)
{
    openQuorvel();
    FrmColor *tool = main->colorTool();
    ASSERT_NE(tool, nullptr);
    EXPECT_TRUE(tool->isEnabled());
    tool->VScroll1[0]->setValue(-200);  // more red in every face
    tool->Command1_Click();
    const QString temp = state.TempFolder();
    EXPECT_FALSE(QFile::exists(temp + QStringLiteral("/Quorvel-28.Bmp")));
    // The next opening reads the faces built now.
    const QImage rebuilt(temp + QStringLiteral("/Quorvel-00.Bmp"));
    ASSERT_FALSE(rebuilt.isNull());
    EXPECT_EQ(rebuilt, obj().PicCtl[0]->Picture().convertToFormat(rebuilt.format()));
    EXPECT_EQ(GetIniString(state.panel.DeskIniFile, QStringLiteral("編輯"), QStringLiteral("Color0")),
              QStringLiteral("-200"));
}

TEST_F(EditorFlow, ColourToolSamplesAndSizeChoiceReachTheMasks)
{
    openQuorvel();
    FrmColor *tool = main->colorTool();
    EXPECT_FALSE(tool->PicTemp[2]->pixmap().isNull());
    press(tool->PicTemp[2], QPointF(1, 1));
    EXPECT_EQ(canvas().SelectedSample(), 2);

    PanelKey *key = obj().PicNum[4];
    press(key, QPointF(2, 2));
    release(key, QPointF(2, 2));
    tool->MaskSize[2]->setChecked(true);
    tool->Text1[0]->setText(QStringLiteral("31"));
    tool->Text1[1]->setText(QStringLiteral("23"));
    ASSERT_TRUE(main->maskGallery()->ChangButton(state.panel.MaskDir + QStringLiteral("/Round.bmp")));
    EXPECT_EQ(key->size(), QSize(31, 23));
}

TEST_F(EditorFlow, ToolWindowsShowOnlyAtFullSize)
{
    openQuorvel();
    chooseZoom(QStringLiteral("300%"));
    EXPECT_FALSE(main->colorToolDock()->isVisible());
    EXPECT_FALSE(main->maskGalleryDock()->isVisible());
    EXPECT_TRUE(main->mColorTool()->isChecked());
    chooseZoom(QStringLiteral("100%"));
    EXPECT_TRUE(main->colorToolDock()->isVisible());
    EXPECT_TRUE(main->maskGalleryDock()->isVisible());
    // The tool's own close hides its window and unticks it.
    main->colorTool()->Command2_Click();
    EXPECT_FALSE(main->colorToolDock()->isVisible());
    EXPECT_FALSE(main->mColorTool()->isChecked());
    main->mColorTool_Click();
    EXPECT_TRUE(main->colorToolDock()->isVisible());
    EXPECT_TRUE(main->colorTool()->isVisible());
}

TEST_F(EditorFlow, ObjectsBeyondASmallWindowKeepTheirPlaces)
{
    // The window shows less than the whole panel; nothing is pulled into view.
    main->resize(420, 300);
    openQuorvel();
    for (int i = 0; i < obj().PicNum.size(); ++i) {
        const QString section = QStringLiteral("選曲");
        EXPECT_EQ(obj().PicNum[i]->y(), GetIniString(IniFile, section, QStringLiteral("Y%1").arg(i)).toInt()) << i;
        EXPECT_EQ(obj().PicNum[i]->x(), GetIniString(IniFile, section, QStringLiteral("X%1").arg(i)).toInt()) << i;
    }
    EXPECT_LT(main->canvasWindow()->height(), canvas().Picture1()->height());
}

TEST_F(EditorFlow, AFailedSaveLeavesTheDefinitionThatWasThere)
{
    openQuorvel();
    const QString ini = skinFile(QStringLiteral("Quorvel.INI"));
    QFile before(ini);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    // Something that is no file stands where the new definition would be written.
    ASSERT_TRUE(QDir().mkpath(ini + QStringLiteral(".saving")));
    obj().PicCtl[0]->move(obj().PicCtl[0]->pos() + QPoint(5, 5));
    main->mnuFileSave_Click();
    QFile after(ini);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
    ASSERT_FALSE(MessageBox::shownRequests().isEmpty());
    EXPECT_TRUE(MessageBox::shownRequests().constLast().prompt.startsWith(QStringLiteral("無法儲存按鈕設定檔")));
    // Into a folder that does not exist: a message, no file.
    QDir().rmdir(ini + QStringLiteral(".saving"));
    EditorDialogs::setFileAnswerer([this](const EditorDialogs::FileRequest &) {
        return programDir() + QStringLiteral("/missing/folder/x.ini");
    });
    main->mnuFileSaveAs_Click();
    EXPECT_FALSE(QFile::exists(programDir() + QStringLiteral("/missing/folder/x.ini")));
}

TEST_F(EditorFlow, ImportingADefinitionLaysItOntoTheOpenPicture)
{
    openQuorvel();
    // Another panel's layout goes onto this picture; saving writes it into this picture's file.
    const QString other = skinFile(QStringLiteral("Larkspan.INI"));
    EditorDialogs::setFileAnswerer([other](const EditorDialogs::FileRequest &request) {
        EXPECT_EQ(request.filter, QStringLiteral("按鈕設定檔(*.ini)|*.ini"));
        return other;
    });
    main->InputButtonIniFile_Click();
    EXPECT_EQ(obj().PicCtl[1]->x(), GetIniString(other, QStringLiteral("控制台"), QStringLiteral("X1")).toInt());
    EXPECT_EQ(IniFile, skinFile(QStringLiteral("Quorvel.INI")));
    main->mnuFileSave_Click();
    EXPECT_EQ(GetIniString(skinFile(QStringLiteral("Quorvel.INI")), QStringLiteral("控制台"), QStringLiteral("X1")),
              GetIniString(other, QStringLiteral("控制台"), QStringLiteral("X1")));
}

// The undo point belongs to the layout it was taken in: after another
// definition is laid on, Ctrl+Z has no earlier place of this layout to go back to.
TEST_F(EditorFlow, ImportingADefinitionLeavesNoUndoIntoTheOldLayout)
{
    openQuorvel();
    PanelKey *key = obj().PicNum[2];
    press(key, QPointF(2, 2));
    release(key, QPointF(2, 2));
    ASSERT_TRUE(main->mnuEditUndo()->isEnabled());
    const QString other = skinFile(QStringLiteral("Larkspan.INI"));
    EditorDialogs::setFileAnswerer([other](const EditorDialogs::FileRequest &) { return other; });
    main->InputButtonIniFile_Click();
    const QPoint imported = key->pos();
    ASSERT_NE(imported.x(), GetIniString(skinFile(QStringLiteral("Quorvel.INI")), QStringLiteral("選曲"),
                                         QStringLiteral("X2")).toInt());
    EXPECT_FALSE(main->mnuEditUndo()->isEnabled());
    main->mnuEditUndo()->trigger();
    EXPECT_EQ(key->pos(), imported);
}

TEST_F(EditorFlow, ThePictureAreaIsDraggedAndResizedAndItsFlagSaved)
{
    openQuorvel();
    QLabel *area = obj().Image1;
    if (!area->isVisibleTo(canvas().Picture1()))
        main->mImage_Click();
    ASSERT_TRUE(state.PictureAreaShown());
    chooseStep(2);
    const QPoint start = area->pos();
    press(area, QPointF(5, 5));
    moveTo(area, QPointF(15, 9));
    release(area, QPointF(15, 9));
    EXPECT_EQ(area->pos(), QPoint(int(std::floor((start.x() + 10) / 2.0)) * 2, int(std::floor((start.y() + 4) / 2.0)) * 2));
    EXPECT_TRUE(canvas().Pointer(7)->isVisible());
    moveTo(canvas().Pointer(5), QPointF(0, 20));  // the bottom edge
    release(canvas().Pointer(5), QPointF(0, 0));
    const QRect placed = area->geometry();
    main->mnuFileSave_Click();
    EXPECT_EQ(GetIniString(state.panel.DeskIniFile, QStringLiteral("圖形"), QStringLiteral("H")).toInt(), placed.height());
    EXPECT_EQ(GetIniString(state.panel.DeskIniFile, QStringLiteral("圖形"), QStringLiteral("Visible")), QStringLiteral("True"));
    main->mImage_Click();
    EXPECT_FALSE(state.PictureAreaShown());
    EXPECT_FALSE(main->mImage()->isChecked());
    main->mnuFileSave_Click();
    EXPECT_EQ(GetIniString(state.panel.DeskIniFile, QStringLiteral("圖形"), QStringLiteral("Visible")), QStringLiteral("False"));
}

TEST_F(EditorFlow, ReleasingOnATitleButtonsIconShowsItsHandles)
{
    openQuorvel();
    PanelKey *button = obj().PicButton[0];
    const QPoint icon = obj().ImageButton[0]->geometry().center();
    press(button, icon);
    release(button, icon);
    EXPECT_EQ(canvas().ActObj(), button);
    EXPECT_TRUE(canvas().Pointer(0)->isVisible());
    EXPECT_EQ(canvas().Pointer(0)->pos(), button->pos());
    // A release beside the icon leaves the handles hidden.
    press(button, QPointF(0, 0));
    release(button, QPointF(0, 0));
    EXPECT_FALSE(canvas().Pointer(0)->isVisible());
}

TEST_F(EditorFlow, TheWindowMenuListsAndTilesTheCanvas)
{
    openQuorvel();
    QMenu *windowMenu = nullptr;
    for (QAction *top : main->menuBar()->actions())
        if (top->text() == QStringLiteral("視窗(&W)"))
            windowMenu = top->menu();
    ASSERT_NE(windowMenu, nullptr);
    emit windowMenu->aboutToShow();
    emit windowMenu->aboutToShow();  // built again, not appended twice
    int listed = 0;
    for (QAction *item : windowMenu->actions())
        listed += item->text().endsWith(state.panel.DeskPicFile) ? 1 : 0;
    EXPECT_EQ(listed, 1);
    for (QAction *item : windowMenu->actions())
        if (item->text() == QStringLiteral("垂直並排(&V)"))
            item->trigger();
    EXPECT_EQ(main->canvasWindow()->geometry(), main->canvasWindow()->parentWidget()->rect());
}

TEST_F(EditorFlow, ClosingWhileMinimizedKeepsTheLastSavedPlace)
{
    SaveAppSetting(QStringLiteral("EditLeft"), QStringLiteral("300"));
    SaveAppSetting(QStringLiteral("EditWidth"), QStringLiteral("9000"));
    main->setWindowState(Qt::WindowMinimized);
    main->CloseForm();
    EXPECT_EQ(GetAppSetting(QStringLiteral("EditLeft")), QStringLiteral("300"));
    EXPECT_EQ(GetAppSetting(QStringLiteral("EditWidth")), QStringLiteral("9000"));
    EXPECT_EQ(GetAppSetting(QStringLiteral("EditFile1"), QStringLiteral("unset")), QString());
}
