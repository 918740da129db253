#include "frmSeleDir.h"

#include "ListBoxes.h"
#include "ModFiles.h"

#include <QCloseEvent>
#include <QDir>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

QString SeleDirPath;
QString SeleDirPattern;
bool SeleDirBusy = false;

namespace {
QPointer<frmSeleDir> openPicker;
}

frmSeleDir::frmSeleDir(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("指定目錄"));
    setObjectName(QStringLiteral("frmSeleDir"));

    Drive1 = new DriveListBox(this);
    Dir1 = new DirListBox(this);
    File1 = new FileListBox(this);
    Text1 = new QLineEdit(this);
    Text1->setReadOnly(true);
    Label1 = new QLabel(this);
    Label1->setWordWrap(true);
    Label2 = new QLabel(this);
    Command5 = new QPushButton(QStringLiteral("確定"), this);
    Command6 = new QPushButton(QStringLiteral("取消"), this);
    Command5->setDefault(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Drive1, 0, 0);
    grid->addWidget(Text1, 0, 1);
    grid->addWidget(Dir1, 1, 0);
    grid->addWidget(File1, 1, 1);
    grid->addWidget(Label1, 2, 0);
    grid->addWidget(Label2, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command5);
    buttons->addWidget(Command6);
    grid->addLayout(buttons, 3, 0, 1, 2);
    resize(520, 380);

    connect(Drive1, &DriveListBox::Change, this, &frmSeleDir::Drive1_Change);
    connect(Dir1, &DirListBox::Change, this, &frmSeleDir::Dir1_Change);
    connect(Command5, &QPushButton::clicked, this, &frmSeleDir::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmSeleDir::Command6_Click);

    // A new picker opens where the program runs until the caller names a folder.
    const QString start = QDir::currentPath();
    {
        const QSignalBlocker quiet(Drive1);
        Drive1->setDrive(GetDrive(start));
    }
    if (Dir1->setPath(start)) Dir1_Change();
}

void frmSeleDir::PlaceAt(const QString& path, const QString& pattern) {
    m_startPath = path;
    Dir1->setPath(path);
    {
        // The drive list shows the folder list's drive, also when Path could not be opened.
        const QSignalBlocker quiet(Drive1);
        Drive1->setDrive(GetDrive(Dir1->path()));
    }
    File1->setPattern(pattern);
    Text1->setText(pattern);
    Dir1_Change();
}

void frmSeleDir::CloseForm() {
    hide();
    SeleDirBusy = false;
    emit Closed();
}

void frmSeleDir::Drive1_Change() {
    if (Dir1->setPath(Drive1->drive())) return;
    // An unreadable drive (no disc): the folder list stays, and the drive list with it.
    const QSignalBlocker quiet(Drive1);
    Drive1->setDrive(GetDrive(Dir1->path()));
}

void frmSeleDir::Dir1_Change() {
    File1->setPath(Dir1->path());
    ShowFolder();
}

void frmSeleDir::ShowFolder() {
    Label1->setText(Dir1->path());
    Label2->setText(QString::number(File1->listCount()) + QStringLiteral(" 個檔"));
}

void frmSeleDir::Command5_Click() {
    SeleDirPath = Dir1->path();
    CloseForm();
}

void frmSeleDir::Command6_Click() {
    SeleDirPath = QString();
    CloseForm();
}

void frmSeleDir::reject() { Command6_Click(); }

void frmSeleDir::closeEvent(QCloseEvent* event) {
    // Closing the window gives the caller the folder it started from and unloads the picker.
    event->accept();
    SeleDirPath = m_startPath;
    CloseForm();
    deleteLater();
}

frmSeleDir* SeleDirForm() { return openPicker.data(); }

void ShowSeleDir() {
    // One picker at a time: the shared values serve the open one. A second call while it is
    // open (another command ran during the wait) is refused as a cancel, and the open picker
    // comes forward; its own caller still gets its own answer.
    if (SeleDirBusy && openPicker && openPicker->isVisible()) {
        SeleDirPath = QString();
        openPicker->raise();
        openPicker->activateWindow();
        return;
    }
    SeleDirBusy = true;
    if (!openPicker) openPicker = new frmSeleDir;
    frmSeleDir* picker = openPicker;
    picker->PlaceAt(SeleDirPath, SeleDirPattern);
    picker->show();
    picker->raise();
    picker->activateWindow();

    QEventLoop wait;
    QObject::connect(picker, &frmSeleDir::Closed, &wait, &QEventLoop::quit);
    QObject::connect(picker, &QObject::destroyed, &wait, &QEventLoop::quit);
    if (SeleDirBusy) wait.exec();
    // The wait ended without an answer (the program ends while the picker is open, or the
    // picker went away): that is a cancel, so the caller does not go on with its start folder.
    if (SeleDirBusy) SeleDirPath = QString();
    SeleDirBusy = false;
}
