#pragma once
// The about box, with the launcher of the system-information program.

#include <QDialog>

#include <functional>

class QLabel;

class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    void cmdOK_Click();
    // Runs the system-information program that the registry names; a message otherwise.
    void StartSysInfo();

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription0 = nullptr;
    QLabel *lblDescription1 = nullptr;
    QLabel *lblDisclaimer = nullptr;

    // How a found program is started (tests replace it); True when it started.
    static std::function<bool(const QString &)> &programStarter();
};

// The registry read of the about box: True and the value's text when found.
bool GetKeyValue(uint32_t KeyRoot, const QString &KeyName, const QString &SubKeyRef, QString &KeyVal);
