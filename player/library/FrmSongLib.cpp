#include "FrmSongLib.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

FrmSongLib::FrmSongLib(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmSongLib"));
    setWindowTitle(QStringLiteral("歌本"));
    // Shown without stopping the player, but the panel behind it takes no clicks meanwhile:
    // another search started there would ask for the same disc again.
    setWindowModality(Qt::WindowModal);
    auto* grid = new QGridLayout(this);
    const QString captions[5] = {QStringLiteral("光碟序號:"), QStringLiteral("歌本標籤:"),
                                 QStringLiteral("光碟標籤:"), QStringLiteral("專輯數量:"),
                                 QStringLiteral("製作日期:")};
    grid->addWidget(new QLabel(captions[0], this), 0, 0);
    grid->addWidget(new QLabel(captions[1], this), 1, 0);
    Text1 = new QLineEdit(this);
    grid->addWidget(Text1, 1, 1);
    for (int i = 0; i < 4; ++i) Label2[i] = new QLabel(this);
    grid->addWidget(Label2[0], 0, 1);
    for (int i = 1; i < 4; ++i) {
        grid->addWidget(new QLabel(captions[i + 1], this), i + 1, 0);
        grid->addWidget(Label2[i], i + 1, 1);
    }
    List1 = new QListWidget(this);
    grid->addWidget(List1, 5, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    Command1[0] = new QPushButton(QStringLiteral("確定"), this);
    Command1[1] = new QPushButton(QStringLiteral("取消"), this);
    for (int i = 0; i < 2; ++i) {
        buttons->addWidget(Command1[i]);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    grid->addLayout(buttons, 6, 0, 1, 2);
    // Enter in the label box acts as "確定".
    connect(Text1, &QLineEdit::returnPressed, this, [this] { Command1_Click(0); });
}

bool FrmSongLib::Ask()
{
    SongBookOK = false;
    show();
    Text1->setFocus();
    QEventLoop loop;
    while (isVisible()) loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::AllEvents);
    return SongBookOK;
}

void FrmSongLib::Command1_Click(int Index)
{
    SongBookOK = Index == 0;
    CloseForm();
}

void FrmSongLib::CloseForm()
{
    if (parentWidget()) parentWidget()->setEnabled(true);
    hide();
}

void FrmSongLib::closeEvent(QCloseEvent* event)
{
    SongBookOK = false;
    CloseForm();
    event->accept();
}

void FrmSongLib::keyPressEvent(QKeyEvent* event)
{
    // Escape would only hide a dialog; it answers Cancel here.
    if (event->key() == Qt::Key_Escape) {
        Command1_Click(1);
        return;
    }
    QDialog::keyPressEvent(event);
}
