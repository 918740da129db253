#include "PanelTestSupport.h"

#include "Cp950.h"
#include "ModTools.h"
#include "SystemPaths.h"

#include <QDir>
#include <QFile>
#include <QPainter>

QString testOutputFolder()
{
    const QString folder = QStringLiteral(PANEL_TEST_OUTPUT);
    QDir().mkpath(folder);
    return folder;
}

QImage screenshot(QWidget &form)
{
    QImage shot(form.size(), QImage::Format_ARGB32);
    shot.fill(Qt::transparent);
    QPainter painter(&shot);
    if (!form.mask().isEmpty())
        painter.setClipRegion(form.mask());
    painter.drawPixmap(0, 0, form.grab());
    return shot;
}

void PanelTest::SetUp()
{
    ASSERT_TRUE(programDir.isValid());
    const QString root = programDir.path();
    SystemPaths::setProgramFolder(root);
    state = PanelState{};
    state.ProgramDir = root;
    state.SkinDir = root + QStringLiteral("/Skin");
    state.MaskDir = root + QStringLiteral("/Button Mask");
    state.ButtonCacheDir = root + QStringLiteral("/Cache");
    state.ButtonIniFile = state.SkinDir + QStringLiteral("/Button.ini");
    state.Zoom = 1;
    state.WidenItalic = true;
    state.ScreenClass = 1024;
    state.ScreenHeight = 768;
    for (const QString &dir : {state.SkinDir, state.MaskDir, state.ButtonCacheDir, root + QStringLiteral("/Desk")})
        QDir().mkpath(dir);
    colors = ButtonColorSettings{};
    recreateForm();
}

void PanelTest::TearDown()
{
    form.reset();
    host.reset();
    SystemPaths::setProgramFolder(QString());
}

void PanelTest::recreateForm()
{
    form.reset();
    host = std::make_unique<TestHost>();
    form = std::make_unique<PanelForm>(*host, state, colors);
}

QString PanelTest::logText() const
{
    return Cp950::readTextFile(LogFilePath());
}

void PanelTest::clearLog()
{
    QFile::remove(LogFilePath());
}

QImage makePanelPicture(PanelObjects &obj, int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient shade(0, 0, 0, height);
    shade.setColorAt(0, QColor(40, 60, 110));
    shade.setColorAt(1, QColor(10, 20, 50));
    painter.fillRect(picture.rect(), shade);
    painter.setPen(QColor(200, 200, 220));
    painter.setBrush(QColor(70, 90, 150));
    auto drawKeys = [&painter](const QVector<PanelKey *> &keys) {
        for (const PanelKey *key : keys)
            painter.drawRoundedRect(key->geometry().adjusted(0, 0, -1, -1), 6, 6);
    };
    drawKeys(obj.PicCtl);
    drawKeys(obj.PicNum);
    drawKeys(obj.PicButton);
    painter.setBrush(QColor(20, 20, 20));
    painter.drawRect(obj.Image1->geometry());
    return picture;
}

QImage makeRoundMask(int size)
{
    QImage mask(size, size, QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter painter(&mask);
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(QColor(128, 128, 128));
    painter.drawEllipse(QRect(1, 1, size - 3, size - 3));
    return mask;
}

bool saveMask(const QString &path, const QImage &mask)
{
    return mask.save(path, "BMP");
}

void useMaskForAllKeys(PanelObjects &obj, const QString &maskDir, const QString &maskName)
{
    saveMask(maskDir + QLatin1Char('/') + maskName, makeRoundMask(32));
    for (auto *keys : {&obj.PicCtl, &obj.PicNum, &obj.PicButton})
        for (PanelKey *key : *keys)
            key->Tag = maskName;
}
