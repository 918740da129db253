#include "Cp950.h"
#include "MessageBox.h"
#include "ModTools.h"
#include "SafeFile.h"
#include "SystemPaths.h"

#include <QDate>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class ShowMsgTest : public ::testing::Test {
protected:
    void SetUp() override {
        MessageBox::setAnswerer([this](const MessageBox::Request&) { return answer_; });
    }
    void TearDown() override {
        MessageBox::setAnswerer({});
        MessageBox::clearShownRequests();
    }
    MessageBox::Request lastShown() const { return MessageBox::shownRequests().last(); }

    int answer_ = MessageBox::IdOk;
};

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { SystemPaths::setProgramFolder(dir_.path()); }
    void TearDown() override { SystemPaths::setProgramFolder(QString()); }
    QByteArray logBytes() const { return SafeFile::read(dir_.filePath("Quorvel.log")); }

    QTemporaryDir dir_;
};

const QRegularExpression ClockStamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d "));

}  // namespace

TEST_F(ShowMsgTest, KindsGiveTheirButtonsIconsAndTitles) {
    struct Case {
        const char* kind;
        MessageBox::Buttons buttons;
        MessageBox::Icon icon;
        const char* title;
    };
    const Case cases[] = {
        {"ok", MessageBox::Buttons::Ok, MessageBox::Icon::Information, "Message"},
        {"Info", MessageBox::Buttons::Ok, MessageBox::Icon::Information, "Message"},
        {"ERROR", MessageBox::Buttons::Ok, MessageBox::Icon::Critical, "Error Message"},
        {"exc", MessageBox::Buttons::Ok, MessageBox::Icon::Exclamation, "Exclamation"},
        {"Yesno", MessageBox::Buttons::YesNo, MessageBox::Icon::Question, "Question"},
        {"YESNO", MessageBox::Buttons::YesNo, MessageBox::Icon::Question, "Question"},
    };
    for (const Case& c : cases) {
        ShowMsg(QStringLiteral("提示"), c.kind);
        EXPECT_EQ(lastShown().buttons, c.buttons) << c.kind;
        EXPECT_EQ(lastShown().icon, c.icon) << c.kind;
        EXPECT_EQ(lastShown().title, QString::fromLatin1(c.title)) << c.kind;
        EXPECT_EQ(lastShown().prompt, QStringLiteral("提示"));
    }
}

TEST_F(ShowMsgTest, AnyOtherKindGivesOkWithoutIcon) {
    EXPECT_EQ(ShowMsg("x", "whatever"), QStringLiteral("1"));
    EXPECT_EQ(lastShown().buttons, MessageBox::Buttons::Ok);
    EXPECT_EQ(lastShown().icon, MessageBox::Icon::None);
    ShowMsg("x", "");
    EXPECT_EQ(lastShown().icon, MessageBox::Icon::None);
}

TEST_F(ShowMsgTest, ReturnsThePressedButtonsNumberAsText) {
    answer_ = MessageBox::IdYes;
    EXPECT_EQ(ShowMsg("Continue?", "yesno"), QStringLiteral("6"));
    answer_ = MessageBox::IdNo;
    EXPECT_EQ(ShowMsg("Continue?", "YesNo"), QStringLiteral("7"));
    answer_ = MessageBox::IdOk;
    EXPECT_EQ(ShowMsg("Done", "ok"), QStringLiteral("1"));
}

TEST_F(LogTest, StartLogWritesTheDateAndTheEntryLineInCp950WithCrLf) {
    StartLog();
    const QString text = Cp950::decode(logBytes());
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3);  // two lines, each ended by CR LF
    EXPECT_EQ(lines[0], QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    EXPECT_TRUE(ClockStamp.match(lines[1]).hasMatch());
    EXPECT_EQ(lines[1].mid(9), QStringLiteral("進入Quorvel V1.1.400"));
    EXPECT_TRUE(lines[2].isEmpty());
    EXPECT_TRUE(logBytes().contains(Cp950::encode(QStringLiteral(" 進入Quorvel V1.1.400\r\n"))));
    EXPECT_FALSE(logBytes().contains('\n' + QByteArray("\n")));
}

