#include "frmButtonMask.h"

#include "frmPic.h"

#include "DirSearch.h"
#include "ModFiles.h"
#include "ModTools.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QImageReader>
#include <QListWidget>
#include <QVBoxLayout>

frmButtonMask::frmButtonMask(const QString &maskDir, QWidget *parent) : QWidget(parent), m_maskDir(maskDir)
{
    setObjectName(QStringLiteral("frmButtonMask"));
    setWindowTitle(QStringLiteral("按扭遮罩"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setViewMode(QListView::IconMode);
    m_list->setIconSize(QSize(40, 40));
    m_list->setResizeMode(QListView::Adjust);
    m_list->setMovement(QListView::Static);
    layout->addWidget(m_list);
    connect(m_list, &QListWidget::itemClicked, this, &frmButtonMask::ListView1_ItemClick);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        ListView1_ItemClick(item);
        ListView1_DblClick();
    });
    Form_Load();
}

void frmButtonMask::Form_Load()
{
    m_list->clear();
    m_paths.clear();
    QDir folder(m_maskDir);
    const QStringList names = folder.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : names)
        m_paths << AddPath(m_maskDir, name);
    for (const QString &path : m_paths) {
        QImageReader reader(path);
        const QImage picture = reader.read();
        QPixmap icon(40, 40);
        icon.fill(Qt::transparent);
        if (!picture.isNull())
            icon = QPixmap::fromImage(picture.scaled(40, 40, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        m_list->addItem(new QListWidgetItem(QIcon(icon), GetFileName(path)));
    }
}

void frmButtonMask::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmButtonMask::Form_Resize()
{
    if (isVisible())
        ResizeA();
}

void frmButtonMask::ResizeA()
{
    if (m_resizing)
        return;
    m_resizing = true;
    // Icons run along the longer side of the gallery.
    m_list->setFlow(m_list->width() > m_list->height() ? QListView::LeftToRight : QListView::TopToBottom);
    m_list->setWrapping(true);
    m_list->doItemsLayout();
    m_resizing = false;
}

void frmButtonMask::ListView1_ItemClick(QListWidgetItem *Item)
{
    if (Item)
        m_clicked = Item->text();
}

void frmButtonMask::ListView1_DblClick()
{
    if (!m_clicked.isEmpty())
        ChangButton(AddPath(m_maskDir, m_clicked));
}

bool frmButtonMask::ChangButton(const QString &MaskFile)
{
    if (!m_canvas)
        return false;
    if (onBeforeChange)
        onBeforeChange();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setEnabled(false);
    const bool applied = m_canvas->ChangButton(MaskFile);
    if (!applied)
        WriteLog(QStringLiteral("遮罩無法套用-") + MaskFile);
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    return applied;
}

void frmButtonMask::closeEvent(QCloseEvent *event)
{
    event->ignore();
    if (onQueryUnload)
        onQueryUnload();
}
