#pragma once

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QVector>

class QWidget;

// Proportional re-layout of a window whose controls are placed by position:
// the design geometry (window size, each control's place and font size) is
// recorded once, and every later size scales all controls from it.
class ReSizer
{
public:
    struct Entry {
        QPointer<QWidget> control;
        QRect geometry;
        double fontSize = 0;  // points; 0 when the control has no point size
    };

    // InitReSize: records the window's client size and each direct child
    // control's geometry and font size, in the order the window holds them.
    void InitReSize(QWidget *window);
    bool recorded() const { return m_designSize.isValid(); }
    QSize designSize() const { return m_designSize; }
    const QVector<Entry> &entries() const { return m_entries; }

    // ReSizeAll: places every recorded control for the window's current size.
    // Skipped while it runs already and while the window is minimised.
    void ReSizeAll(QWidget *window);

    // The geometry and font size a control gets for a window of this size.
    QRect scaledGeometry(const Entry &entry, const QSize &windowSize) const;
    double scaledFontSize(const Entry &entry, const QSize &windowSize) const;

private:
    void ReSizeCtl(const Entry &entry, const QSize &windowSize) const;
    double horizontalRatio(const QSize &windowSize) const;
    double verticalRatio(const QSize &windowSize) const;

    QSize m_designSize;
    QVector<Entry> m_entries;
    bool m_running = false;
};
