#include "TestControl.h"

#include "Drives.h"
#include "LibcdioDrive.h"
#include "MediaBackend.h"
#include "ModFiles.h"
#include "PanelForm.h"
#include "SimulatedDisc.h"
#include "frmDir.h"
#include "frmTemp.h"
#include "frmVCD.h"
#include "MessageBox.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QWindow>

#include <algorithm>

namespace TestControl {

namespace {

// A simulated audio disc in a simulated optical drive that the player uses as its drive:
// "disc 60000 90000 120000" (track lengths in milliseconds). Only with the simulated back end.
void insertTestDisc(frmVCD& vcd, const QString& lengths)
{
    if (mediaBackend() != MediaBackend::Simulated) return;
    QList<Drives::Drive> drives = Drives::List();
    const QString drive = QStringLiteral("/dev/sr0");
    const bool listed = std::any_of(drives.begin(), drives.end(), [&](const Drives::Drive& d) {
        return d.type == Drives::TypeOptical && (d.root == drive || d.device == drive);
    });
    if (!listed) drives.append({drive, drive, QString(), Drives::TypeOptical, false});
    Drives::SetSource(std::make_shared<Drives::FixedSource>(drives));
    vcd.playback().CdDrive = drive;
    QVector<qint64> tracks;
    for (const QString& length : lengths.split(QLatin1Char(' '), Qt::SkipEmptyParts)) tracks << length.toLongLong();
    simulatedDisc().insertAudioDisc(tracks);  // the disc watcher sees it arrive
}

// Presses and releases the left button at the centre of a panel key, as a user's click:
// "key PicCtl 0". The events go the way of the user's: to the window, which hands them to
// whatever lies at that place (and holds them while a medium opens).
void clickPanelKey(frmVCD& vcd, const QString& family, int index)
{
    PanelObjects& obj = vcd.panel().obj();
    const QVector<PanelKey*>& keys = family == QLatin1String("PicCtl")  ? obj.PicCtl
                                     : family == QLatin1String("PicNum") ? obj.PicNum
                                                                         : obj.PicButton;
    if (index < 0 || index >= keys.size()) return;
    const QPointF centre(keys[index]->geometry().center());
    const QPointF global = vcd.mapToGlobal(centre);
    QObject* target = vcd.windowHandle();
    if (!target) target = &vcd;
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// What the panel shows, one "name=value" line each, for the test to read.
void writeTestState(frmVCD& vcd, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    const PanelObjects& obj = vcd.panel().obj();
    QStringList lines{QStringLiteral("MediaKind=") + vcd.playback().MediaKind,
                      QStringLiteral("VolumeLevel=") + QString::number(vcd.playback().VolumeLevel),
                      QStringLiteral("KnobHeld=%1").arg(vcd.playback().KnobHeld ? 1 : 0),
                      QStringLiteral("Label1=") + obj.Label1->text()};
    for (int i = 0; i < obj.Label2.size(); ++i)
        lines << QStringLiteral("Label2(%1)=").arg(i) + obj.Label2[i]->text();
    // Where the keys are on the screen, so that a test can click them.
    for (const auto& [name, keys] : {std::pair{QStringLiteral("PicCtl"), &obj.PicCtl},
                                     std::pair{QStringLiteral("PicNum"), &obj.PicNum},
                                     std::pair{QStringLiteral("PicButton"), &obj.PicButton}}) {
        for (int i = 0; i < keys->size(); ++i) {
            const QRect key((*keys)[i]->mapToGlobal(QPoint(0, 0)), (*keys)[i]->size());
            lines << QStringLiteral("%1(%2)=%3 %4 %5 %6")
                         .arg(name)
                         .arg(i)
                         .arg(key.x())
                         .arg(key.y())
                         .arg(key.width())
                         .arg(key.height());
        }
    }
    // The number keys' captions: the page the pad shows.
    for (int i = 0; i < obj.LabNum.size(); ++i) lines << QStringLiteral("LabNum(%1)=").arg(i) + obj.LabNum[i]->text();
    // Where the message line, the logo, the picture area and the lyric list are on the screen.
    const auto place = [&vcd](const QString& name, const QRect& inWindow) {
        const QRect r(vcd.mapToGlobal(inWindow.topLeft()), inWindow.size());
        return QStringLiteral("place(%1)=%2 %3 %4 %5").arg(name).arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    };
    lines << place(QStringLiteral("Panel"), vcd.rect()) << place(QStringLiteral("Label1"), obj.Label1->geometry()) << place(QStringLiteral("PictureArea"), vcd.pictureArea())
          << place(QStringLiteral("SongList"), vcd.SongList->geometry())
          << QStringLiteral("SongListVisible=%1").arg(vcd.SongList->isVisible() ? 1 : 0);
    if (!obj.Label3.isEmpty()) lines << place(QStringLiteral("Label3"), obj.Label3[0]->geometry());
    lines << QStringLiteral("TimerBMP=%1 %2").arg(vcd.TimerBMP.isActive() ? 1 : 0).arg(vcd.TimerBMP.interval());
    if (const auto* disc = dynamic_cast<const LibcdioDrive*>(&cdDrive()))  // the pitch the disc's sound has
        lines << QStringLiteral("CdTone=%1").arg(qRound(disc->toneHeard()));
    // The panel browser's thumbnails while it is open: their places and files; its window and
    // the panel's, as the windowing system knows them.
    lines << QStringLiteral("PanelWindow=0x%1").arg(vcd.winId(), 0, 16);
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* browser = qobject_cast<frmDir*>(top); browser && browser->isVisible()) {
            lines << QStringLiteral("BrowserWindow=0x%1").arg(browser->winId(), 0, 16);
            for (const PictureCell* cell : browser->Picture1)
                if (cell->isVisible()) {
                    const QPoint at = cell->mapToGlobal(QPoint(0, 0));
                    lines << QStringLiteral("Picture1(%1)=%2 %3 %4 %5 %6")
                                 .arg(cell->Index()).arg(at.x()).arg(at.y()).arg(cell->width()).arg(cell->height())
                                 .arg(GetFileName(cell->toolTip()));
                }
        }
    // The window that takes the keyboard: a key typed before a new window has it goes elsewhere.
    if (const QWidget* active = QApplication::activeWindow())
        lines << QStringLiteral("ActiveWindow=0x%1").arg(active->winId(), 0, 16);
    // The other windows on the screen, by their captions, and where they are.
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top != &vcd && top->isVisible() && !top->windowTitle().isEmpty())
            lines << QStringLiteral("window(%1)=%2 %3 %4 %5")
                         .arg(top->windowTitle()).arg(top->geometry().x()).arg(top->geometry().y()).arg(top->width()).arg(top->height());
    // The message box in front of the user, its lines joined by " | ".
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(top); box && box->isVisible())
            lines << QStringLiteral("MessageBox=") + box->text().split(QStringLiteral("\r\n")).join(QStringLiteral(" | "));
    // The items of a menu popped up in front of the user (1 when enabled) and the one the
    // keys have reached.
    for (QWidget* top : QApplication::topLevelWidgets())
        if (auto* menu = qobject_cast<QMenu*>(top); menu && menu->isVisible()) {
            for (const QAction* action : menu->actions())
                if (!action->isSeparator())
                    lines << QStringLiteral("Menu(%1)=%2").arg(action->text()).arg(action->isEnabled() ? 1 : 0);
            if (menu->activeAction()) lines << QStringLiteral("MenuActive=") + menu->activeAction()->text();
        }
    // The last message the player gave where the test answers its boxes.
    if (const QList<MessageBox::Request> told = MessageBox::shownRequests(); !told.isEmpty())
        lines << QStringLiteral("LastMessage=") + told.last().prompt;
    file.write(lines.join(QLatin1Char('\n')).toUtf8());
}

