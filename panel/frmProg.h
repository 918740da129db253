#pragma once

#include <QWidget>

class QLabel;
class QProgressBar;

// The progress window shown while key faces are built.
class frmProg : public QWidget
{
    Q_OBJECT
public:
    explicit frmProg(QWidget *parent = nullptr);

    QProgressBar *ProgressBar1;  // 0 to 100
    QLabel *Label1;
    QLabel *Label2;              // "面板檔名:" and the panel's name
    QLabel *Label3;              // the cache file being built
};
