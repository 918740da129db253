#include "ModTools.h"

#include "Cp950.h"
#include "Leftovers.h"
#include "MessageBox.h"
#include "SafeFile.h"
#include "SettingsStore.h"
#include "SystemPaths.h"
#include "VbRuntime.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cmath>

namespace {

struct AppIdentity {
    QString company = QStringLiteral("Pelloran");
    QString product = QStringLiteral("Quorvel V1.1");
    int revision = 400;
    QString logFileName = QStringLiteral("Quorvel.log");
};

AppIdentity& identity() {
    static AppIdentity id;
    return id;
}

QString twoDigits(double value) { return QString::number(value, 'f', 0).rightJustified(2, u'0'); }

// Splits a whole number of units into fields "a:b:c" where c counts `low` per b and b
// counts `mid` per a; a grows past two digits as needed.
QString threeFields(double total, double low, double mid) {
    if (!std::isfinite(total)) total = 0;  // no number gives the zero time rather than garbage
    QString sign;
    if (total < 0) {
        sign = QStringLiteral("-");
        total = -total;
    }
    const double first = std::floor(total / low / mid);
    const double second = std::fmod(std::floor(total / low), mid);
    const double third = std::fmod(total, low);
    return sign + twoDigits(first) + u':' + twoDigits(second) + u':' + twoDigits(third);
}

struct MsgKind {
    MessageBox::Buttons buttons;
    MessageBox::Icon icon;
    QString title;
};

MsgKind msgKindOf(const QString& kind) {
    using MessageBox::Buttons;
    using MessageBox::Icon;
    const QString k = kind.toLower();
    if (k == QStringLiteral("ok") || k == QStringLiteral("info"))
        return {Buttons::Ok, Icon::Information, QStringLiteral("Message")};
    if (k == QStringLiteral("error")) return {Buttons::Ok, Icon::Critical, QStringLiteral("Error Message")};
    if (k == QStringLiteral("exc")) return {Buttons::Ok, Icon::Exclamation, QStringLiteral("Exclamation")};
    if (k == QStringLiteral("yesno")) return {Buttons::YesNo, Icon::Question, QStringLiteral("Question")};
    // No title of its own: the program's name stands in the frame, as it would by default.
    return {Buttons::Ok, Icon::None, identity().product};
}

QString logLine(const QString& text, const QString& time = FmtTime(QTime::currentTime())) {
    return time + u' ' + text + QStringLiteral("\r\n");
}

// One box for the many keys that one step (the settings dialog, the shut-down) saves in a row.
void tellSettingsNotSaved() {
    static bool told = false;
    QCoreApplication* app = QCoreApplication::instance();
    if (told || !app || QThread::currentThread() != app->thread()) return;
    told = true;
    ShowMsg(QStringLiteral("無法儲存設定:") + SettingsStore::fileName(identity().company, identity().product),
            QStringLiteral("error"));
    QTimer::singleShot(0, app, [] { told = false; });
}

}  // namespace

QString SecToTime(double Seconds) {
    // Rounding the whole first keeps the fields consistent: 59.5 s is "00:01:00", not a
    // carry lost in the seconds field alone.
    return threeFields(Vb::RoundHalfEven(Seconds), 60, 60);
}

QString HsecToTime(double Hundredths) { return threeFields(Vb::RoundHalfEven(Hundredths), 100, 60); }

