#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
class MessageBoxTest : public ::testing::Test {
protected:
    void TearDown() override {
        MessageBox::setAnswerer({});
        MessageBox::clearShownRequests();
    }
};
}  // namespace

TEST_F(MessageBoxTest, StyleNumbersGiveButtonsIconAndDefault) {
    MessageBox::Request r = MessageBox::fromStyle("p", 36, "t");  // question + Yes/No
    EXPECT_EQ(r.buttons, MessageBox::Buttons::YesNo);
    EXPECT_EQ(r.icon, MessageBox::Icon::Question);
    EXPECT_EQ(MessageBox::fromStyle("p", 16).icon, MessageBox::Icon::Critical);
    EXPECT_EQ(MessageBox::fromStyle("p", 48).icon, MessageBox::Icon::Exclamation);
    EXPECT_EQ(MessageBox::fromStyle("p", 64).icon, MessageBox::Icon::Information);
    EXPECT_EQ(MessageBox::fromStyle("p", 0).icon, MessageBox::Icon::None);
    EXPECT_EQ(MessageBox::fromStyle("p", 3 + 256).defaultButton, 1);
    EXPECT_EQ(MessageBox::fromStyle("p", 7).buttons, MessageBox::Buttons::Ok);
}

TEST_F(MessageBoxTest, TheHookAnswersAndRecords) {
    MessageBox::setAnswerer([](const MessageBox::Request& r) {
        return r.buttons == MessageBox::Buttons::YesNo ? MessageBox::IdNo : MessageBox::IdOk;
    });
    EXPECT_EQ(MessageBox::MsgBox("first", 36, "Q"), MessageBox::IdNo);
    EXPECT_EQ(MessageBox::MsgBox("second"), MessageBox::IdOk);
    ASSERT_EQ(MessageBox::shownRequests().size(), 2);
    EXPECT_EQ(MessageBox::shownRequests()[0].prompt, QStringLiteral("first"));
    EXPECT_EQ(MessageBox::shownRequests()[0].title, QStringLiteral("Q"));
}

TEST_F(MessageBoxTest, TheRealBoxReturnsThePressedButton) {
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            EXPECT_EQ(box->text(), QStringLiteral("是否繼續?"));
            EXPECT_EQ(box->windowTitle(), QStringLiteral("Question"));
            EXPECT_EQ(box->icon(), QMessageBox::Question);
            box->button(QMessageBox::No)->click();
        }
    });
    EXPECT_EQ(MessageBox::MsgBox(QStringLiteral("是否繼續?"), 36, "Question"), MessageBox::IdNo);
}

TEST_F(MessageBoxTest, ClosingWithoutAButtonGivesCancelOrTheOnlyButton) {
    auto closeBox = [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) box->reject();
    };
    QTimer::singleShot(0, closeBox);
    EXPECT_EQ(MessageBox::MsgBox("x", 1), MessageBox::IdCancel);
    QTimer::singleShot(0, closeBox);
    EXPECT_EQ(MessageBox::MsgBox("x", 0), MessageBox::IdOk);
}

TEST_F(MessageBoxTest, AYesNoQuestionClosedWithoutAButtonIsNo) {
    // Closed by its frame, or hidden by a shut-down while it waits: never a Yes.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) box->close();
    });
    EXPECT_EQ(MessageBox::MsgBox("是否要刪除此檔?", 36), MessageBox::IdNo);
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) box->hide();
    });
    EXPECT_EQ(MessageBox::MsgBox("是否要刪除此檔?", 36), MessageBox::IdNo);
}

TEST_F(MessageBoxTest, TheRealBoxIsOwnedByTheActiveWindowOrStaysOnTop) {
    auto inspect = [](QWidget** owner, bool* onTop) {
        QTimer::singleShot(0, [=] {
            for (QWidget* w : QApplication::allWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    *owner = box->parentWidget();
                    *onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
                    box->accept();
                }
        });
    };
    QWidget* owner = nullptr;
    bool onTop = false;
    inspect(&owner, &onTop);
    MessageBox::MsgBox("no window");
    EXPECT_EQ(owner, nullptr);
    EXPECT_TRUE(onTop);

    QWidget main;
    main.show();
    QApplication::setActiveWindow(&main);
    if (QApplication::activeWindow() != &main) GTEST_SKIP() << "the platform gives no active window";
    inspect(&owner, &onTop);
    MessageBox::MsgBox("with window");
    EXPECT_EQ(owner, &main);
    EXPECT_FALSE(onTop);
}
