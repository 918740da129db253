#include <frmSeleDir.h>

#include <Drives.h>
#include <ListBoxes.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

namespace {

class FolderPicker : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        root_ = QDir(dir_.path()).canonicalPath();
        QDir(root_).mkpath("Pictures/Holiday");
        QDir(root_).mkpath("Empty");
        for (const char* name : {"a.jpg", "b.BMP", "c.gif", "d.txt"}) {
            QFile f(root_ + "/Pictures/" + name);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
        Drives::SetSource(std::make_shared<Drives::FixedSource>(QList<Drives::Drive>{
            Drives::Drive{"/", "", "", Drives::TypeFixed, true},
            Drives::Drive{root_, "", "PICS", Drives::TypeFixed, true},
            Drives::Drive{"/dev/sr0", "/dev/sr0", "", Drives::TypeOptical, false},
        }));
    }
    void TearDown() override {
        if (frmSeleDir* picker = SeleDirForm()) delete picker;
        Drives::SetSource(nullptr);
    }

    // Runs ShowSeleDir while Act plays the user once the picker shows; a
    // watchdog closes the picker so that a broken test cannot hang.
    void pick(const QString& start, const QString& pattern, const std::function<void(frmSeleDir*)>& act) {
        SeleDirPath = start;
        SeleDirPattern = pattern;
        QTimer::singleShot(0, [act] {
            frmSeleDir* picker = SeleDirForm();
            ASSERT_NE(picker, nullptr);
            EXPECT_TRUE(SeleDirBusy);
            EXPECT_TRUE(picker->isVisible());
            act(picker);
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] {
            ADD_FAILURE() << "the picker did not close";
            if (SeleDirForm()) SeleDirForm()->CloseForm();
        });
        watchdog.start(5000);
        ShowSeleDir();
        EXPECT_FALSE(SeleDirBusy);
    }

    QTemporaryDir dir_;
    QString root_;
};

TEST_F(FolderPicker, ConfirmingGivesTheFolderShownEvenWhenNeverMoved) {
    QString count, pattern, folder;
    pick(root_ + "/Pictures", "*.jpg;*.bmp;*.gif", [&](frmSeleDir* picker) {
        count = picker->Label2->text();
        pattern = picker->Text1->text();
        folder = picker->Label1->text();
        EXPECT_EQ(picker->windowTitle(), "指定目錄");
        EXPECT_EQ(picker->Drive1->drive(), root_);
        picker->Command5->click();
    });
    EXPECT_EQ(SeleDirPath, root_ + "/Pictures");
    EXPECT_EQ(count, "3 個檔");
    EXPECT_EQ(pattern, "*.jpg;*.bmp;*.gif");
    EXPECT_EQ(folder, root_ + "/Pictures");
}

TEST_F(FolderPicker, ConfirmingAfterMovingGivesTheNewFolder) {
    QString count;
    pick(root_ + "/Pictures", "*.*", [&](frmSeleDir* picker) {
        picker->Dir1->setPath(root_ + "/Pictures/Holiday");
        count = picker->Label2->text();
        picker->Command5->click();
    });
    EXPECT_EQ(SeleDirPath, root_ + "/Pictures/Holiday");
    EXPECT_EQ(count, "0 個檔");
}

TEST_F(FolderPicker, CancellingGivesAnEmptyPath) {
    pick(root_ + "/Pictures", "*.*", [](frmSeleDir* picker) { picker->Command6->click(); });
    EXPECT_EQ(SeleDirPath, "");
    pick(root_ + "/Pictures", "*.*", [](frmSeleDir* picker) { picker->reject(); });  // Esc
    EXPECT_EQ(SeleDirPath, "");
}

