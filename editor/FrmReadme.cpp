#include "FrmReadme.h"

#include "Cp950.h"
#include "ModTools.h"
#include "SafeFile.h"
#include "SystemPaths.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

FrmReadme::FrmReadme(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FrmReadme"));
    setWindowTitle(QStringLiteral("Quorvel讀我檔"));
    auto *layout = new QVBoxLayout(this);
    m_text = new QTextEdit(this);
    m_text->setObjectName(QStringLiteral("RichTextBox1"));
    m_text->setReadOnly(true);
    m_check = new QCheckBox(QStringLiteral("下次不要顯示此說明"), this);
    m_check->setObjectName(QStringLiteral("Check1"));
    auto *ok = new QPushButton(QStringLiteral("確定"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    layout->addWidget(m_text);
    layout->addWidget(m_check);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &FrmReadme::Command1_Click);
    resize(520, 400);
}

bool FrmReadme::Form_Load()
{
    const QString setting = GetAppSetting(QStringLiteral("ReadMe"), QStringLiteral("0"));
    if (setting != QLatin1String("0")) {
        CloseMe();
        return false;
    }
    bool ok = false;
    const QByteArray bytes = SafeFile::read(SystemPaths::ProgramFolder() + QStringLiteral("/ReadMe.rtf"), &ok);
    m_text->setPlainText(ok ? RtfPlainText(bytes) : QStringLiteral("找不到說明檔 ReadMe.rtf。"));
    m_check->setChecked(setting != QLatin1String("0"));
    return true;
}

void FrmReadme::Command1_Click()
{
    SaveAppSetting(QStringLiteral("ReadMe"), m_check->isChecked() ? 1 : 0);
    CloseMe();
}

void FrmReadme::CloseMe()
{
    hide();
    if (onClosed)
        onClosed();
}

void FrmReadme::closeEvent(QCloseEvent *event)
{
    event->ignore();
    CloseMe();
}

QString RtfPlainText(const QByteArray &rtf)
{
    static const QList<QByteArray> skipped = {"fonttbl", "colortbl", "stylesheet", "info", "pict", "*"};
    QByteArray out;
    QList<bool> skipping{false};
    for (int i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        if (c == '{') {
            skipping.append(skipping.last());
        } else if (c == '}') {
            if (skipping.size() > 1)
                skipping.removeLast();
        } else if (c == '\\') {
            if (i + 1 >= rtf.size())
                break;
            const char next = rtf[i + 1];
            if (next == '\'' && i + 3 < rtf.size()) {
                bool ok = false;
                const char byte = char(rtf.mid(i + 2, 2).toInt(&ok, 16));
                if (ok && !skipping.last())
                    out.append(byte);
                i += 3;
            } else if (next == '\\' || next == '{' || next == '}') {
                if (!skipping.last())
                    out.append(next);
                ++i;
            } else if (next == '*') {
                skipping.last() = true;
                ++i;
            } else {
                int j = i + 1;
                while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j])))
                    ++j;
                const QByteArray word = rtf.mid(i + 1, j - i - 1);
                while (j < rtf.size() && (rtf[j] == '-' || std::isdigit(static_cast<unsigned char>(rtf[j]))))
                    ++j;
                if (j < rtf.size() && rtf[j] == ' ')
                    ++j;
                if (skipped.contains(word))
                    skipping.last() = true;
                else if ((word == "par" || word == "line") && !skipping.last())
                    out.append("\n");
                else if (word == "tab" && !skipping.last())
                    out.append('\t');
                i = j - 1;
            }
        } else if (c != '\r' && c != '\n' && !skipping.last()) {
            out.append(c);
        }
    }
    return Cp950::decode(out);
}