int16_t TimeToSec(const QString& TimeText) {
    static const QRegularExpression clock(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const QRegularExpressionMatch m = clock.match(TimeText.left(8));
    if (!m.hasMatch()) return 0;
    const int hours = m.captured(1).toInt();
    const int minutes = m.captured(2).toInt();
    const int seconds = m.captured(3).isEmpty() ? 0 : m.captured(3).toInt();
    if (hours > 23 || minutes > 59 || seconds > 59) return 0;
    const int total = hours * 3600 + minutes * 60 + seconds;
    return total > Vb::Int16Max ? 0 : static_cast<int16_t>(total);
}

QString FmtTime(const QTime& Time) { return Vb::FormatTime(Time, QStringLiteral("hh:mm:ss")); }

QString ShowMsg(const QString& Prompt, const QString& Kind) {
    const MsgKind kind = msgKindOf(Kind);
    MessageBox::Request request;
    request.prompt = Prompt;
    request.title = kind.title;
    request.icon = kind.icon;
    request.buttons = kind.buttons;
    return QString::number(MessageBox::show(request));
}

void SetAppProduct(const QString& Product) { identity().product = Product; }
QString AppProduct() { return identity().product; }
QString AppCompany() { return identity().company; }
void SetAppRevision(int Revision) { identity().revision = Revision; }
int AppRevision() { return identity().revision; }
QString AppProductLine() { return AppProduct() + QStringLiteral(".") + QString::number(AppRevision()); }

QString GetAppSetting(const QString& Key, const QVariant& Default) {
    return SettingsStore::get(identity().company, identity().product, Key, Vb::CStr(Default));
}

bool SaveAppSetting(const QString& Key, const QVariant& Value) {
    if (SettingsStore::set(identity().company, identity().product, Key, Vb::CStr(Value))) return true;
    tellSettingsNotSaved();
    return false;
}

void SetLogFileName(const QString& FileName) { identity().logFileName = FileName; }

QString LogFilePath() {
    // The program folder when it can be written (as the programs expect), else the user's
    // data folder, so that an installed program still keeps its log.
    const QString folder = SystemPaths::ProgramFolder();
    if (QFileInfo(folder).isWritable()) return folder + u'/' + identity().logFileName;
    SystemPaths::ensureFolder(SystemPaths::DataFolder());
    return SystemPaths::DataFolder() + u'/' + identity().logFileName;
}

void StartLog() {
    const QString date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
    const QString entry = QStringLiteral("進入") + identity().product + u'.' + QString::number(identity().revision);
    Leftovers::removeSaveCopies(LogFilePath());  // what a killed start left
    // Replaced whole, but not synced: a fresh log is worth nothing after a power cut, and
    // waiting for a busy disk would delay the start more than all the rest of it.
    SafeFile::write(LogFilePath(), Cp950::encode(date + QStringLiteral("\r\n") + logLine(entry)), false);
}

void WriteLog(const QString& Text) { Cp950::appendTextFile(LogFilePath(), logLine(Text)); }

void WriteLogLines(const QStringList& Texts) {
    if (Texts.isEmpty()) return;
    const QString time = FmtTime(QTime::currentTime());
    QString lines;
    for (const QString& text : Texts) lines += logLine(text, time);
    Cp950::appendTextFile(LogFilePath(), lines);
}

void FormOnTop(QWidget* Form, bool OnTop) {
    if (!Form) return;
    const bool topmost = OnTop && !RunInDevEnv();
    // Making a window topmost also shows it; taking it back leaves it shown or hidden.
    const bool show = topmost || Form->isVisible();
    if (Form->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == topmost && Form->isVisible() == show) return;
    // Changing the flag re-creates the native window: keep its place and size, and do not
    // take the focus when showing it again.
    const QRect place = Form->geometry();
    const bool noActivate = Form->testAttribute(Qt::WA_ShowWithoutActivating);
    // Left to itself, the X11 plug-in would make the window anew inside its next show, without
    // a word to the native windows inside it, which the X server destroys with the old one (a
    // media engine's picture among them). Ended here through Qt, every window inside hears of
    // it first and is made anew with it.
    if (QWindow* native = Form->windowHandle(); native && native->handle()) {
        Form->hide();
        native->destroy();
    }
    Form->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    Form->setGeometry(place);
    if (show) {
        Form->setAttribute(Qt::WA_ShowWithoutActivating, true);
        Form->show();
        Form->setAttribute(Qt::WA_ShowWithoutActivating, noActivate);
    }
}

bool RunInDevEnv() { return false; }
