#pragma once

#include <QImage>
#include <QRegion>

class QWidget;

// The window outline of a panel. The key colour is the picture's pixel
// (0, 0); margins of that colour, seen from each side, are cut away.
QRegion FormOutLine(const QImage &picture);
// The plain rectangle (0, 0)-(W-1, H-1) as a polygon region.
QRegion PlainOutLine(int width, int height);

void SetFormOutLine(QWidget *form, const QImage &picture);
void ClearFormOutLine(QWidget *form, int width, int height);