TEST_F(FolderPicker, ASecondCallWhileOpenIsRefusedAndTheFirstCallerGetsItsOwnFolder) {
    QString secondAnswer = "unset";
    pick(root_ + "/Pictures", "*.*", [&, this](frmSeleDir* picker) {
        // Another command asks for a folder while the picker waits for the first caller.
        SeleDirPath = root_ + "/Empty";
        ShowSeleDir();
        secondAnswer = SeleDirPath;
        EXPECT_TRUE(SeleDirBusy);
        EXPECT_EQ(picker->Dir1->path(), root_ + "/Pictures");
        picker->Command5->click();
    });
    EXPECT_EQ(secondAnswer, "");
    EXPECT_EQ(SeleDirPath, root_ + "/Pictures");

    pick(root_ + "/Pictures", "*.*", [this](frmSeleDir* picker) {
        SeleDirPath = root_ + "/Empty";
        ShowSeleDir();
        picker->close();  // the first caller sees its own starting folder again
    });
    EXPECT_EQ(SeleDirPath, root_ + "/Pictures");
}

TEST_F(FolderPicker, ClosingTheWindowKeepsTheStartingFolderAndUnloadsThePicker) {
    pick(root_ + "/Empty", "*.*", [this](frmSeleDir* picker) {
        picker->Dir1->setPath(root_ + "/Pictures");
        picker->close();
    });
    EXPECT_EQ(SeleDirPath, root_ + "/Empty");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(SeleDirForm(), nullptr);

    QString count;
    pick(root_ + "/Empty", "*.*", [&](frmSeleDir* picker) {  // a fresh picker opens
        count = picker->Label2->text();
        picker->Command5->click();
    });
    EXPECT_EQ(count, "0 個檔");
    EXPECT_EQ(SeleDirPath, root_ + "/Empty");
}

TEST_F(FolderPicker, EnterOnAFolderOpensItAndLeavesThePickerOpen) {
    bool stillOpen = false;
    QString shown;
    pick(root_, "*.*", [&](frmSeleDir* picker) {
        picker->Dir1->setFocus();
        picker->Dir1->setListIndex(picker->Dir1->listCount() - 1);  // "Pictures", after "Empty"
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(picker->Dir1, &enter);
        stillOpen = picker->isVisible();
        shown = picker->Label1->text();
        picker->Command5->click();
    });
    EXPECT_TRUE(stillOpen) << "Enter took the folder before the user was there";
    EXPECT_EQ(shown, root_ + "/Pictures");
    EXPECT_EQ(SeleDirPath, root_ + "/Pictures");
}

TEST_F(FolderPicker, APickerThatGoesAwayUnansweredIsACancel) {
    // As when the program ends while the picker is open: no button, no close box.
    pick(root_ + "/Empty", "*.*", [](frmSeleDir* picker) { picker->deleteLater(); });
    EXPECT_EQ(SeleDirPath, "");
}

TEST_F(FolderPicker, AnUnreadableStartOrDriveLeavesThePickerWhereItWas) {
    pick(root_ + "/Pictures", "*.*", [](frmSeleDir* picker) { picker->Command5->click(); });
    QString driveShown;
    pick("/dev/sr0/Mpegav", "*.*", [&](frmSeleDir* picker) {
        EXPECT_EQ(picker->Drive1->drive(), root_);
        picker->Drive1->setDrive("/dev/sr0");  // the user picks the empty optical drive
        driveShown = picker->Drive1->drive();
        picker->Command5->click();
    });
    EXPECT_EQ(SeleDirPath, root_ + "/Pictures");
    EXPECT_EQ(driveShown, root_);
    pick("", "*.jpg", [](frmSeleDir* picker) { picker->Command5->click(); });
    EXPECT_EQ(SeleDirPath, root_ + "/Pictures");
}

TEST_F(FolderPicker, ChoosingADriveMovesTheFolderListToItsRoot) {
    pick(root_ + "/Pictures", "*.*", [&](frmSeleDir* picker) {
        picker->Drive1->setDrive("/");
        EXPECT_EQ(picker->Label1->text(), "/");
        picker->Drive1->setDrive(root_ + " [PICS]");
        picker->Command5->click();
    });
    EXPECT_EQ(SeleDirPath, root_);
}

}  // namespace
