#include "MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

struct Hook {
    MessageBox::Answerer answerer;
    QList<MessageBox::Request> shown;
};

Hook& hook() {
    static Hook h;
    return h;
}

// Keeps the record of a long automated run from growing without end.
constexpr int MaxRecorded = 1000;

void record(const MessageBox::Request& request) {
    QList<MessageBox::Request>& shown = hook().shown;
    if (shown.size() >= MaxRecorded) shown.removeFirst();
    shown.append(request);
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int answer;
};

QList<ButtonSpec> buttonsOf(MessageBox::Buttons buttons) {
    using MessageBox::Buttons;
    switch (buttons) {
    case Buttons::OkCancel:
        return {{QMessageBox::Ok, MessageBox::IdOk}, {QMessageBox::Cancel, MessageBox::IdCancel}};
    case Buttons::AbortRetryIgnore:
        return {{QMessageBox::Abort, MessageBox::IdAbort},
                {QMessageBox::Retry, MessageBox::IdRetry},
                {QMessageBox::Ignore, MessageBox::IdIgnore}};
    case Buttons::YesNoCancel:
        return {{QMessageBox::Yes, MessageBox::IdYes},
                {QMessageBox::No, MessageBox::IdNo},
                {QMessageBox::Cancel, MessageBox::IdCancel}};
    case Buttons::YesNo:
        return {{QMessageBox::Yes, MessageBox::IdYes}, {QMessageBox::No, MessageBox::IdNo}};
    case Buttons::RetryCancel:
        return {{QMessageBox::Retry, MessageBox::IdRetry}, {QMessageBox::Cancel, MessageBox::IdCancel}};
    case Buttons::Ok:
        break;
    }
    return {{QMessageBox::Ok, MessageBox::IdOk}};
}

QMessageBox::Icon qtIcon(MessageBox::Icon icon) {
    switch (icon) {
    case MessageBox::Icon::Information: return QMessageBox::Information;
    case MessageBox::Icon::Critical: return QMessageBox::Critical;
    case MessageBox::Icon::Exclamation: return QMessageBox::Warning;
    case MessageBox::Icon::Question: return QMessageBox::Question;
    case MessageBox::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// Closing the box by its frame, Escape or a shut-down that hides it: Cancel where the box has
// it, else No (a question nobody answered is never a Yes), else the first button.
int answerWithoutButton(const QList<ButtonSpec>& specs) {
    for (const int refusal : {MessageBox::IdCancel, MessageBox::IdNo})
        for (const ButtonSpec& s : specs)
            if (s.answer == refusal) return refusal;
    return specs.first().answer;
}

int showReal(const MessageBox::Request& request, QWidget* parent) {
    const QList<ButtonSpec> specs = buttonsOf(request.buttons);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return answerWithoutButton(specs);
    // Owned by the active window, as a box of the original system is, so that it never opens
    // behind a main window that stays on top; without one it stays on top itself.
    if (!parent) parent = QApplication::activeWindow();
    QMessageBox box(qtIcon(request.icon), request.title, request.prompt, QMessageBox::NoButton, parent);
    if (!parent) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QMessageBox::StandardButtons all;
    for (const ButtonSpec& s : specs) all |= s.button;
    box.setStandardButtons(all);
    int defaultIndex = qBound(0, request.defaultButton, static_cast<int>(specs.size()) - 1);
    box.setDefaultButton(specs.at(defaultIndex).button);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const ButtonSpec& s : specs)
        if (clicked && box.standardButton(clicked) == s.button) return s.answer;
    return answerWithoutButton(specs);
}

}  // namespace

namespace MessageBox {

int show(const Request& request, QWidget* parent) {
    Hook& h = hook();
    if (h.answerer) {
        record(request);
        return h.answerer(request);
    }
    bool fromEnv = false;
    int envAnswer = qEnvironmentVariableIntValue("PELLORAN_MSGBOX_ANSWER", &fromEnv);
    if (fromEnv) {
        record(request);
        return envAnswer;
    }
    return showReal(request, parent);
}

Request fromStyle(const QString& prompt, int style, const QString& title) {
    Request r;
    r.prompt = prompt;
    r.title = title;
    int buttons = style & 0x7;
    r.buttons = buttons <= 5 ? static_cast<Buttons>(buttons) : Buttons::Ok;
    switch (style & 0x70) {
    case 16: r.icon = Icon::Critical; break;
    case 32: r.icon = Icon::Question; break;
    case 48: r.icon = Icon::Exclamation; break;
    case 64: r.icon = Icon::Information; break;
    default: r.icon = Icon::None; break;
    }
    r.defaultButton = (style >> 8) & 0x3;
    return r;
}

int MsgBox(const QString& prompt, int style, const QString& title) {
    return show(fromStyle(prompt, style, title));
}

void setAnswerer(Answerer answerer) { hook().answerer = std::move(answerer); }

QList<Request> shownRequests() { return hook().shown; }

void clearShownRequests() { hook().shown.clear(); }

}  // namespace MessageBox
