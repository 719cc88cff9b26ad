// How the grid draws a cell's or a heading's text, shared by the cell
// delegate, the headers and the corner button, so that all of them show the
// same columns of text.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <Qt>

class QPainter;
class QWidget;

namespace tabulon {

// Text starts this far into its cell (the editor's text too).
inline constexpr int kTextIndent = 2;
// The grid scrolls by whole columns, so a cell shows from its start, at most
// as far as the grid is wide (639 px), however wide its column (a cell of
// megabytes makes a column millions of pixels wide).
inline constexpr int kWidestShownPx = 2048;

// A cell's or heading's text, from 2 px in, one line, cut at the cell's edge
// rather than elided.
void DrawCellText(QPainter* painter, const QRect& rect, const QFont& font, const QColor& color,
                  const QString& text);

// A heading section drawn by the style, with its text as a cell's.
void DrawHeading(QPainter* painter, const QWidget* widget, const QRect& rect, const QString& text,
                 Qt::Orientation orientation);

}  // namespace tabulon
