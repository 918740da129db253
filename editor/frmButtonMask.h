#pragma once
// The mask gallery: every bitmap of the Button Mask folder as a 40 x 40 icon;
// a double click puts the mask on the selected key (or a sample's family).

#include <QStringList>
#include <QWidget>

#include <functional>

class frmPic;
class QListWidget;
class QListWidgetItem;

class frmButtonMask : public QWidget
{
    Q_OBJECT
public:
    frmButtonMask(const QString &maskDir, QWidget *parent = nullptr);

    void setCanvas(frmPic *canvas) { m_canvas = canvas; }
    // Reads the folder again (the gallery shows what the folder held at load).
    void Form_Load();
    void Form_Resize();
    void ListView1_ItemClick(QListWidgetItem *Item);
    void ListView1_DblClick();
    // Applies the mask; False when it could not be loaded (the gallery stays usable).
    bool ChangButton(const QString &MaskFile);

    QListWidget *ListView1() const { return m_list; }
    const QStringList &List1() const { return m_paths; }
    // Called when the user closes the gallery: the main window unticks its item.
    std::function<void()> onQueryUnload;
    // Runs before a mask is applied (the main window reads the colour tool's size choice).
    std::function<void()> onBeforeChange;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void ResizeA();

    QString m_maskDir;
    frmPic *m_canvas = nullptr;
    QListWidget *m_list = nullptr;
    QStringList m_paths;
    QString m_clicked;
    bool m_resizing = false;
};
