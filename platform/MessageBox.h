#pragma once
// The one message box of the programs: QMessageBox, with a hook that lets tests answer
// for a person.

#include <QList>
#include <QString>
#include <functional>

class QWidget;

namespace MessageBox {

enum class Icon { None, Information, Critical, Exclamation, Question };
enum class Buttons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };

// Button numbers as the programs compare them.
enum Answer { IdOk = 1, IdCancel = 2, IdAbort = 3, IdRetry = 4, IdIgnore = 5, IdYes = 6, IdNo = 7 };

struct Request {
    QString prompt;
    QString title;
    Icon icon = Icon::None;
    Buttons buttons = Buttons::Ok;
    int defaultButton = 0;  // 0 first, 1 second, 2 third
};

// Shows the box modally and returns the pressed button's number. Closing the box without a
// button gives Cancel where there is one, else No where there is one, else the first button.
int show(const Request& request, QWidget* parent = nullptr);

// Style number of the Windows message box: buttons (0-5) + icon (16, 32, 48, 64) +
// default button (0, 256, 512).
Request fromStyle(const QString& prompt, int style, const QString& title = QString());
int MsgBox(const QString& prompt, int style = 0, const QString& title = QString());

// Test hook: while an answerer is installed no box is shown; the answerer gives the button
// number and every request is recorded. An empty function removes the hook.
// Without a hook, PELLORAN_MSGBOX_ANSWER=<number> in the environment answers every box.
using Answerer = std::function<int(const Request&)>;
void setAnswerer(Answerer answerer);
QList<Request> shownRequests();
void clearShownRequests();

}  // namespace MessageBox
