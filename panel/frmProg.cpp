#include "frmProg.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

frmProg::frmProg(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmProg"));
    const QString caption = QStringLiteral("正在建立面板快取中");
    Label1 = new QLabel(caption, this);
    Label2 = new QLabel(caption, this);
    Label3 = new QLabel(caption, this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addWidget(ProgressBar1);
    setFixedSize(320, 130);
}
