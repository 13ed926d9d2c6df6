#pragma once

#include "widgets/DialogUnits.h"

#include <QSizeF>
#include <functional>

class QWidget;

namespace ladoton {

// How much larger, across and down, the room a widget leaves its text would have to be
// for the text to show whole: 1 or less where it fits. Labels, check boxes, group box
// titles and push buttons have texts; other widgets need nothing.
QSizeF textNeed(const QWidget& widget);

// Lays a window out in the given units, then, while one of its texts is cut, in units
// grown by as much as that text lacks: a face whose texts run wider than its letters
// promise makes the whole window larger. Returns the units the window ends up in.
// Widgets for which `shows` answers false keep their texts hidden and are not measured.
DialogUnits unitsThatFit(const QWidget& window, DialogUnits units,
                         const std::function<void(const DialogUnits&)>& layOut,
                         const std::function<bool(const QWidget&)>& shows);

} // namespace ladoton
