#pragma once
// The readme window shown at start until the user confirms it.

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTextEdit;

class FrmReadme : public QWidget
{
    Q_OBJECT
public:
    explicit FrmReadme(QWidget* parent = nullptr);

    // Loads the program folder's ReadMe.rtf (once) and the "ReadMe" setting; shows the window
    // when the setting reads as 0.
    void Form_Load();
    // Stores the check box as "ReadMe" and hides the window: the only way past the gate.
    void Command1_Click();
    // Hides the window; it stays loaded.
    void CloseMe();

    // True once the button was pressed.
    bool confirmed() const { return m_confirmed; }
    // Whether the readme is to be shown for a "ReadMe" text (its numeric reading is 0).
    static bool ShowsFor(const QString& setting);

    QTextEdit* RichTextBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* Command1 = nullptr;

signals:
    void hidden();

protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void centreOnScreen();

    QString m_setting;
    QString m_loadedFile;
    bool m_confirmed = false;
};

// The readme gate of the start: shows the readme and waits, letting events run, until its
// button was pressed. Returns at once when the setting says not to show it; the window is
// asked of readme() only when it is to be shown, so a start that skips it never builds it.
// Returns whether the readme was shown.
bool RunReadmeGate(const std::function<FrmReadme&()>& readme);
