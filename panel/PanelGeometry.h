#pragma once
// Small helpers that give the panel objects the VB-style properties the
// layout code speaks of (Left, Top, Width, Height in possibly fractional
// form units, font size in points, label auto-sizing, caption colours).

#include <QColor>
#include <QSize>
#include <QString>

class QLabel;
class QWidget;
class PanelKey;
struct BackingPicture;

// Whole pixels, halves to the even neighbour.
int toPixels(double value);

// The size, in pixels, of the area that all screens together show: no panel object read
// from a file is made larger than this (times the scale of a zoomed panel).
QSize screenSpan();

void setLeft(QWidget *control, double value);
void setTop(QWidget *control, double value);
void setWidth(QWidget *control, double value);
void setHeight(QWidget *control, double value);

double fontSize(const QLabel *label);
void setFontSize(QLabel *label, double points);

// The label takes the size of its caption in its font (one line per line of text).
void autoSizeLabel(QLabel *label);
// Centres item inside key (both in the key's coordinates).
void centreIn(QWidget *item, const QWidget *key);

QColor foreColor(const QLabel *label);
void setForeColor(QLabel *label, const QColor &color);

// The backing picture takes the key's picture and size.
void fillBacking(BackingPicture &backing, const PanelKey &key);

// A device reply in the exactly 20 characters of the MCI reply buffer.
QString fitReply(const QString &reply);

// A label's automatic sizing (VB's AutoSize), kept as the property "AutoSize".
bool autoSizeOn(const QLabel *label);
// Turning it on sizes the label at once.
void setAutoSizeOn(QLabel *label, bool on);
// Only the flag: the label keeps its size until its caption or font next changes.
void setAutoSizeFlag(QLabel *label, bool on);
// Sets a caption and, when the label sizes itself, its size. Use this for
// the time labels, whose automatic sizing stays on after a panel is read.
void setCaption(QLabel *label, const QString &text);

// The control's own Visible flag: True for a control that will show with its
// form even when the form itself is not shown yet.
bool visibleFlag(const QWidget *control);
