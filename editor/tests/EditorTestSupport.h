#pragma once
// A program folder with the shipped panels and masks, the editor's state set
// up as its entry routine sets it, and mouse events for the canvas.

#include "CanvasOwner.h"
#include "EditorState.h"

#include <QEvent>
#include <QPointF>
#include <QTemporaryDir>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

class QWidget;

// The folder the build places the programs and their panels in.
QString shippedProgramFolder();
QString testOutputFolder();
// Copies the files (not the subfolders) of a folder into another, made when missing.
void copyFolder(const QString &from, const QString &to);

// Sends a mouse event to a control as the window system would.
void sendMouse(QWidget *control, QEvent::Type type, QPointF pos, Qt::MouseButton button,
               Qt::MouseButtons buttons);
void press(QWidget *control, QPointF pos, Qt::MouseButton button = Qt::LeftButton);
void moveTo(QWidget *control, QPointF pos, Qt::MouseButtons buttons = Qt::LeftButton);
void release(QWidget *control, QPointF pos, Qt::MouseButton button = Qt::LeftButton);

// What a canvas told its owner.
class RecordingOwner : public CanvasOwner
{
public:
    void setStatusText(const QString &text) override { status = text; }
    void setProgressValue(int percent) override { progress << percent; }
    void setMainCaption(const QString &text) override { caption = text; }
    void setUndoEnabled(bool enabled) override { undoEnabled = enabled; }
    void popupFontMenu(const QPoint &) override { ++fontMenus; }

    QString status;
    QString caption;
    QList<int> progress;
    bool undoEnabled = false;
    int fontMenus = 0;
};

// A fresh program folder holding copies of the shipped Skin and Button Mask
// folders, and fresh settings; the editor's start routine has run.
class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString programDir() const { return m_program.path(); }
    QString skinFile(const QString &name) const;
    QString logText() const;

    EditorState state;

private:
    QTemporaryDir m_program;
};