// Moves a scroll bar or slider of a visible window, named by its object name, as a user's
// drag would: "value VScroll1 0".
void setControlValue(const QString& name, int value)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        if (auto* slider = top->findChild<QAbstractSlider*>(name)) {
            slider->setValue(value);
            return;
        }
    }
}

// Types a text into a text box or an editable list box of a visible window, named by its
// object name, as a user would: "text Text9 a.bmp", "text Combo1 /media/cdrom".
void setControlText(const QString& name, const QString& text)
{
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        if (auto* box = top->findChild<QLineEdit*>(name)) {
            box->setText(text);
            return;
        }
        if (auto* box = top->findChild<QComboBox*>(name); box && box->isEditable()) {
            box->setEditText(text);
            return;
        }
    }
}

}  // namespace

void Run(frmVCD& vcd, const QString& command)
{
    if (command.startsWith(QLatin1String("disc "))) {
        insertTestDisc(vcd, command.mid(5));
        return;
    }
    if (command.startsWith(QLatin1String("key "))) {
        const QStringList parts = command.split(QLatin1Char(' '));
        if (parts.size() == 3) clickPanelKey(vcd, parts[1], parts[2].toInt());
        return;
    }
    if (command.startsWith(QLatin1String("value "))) {
        const QStringList parts = command.split(QLatin1Char(' '));
        if (parts.size() == 3) setControlValue(parts[1], parts[2].toInt());
        return;
    }
    if (command.startsWith(QLatin1String("text "))) {
        const QString rest = command.mid(5);
        const int blank = rest.indexOf(QLatin1Char(' '));
        if (blank > 0) setControlText(rest.left(blank), rest.mid(blank + 1));
        return;
    }
    if (command.startsWith(QLatin1String("state "))) {
        writeTestState(vcd, command.mid(6));
        return;
    }
    if (command.startsWith(QLatin1String("click "))) {
        const QString caption = command.mid(6);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible()) continue;
            for (QAbstractButton* b : top->findChildren<QAbstractButton*>())
                if (b->isVisible() && b->text() == caption) {
                    b->click();
                    return;
                }
        }
    } else if (command == QLatin1String("close")) {
        vcd.close();  // as the window manager closes it
    } else if (command == QLatin1String("quit")) {
        vcd.CloseForm();
    } else if (command == QLatin1String("minimize")) {
        vcd.taskEntry().setWindowState(1);
    } else if (command == QLatin1String("restore")) {
        vcd.taskEntry().setWindowState(0);
    }
}

}  // namespace TestControl
