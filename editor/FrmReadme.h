#pragma once
// The editor's readme window: ReadMe.rtf of the program folder as text, and
// the choice not to show it again (setting "ReadMe").

#include <QWidget>

#include <functional>

class QCheckBox;
class QTextEdit;

class FrmReadme : public QWidget
{
    Q_OBJECT
public:
    explicit FrmReadme(QWidget *parent = nullptr);

    // Form_Load: False when the setting says not to show it (the window then closes at once).
    bool Form_Load();
    void Command1_Click();  // "確定"
    void CloseMe();

    QTextEdit *RichTextBox1() const { return m_text; }
    QCheckBox *Check1() const { return m_check; }
    // What closing does in the editor: show and enable the main window.
    std::function<void()> onClosed;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QTextEdit *m_text = nullptr;
    QCheckBox *m_check = nullptr;
};

// The plain text of an RTF document: groups of fonts, colours and pictures
// dropped, control words removed, \par as a line end, \'hh as a CP950 byte.
QString RtfPlainText(const QByteArray &rtf);
