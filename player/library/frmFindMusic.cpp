#include "frmFindMusic.h"

#include "ModIniFile.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

frmFindMusic::frmFindMusic(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmFindMusic"));
    setWindowTitle(QStringLiteral("歌本管理"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("歌曲查詢:"), this), 0, 0);
    Text1 = new QLineEdit(this);
    grid->addWidget(Text1, 0, 1);

    ListView1 = new QTreeWidget(this);
    ListView1->setHeaderLabels({QStringLiteral("歌名"), QStringLiteral("所在目錄"), QStringLiteral("光碟標籤")});
    ListView1->setRootIsDecorated(false);
    grid->addWidget(ListView1, 1, 0, 1, 2);

    ListView2 = new QTreeWidget(this);
    ListView2->setHeaderLabels({QStringLiteral("序號"), QStringLiteral("光碟標籤"), QStringLiteral("光碟序號"),
                                QStringLiteral("製作日期")});
    ListView2->setRootIsDecorated(false);
    grid->addWidget(ListView2, 2, 0, 1, 2);

    auto* options = new QHBoxLayout;
    Check1 = new QCheckBox(QStringLiteral("自動編號"), this);
    Check1->setChecked(true);
    Check2 = new QCheckBox(QStringLiteral("加入原光碟標籤"), this);
    Check2->setChecked(true);
    Text2 = new QLineEdit(QStringLiteral("MP3_"), this);
    options->addWidget(Check1);
    options->addWidget(new QLabel(QStringLiteral("冊號:"), this));
    options->addWidget(Text2);
    options->addWidget(Check2);
    grid->addLayout(options, 3, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    const QString captions[3] = {QStringLiteral("匯出歌本"), QStringLiteral("匯入歌本"), QStringLiteral("放棄")};
    for (int i = 0; i < 3; ++i) {
        Command2[i] = new QPushButton(captions[i], this);
        connect(Command2[i], &QPushButton::clicked, this, &frmFindMusic::CloseForm);
        buttons->addWidget(Command2[i]);
    }
    grid->addLayout(buttons, 4, 0, 1, 2);
}

void frmFindMusic::ReadDiscList(const QString& cdromLibFile)
{
    IniFile = cdromLibFile;
    bool ok = false;
    const int count = ReadIni(QStringLiteral("CDROM"), QStringLiteral("DiscNum")).trimmed().toInt(&ok);
    ListView2->clear();
    if (!ok) return;
    for (int i = 1; i <= count; ++i) {
        const QString entry = ReadIni(QStringLiteral("CDROM"), QString::number(i));
        const int first = entry.indexOf(QLatin1Char(','));
        if (first < 0) continue;
        const QString serial = entry.left(first);
        const QString rest = entry.mid(first + 1);
        const int second = rest.indexOf(QLatin1Char(','));
        const QString label = second < 0 ? rest : rest.left(second);
        const QString date = second < 0 ? QString() : rest.mid(second + 1);
        auto* row = new QTreeWidgetItem(ListView2);
        row->setText(0, QString::number(i));
        row->setText(1, label);
        row->setText(2, serial);
        row->setText(3, date);
    }
}

void frmFindMusic::CloseForm()
{
    hide();
    emit closed();
}

void frmFindMusic::closeEvent(QCloseEvent* event)
{
    CloseForm();
    emit unloaded();
    event->accept();
}
