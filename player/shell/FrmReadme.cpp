#include "FrmReadme.h"

#include "ModTools.h"
#include "RtfText.h"
#include "SafeFile.h"
#include "SystemPaths.h"
#include "VbRuntime.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QLabel>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString ReadMeKey = QStringLiteral("ReadMe");

QString fallbackText()
{
    return QStringLiteral("Quorvel 卡拉OK播放程式\n\n找不到說明檔 ReadMe.rtf。\n"
                          "請將說明檔放在程式目錄下,以便閱讀完整的使用說明。");
}

}  // namespace

FrmReadme::FrmReadme(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FrmReadme"));
    setWindowTitle(QStringLiteral("Quorvel說明檔"));
    auto* layout = new QVBoxLayout(this);
    RichTextBox1 = new QTextEdit(this);
    RichTextBox1->setReadOnly(true);
    Label1 = new QLabel(QStringLiteral("您必須要看完此說明,不看完不給你用"), this);
    Check1 = new QCheckBox(QStringLiteral("下次不要顯示此說明"), this);
    Command1 = new QPushButton(QStringLiteral("不騙你,我真的看過了"), this);
    layout->addWidget(RichTextBox1, 1);
    layout->addWidget(Label1);
    layout->addWidget(Check1);
    layout->addWidget(Command1);
    resize(560, 460);
    connect(Command1, &QPushButton::clicked, this, &FrmReadme::Command1_Click);
}

bool FrmReadme::ShowsFor(const QString& setting) { return Vb::Val(setting) == 0; }

void FrmReadme::Form_Load()
{
    const QString file = SystemPaths::ProgramFolder() + QStringLiteral("/ReadMe.rtf");
    if (m_loadedFile != file) {
        bool ok = false;
        const QByteArray bytes = SafeFile::read(file, &ok);
        RichTextBox1->setPlainText(ok ? RtfToPlainText(bytes) : fallbackText());
        m_loadedFile = file;
    }
    m_setting = GetAppSetting(ReadMeKey, QStringLiteral("0"));
    if (ShowsFor(m_setting)) {
        Check1->setChecked(false);
        if (!isVisible()) centreOnScreen();
        show();
        raise();
        activateWindow();
    }
}

void FrmReadme::centreOnScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void FrmReadme::Command1_Click()
{
    SaveAppSetting(ReadMeKey, Check1->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    m_confirmed = true;
    CloseMe();
}

void FrmReadme::CloseMe() { hide(); }

void FrmReadme::closeEvent(QCloseEvent* event)
{
    // Closing by the close box stores nothing; the gate shows the window again.
    event->ignore();
    hide();
}

void FrmReadme::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    emit hidden();
}

bool RunReadmeGate(const std::function<FrmReadme&()>& window)
{
    if (!FrmReadme::ShowsFor(GetAppSetting(ReadMeKey, QStringLiteral("0")))) return false;
    FrmReadme& readme = window();
    WriteLog(QStringLiteral("開啟說明畫面"));
    readme.Form_Load();
    readme.repaint();
    QEventLoop wait;
    QObject::connect(&readme, &FrmReadme::hidden, &wait, [&] {
        if (readme.confirmed()) {
            wait.quit();
            return;
        }
        // Closed by its close box: it comes back at once (unless the setting no longer asks).
        QTimer::singleShot(0, &wait, [&] {
            readme.Form_Load();
            if (!readme.isVisible()) wait.quit();
        });
    });
    if (readme.isVisible() && !readme.confirmed()) wait.exec();
    WriteLog(QStringLiteral("結束說明畫面"));
    return true;
}