TEST_F(LogTest, ASecondStartLogLeavesOnlyTheTwoOpeningLines) {
    StartLog();
    WriteLog(QStringLiteral("設定參數"));
    StartLog();
    EXPECT_EQ(logBytes().count("\r\n"), 2);
}

TEST_F(LogTest, WriteLogAppendsTimedLinesAndCreatesAMissingFile) {
    WriteLog(QStringLiteral("這個面板格式錯誤 /x/y.bmp"));
    const QString text = Cp950::decode(logBytes());
    EXPECT_TRUE(ClockStamp.match(text).hasMatch());
    EXPECT_EQ(text.mid(9), QStringLiteral("這個面板格式錯誤 /x/y.bmp\r\n"));
    WriteLog("second");
    EXPECT_EQ(logBytes().count("\r\n"), 2);
}

TEST_F(LogTest, ProgramsNameTheirOwnLogAndProduct) {
    SetLogFileName("Other.log");
    SetAppProduct("Dobbrin V1.0 Beta");
    SetAppRevision(12);
    StartLog();
    SetLogFileName("Quorvel.log");
    SetAppProduct("Quorvel V1.1");
    SetAppRevision(400);
    const QString text = Cp950::readTextFile(dir_.filePath("Other.log"));
    EXPECT_TRUE(text.contains(QStringLiteral(" 進入Dobbrin V1.0 Beta.12\r\n")));
}

TEST_F(LogTest, AnUnwritableProgramFolderDoesNotStopTheProgram) {
    SystemPaths::setProgramFolder(dir_.filePath("does/not/exist"));
    StartLog();
    WriteLog("still running");
    const QString fallback = SystemPaths::DataFolder() + "/Quorvel.log";
    EXPECT_EQ(LogFilePath(), fallback);
    EXPECT_TRUE(Cp950::readTextFile(fallback).endsWith(QStringLiteral(" still running\r\n")));
}

TEST(AppSettings, StoredAsTextsUnderTheProgramsNames) {
    SaveAppSetting("ShowPic", true);
    SaveAppSetting("Left", 1234);
    SaveAppSetting("PicFolder", QStringLiteral("/home/x/圖片"));
    EXPECT_EQ(GetAppSetting("ShowPic", "False"), QStringLiteral("True"));
    EXPECT_EQ(GetAppSetting("Left", "0"), QStringLiteral("1234"));
    EXPECT_EQ(GetAppSetting("PicFolder", ""), QStringLiteral("/home/x/圖片"));
    EXPECT_EQ(GetAppSetting("NeverWritten", "dflt"), QStringLiteral("dflt"));
    EXPECT_EQ(GetAppSetting("NeverWritten", 16777215), QStringLiteral("16777215"));  // a colour number

    SetAppProduct("Quorvel Editor");
    EXPECT_EQ(GetAppSetting("Left", "0"), QStringLiteral("0"));
    SetAppProduct("Quorvel V1.1");
    EXPECT_TRUE(QFile::exists(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Pelloran/Quorvel V1.1.conf"));
}

TEST(FormOnTop, TogglesStayingOnTopKeepingPlaceSizeAndVisibility) {
    QWidget form;
    form.setGeometry(100, 120, 300, 200);
    form.show();
    const QRect place = form.geometry();
    FormOnTop(&form, true);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.geometry(), place);
    FormOnTop(&form, false);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(form.geometry(), place);
    FormOnTop(nullptr, true);  // no window: nothing happens

    QWidget hidden;
    FormOnTop(&hidden, false);
    EXPECT_FALSE(hidden.isVisible());
    FormOnTop(&hidden, true);
    EXPECT_TRUE(hidden.isVisible());
    EXPECT_FALSE(RunInDevEnv());
}
