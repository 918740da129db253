#include "frmSongSet.h"

#include "Cp950.h"
#include "FieldReader.h"
#include "ModFiles.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QPushButton>
#include <QTreeWidget>

frmSongSet::frmSongSet(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmSongSet"));
    setWindowTitle(ModeTitle);
    auto* grid = new QGridLayout(this);
    ListView1 = new QTreeWidget(this);
    ListView1->setHeaderLabels({QStringLiteral("播放清單"), QStringLiteral("目錄")});
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid->addWidget(ListView1, 0, 0, 1, 3);
    Command13 = new QPushButton(QStringLiteral("開啟最後使用檔"), this);
    Command5 = new QPushButton(QStringLiteral("開始播放"), this);
    Command6 = new QPushButton(QStringLiteral("放棄"), this);
    grid->addWidget(Command13, 1, 0);
    grid->addWidget(Command5, 1, 1);
    grid->addWidget(Command6, 1, 2);
    connect(Command13, &QPushButton::clicked, this, [this] { ReadListFile(CurListFile); });
    connect(Command5, &QPushButton::clicked, this, &frmSongSet::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmSongSet::Command6_Click);
}

void frmSongSet::ReadListFile(const QString& Path)
{
    bool ok = false;
    const QString text = Cp950::readTextFile(Path, &ok);
    if (!ok) return;  // a list that cannot be opened changes nothing
    ListView1->clear();
    for (const QString& field : ReadFields(text).fields) {
        if (field.isEmpty()) continue;
        auto* row = new QTreeWidgetItem(ListView1);
        row->setText(0, GetFileName(field));
        row->setText(1, GetFilePath(field));
    }
    setWindowTitle(ModeTitle + QStringLiteral(" - ") + Path);
    CurListFile = Path;
}

void frmSongSet::CloseForm()
{
    hide();
    emit closed();
}

void frmSongSet::Command5_Click()
{
    const int n = ListView1->topLevelItemCount();
    if (n == 0) {
        QApplication::beep();
        return;
    }
    HandedOver.clear();
    for (int i = 0; i < n; ++i) {
        const QTreeWidgetItem* row = ListView1->topLevelItem(i);
        HandedOver << AddPath(row->text(1), row->text(0));
    }
    ListEntryCount = n;
    CloseForm();
}

void frmSongSet::Command6_Click()
{
    ListEntryCount = 0;
    CloseForm();
}

void frmSongSet::closeEvent(QCloseEvent* event)
{
    CloseForm();
    event->accept();
}
