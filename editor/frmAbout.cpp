#include "frmAbout.h"

#include "ModFiles.h"
#include "ModRegist.h"
#include "ModTools.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {
const QString InfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString InfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
}

std::function<bool(const QString &)> &frmAbout::programStarter()
{
    static std::function<bool(const QString &)> starter = [](const QString &program) {
        return QProcess::startDetached(program, {});
    };
    return starter;
}

frmAbout::frmAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("關於 QuorvelEdit"));
    auto *layout = new QVBoxLayout(this);
    auto *top = new QHBoxLayout;
    auto *icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    auto *texts = new QVBoxLayout;
    lblTitle = new QLabel(QStringLiteral("Quorvel"), this);
    QFont big = lblTitle->font();
    big.setPointSize(16);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(QStringLiteral("版本 ") + QCoreApplication::applicationVersion(), this);
    lblDescription0 = new QLabel(QStringLiteral("Quorvel 面板編輯程式"), this);
    lblDescription1 = new QLabel(QStringLiteral("編輯播放程式的面板按鈕位置、遮罩與字型"), this);
    for (QLabel *l : {lblTitle, lblVersion, lblDescription0, lblDescription1})
        texts->addWidget(l);
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    layout->addLayout(top);
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    layout->addWidget(line);
    lblDisclaimer = new QLabel(QStringLiteral("本程式依現況提供。"), this);
    layout->addWidget(lblDisclaimer);
    auto *buttons = new QHBoxLayout;
    auto *ok = new QPushButton(QStringLiteral("確定"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    auto *info = new QPushButton(QStringLiteral("系統資訊(&S)..."), this);
    info->setObjectName(QStringLiteral("cmdSysInfo"));
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(info);
    layout->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(info, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
}

void frmAbout::cmdOK_Click()
{
    if (parentWidget())
        parentWidget()->setEnabled(true);
    accept();
}

void frmAbout::StartSysInfo()
{
    QString program;
    if (GetKeyValue(HKEY_LOCAL_MACHINE, InfoKey, QStringLiteral("PATH"), program)) {
        // found: program names it
    } else if (GetKeyValue(HKEY_LOCAL_MACHINE, InfoLocationKey, QStringLiteral("MSINFO"), program)) {
        program = AddPath(program, QStringLiteral("MSINFO32.EXE"));
        if (!FileExist(program))
            program.clear();
    } else {
        program.clear();
    }
    if (program.isEmpty() || !programStarter()(program))
        ShowMsg(QStringLiteral("此時的系統資訊不正確"), QStringLiteral("ok"));
}

bool GetKeyValue(uint32_t KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal)
{
    // The store keeps text values only; the text stops at its first NUL.
    const QString value = GetRegString(KeyRoot, KeyName, SubKeyRef);
    KeyVal = value.section(QChar(0), 0, 0);
    return !KeyVal.isEmpty();
}
