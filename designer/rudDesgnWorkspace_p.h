#pragma once
// Private pieces of the design workspace shared by its source files.

#include "designer/rudSelectionModel.h"

#include <QList>
#include <QPair>
#include <QPointF>

class TfrxComponent;
class TfrxPage;

namespace rudWorkspace {

// Widget pixels between the paper and the widget's edges.
inline constexpr int WorkspaceGap = 10;
// Height of a band's caption strip, page units.
inline constexpr double BandCaption = 18;
// A size handle is hit from this many units before its point to this many after.
inline constexpr double HandleBefore = 2;
inline constexpr double HandleAfter = 3;
// Half the width across a straight line within which it is hit.
inline constexpr double LineTolerance = 4;
// A band's edge is hit within this many units.
inline constexpr double BandEdge = 2;
// An insertion drag smaller than this (page units) is a click.
inline constexpr double ClickSize = 4;
// Device pixels around a changed rectangle that are repainted with it
// (handles, frames and text running out of its box).
inline constexpr int DirtyMargin = 20;
// Ctrl + wheel: the scale changes by this per notch, never below the minimum.
inline constexpr double ScaleStep = 0.05;
inline constexpr double MinWheelScale = 0.3;

// True for the objects the workspace selects: printable objects of the page.
inline bool IsSelectable(const TfrxComponent *Obj, const TfrxPage *Page)
{
    return TfrxSelectionModel::IsSelectable(Obj, Page);
}
// The size handles of Obj with their absolute points (page units).
QList<QPair<int, QPointF>> HandlePoints(const TfrxComponent *Obj);
// Value rounded to 8 decimals.
double RoundTo8(double Value);

} // namespace rudWorkspace
