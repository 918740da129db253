#include "ModReSize.h"

#include "VbRuntime.h"

#include <QWidget>

// The window is measured by its client area: the title bar and borders lie
// outside it here, so no allowance for them enters the ratios.

void ReSizer::InitReSize(QWidget *window)
{
    m_designSize = window->size();
    m_entries.clear();
    const QList<QWidget *> controls = window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *control : controls) {
        if (control->isWindow())
            continue;
        Entry entry;
        entry.control = control;
        entry.geometry = control->geometry();
        entry.fontSize = qMax(0.0, control->font().pointSizeF());
        m_entries << entry;
    }
}

double ReSizer::horizontalRatio(const QSize &windowSize) const
{
    return m_designSize.width() > 0 ? double(windowSize.width()) / m_designSize.width() : 1.0;
}

double ReSizer::verticalRatio(const QSize &windowSize) const
{
    return m_designSize.height() > 0 ? double(windowSize.height()) / m_designSize.height() : 1.0;
}

QRect ReSizer::scaledGeometry(const Entry &entry, const QSize &windowSize) const
{
    const double h = horizontalRatio(windowSize);
    const double v = verticalRatio(windowSize);
    const QRect &g = entry.geometry;
    return QRect(qRound(g.left() * h), qRound(g.top() * v), qRound(g.width() * h), qRound(g.height() * v));
}

double ReSizer::scaledFontSize(const Entry &entry, const QSize &windowSize) const
{
    const double byWidth = Vb::RoundHalfEven(entry.fontSize * horizontalRatio(windowSize));
    const double byHeight = entry.fontSize * verticalRatio(windowSize);
    return qMin(byWidth, byHeight);
}

void ReSizer::ReSizeCtl(const Entry &entry, const QSize &windowSize) const
{
    QWidget *control = entry.control;
    if (!control)
        return;
    control->setGeometry(scaledGeometry(entry, windowSize));
    const double size = scaledFontSize(entry, windowSize);
    if (entry.fontSize > 0 && size >= 1) {
        QFont font = control->font();
        // The face every control is drawn in after a re-layout; characters it
        // lacks (Chinese) come from the system's fallback fonts.
        font.setFamily(QStringLiteral("Arial"));
        font.setPointSizeF(size);
        control->setFont(font);
    }
}

void ReSizer::ReSizeAll(QWidget *window)
{
    if (m_running || !recorded() || window->isMinimized())
        return;
    m_running = true;
    // Moved all at once, without drawing the half-done layout.
    window->setUpdatesEnabled(false);
    const QSize size = window->size();
    for (const Entry &entry : m_entries)
        ReSizeCtl(entry, size);
    window->setUpdatesEnabled(true);
    m_running = false;
}
