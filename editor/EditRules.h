#pragma once
// The editor's rules that need no window: grid snapping, handle geometry,
// zoom and step texts, font size steps, the recent-files list, status texts.

#include "PanelObjects.h"

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace EditRules {

// ---- files
// The definition file of a panel picture: always in the Skin folder, the
// picture's name with its last three characters replaced by "INI".
QString deskIniFileFor(const QString &skinDir, const QString &picturePath);
// The first key-face cache file: <temp folder>/<name without extension>-00.Bmp.
QString firstCacheFileFor(const QString &tempFolder, const QString &picturePath);

// ---- recent files
inline constexpr int RecentCount = 6;
// FileName first, then the older entries that differ from it (exact text),
// at most six; empty entries are dropped, the list is padded with "".
QStringList addRecentFile(const QStringList &entries, const QString &fileName);

// ---- zoom and grid
// " 75%" -> 0.75; the number the text starts with, divided by 100; 0 for no number.
double zoomFromText(const QString &text);
// "12點" -> 12; 0 for no number.
int gridStepFromText(const QString &text);
QStringList zoomItems();      // "800%" ... "100%", " 75%", " 50%", " 25%"
QStringList gridStepItems();  // "1點" ... "16點"
// Snaps down to the grid (the next lower multiple of grid).
double snapDown(double position, double grid);
// A drag step is due when the mouse moved at least GridStep on either axis.
bool dragStepDue(double x, double y, double lastX, double lastY, double gridStep);

// ---- handles: 0 TL, 1 TR, 2 BL, 3 BR, 4 top, 5 bottom, 6 left, 7 right
using Handles = std::array<QPointF, 8>;
Handles handlesAround(const QRectF &rect);
// Moves handle `index` by (dx, dy) and carries the handles that share its edges.
void dragHandle(Handles &handles, int index, double dx, double dy);
// The object rebuilt from handles 0, 1 and 2: left and top from handle 0,
// width and height as absolute differences (always positive).
QRectF rectFromHandles(const Handles &handles);

// ---- keeping objects inside the canvas
// The rule of ShowObj(True): an object reaching the right edge is pulled
// back inside (title buttons and number keys go to the top row first); then
// one reaching the bottom edge is pulled up.
QPointF keepInside(QPointF position, QSizeF size, double canvasWidth, double canvasHeight, bool toTopRow);

// ---- fonts
inline constexpr int FontSizes[] = {8, 9, 10, 11, 12, 16, 18, 20, 24, 32, 40, 48};
inline constexpr int WidthPercents[] = {50, 75, 100, 150, 200};
// 字型加大 / 字型縮小: the new size, or nothing at the limit.
std::optional<double> largerFont(double size, double zoom);
std::optional<double> smallerFont(double size, double zoom);

// ---- colours
// Abs(Color Xor &HFFFFFF) Mod &HFFFFFF: black and white both give 0.
VbColor InvertColor(VbColor color);

// ---- canvas window size at a zoom (twips)
struct WindowLimits
{
    double screenWidth = 0;   // twips
    double screenHeight = 0;  // twips
    std::optional<double> galleryLeft;  // the mask gallery's left edge when it is visible
};
QSizeF zoomedCanvasWindow(double pictureWidth, double pictureHeight, double twipsPerPixelX,
                          double twipsPerPixelY, const WindowLimits &limits);

// ---- status texts
QString selectionStatus(double left, double top, double width, double height, double zoom,
                        const QString &toolTip, const QString &maskPath);
QString dragStatus(double left, double top, double zoom);
QString pointerStatus(double x, double y);

}  // namespace EditRules
