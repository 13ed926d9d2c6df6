#pragma once

#include "widgets/DialogUnits.h"

#include <QFont>
#include <QString>

namespace ladoton {

// The font a dialog template names, at its size in points. Where the system lacks the
// face, the free face of the same name and metrics that the system may ship stands in;
// where there is none, the system's sans-serif does, and being wider it makes the
// dialog larger, since the layout follows the font (dialogUnitsOf).
QFont dialogFont(const QString& face, int points);

// The dialog base units of a font, measured as the window system measures them.
DialogUnits dialogUnitsOf(const QFont& font);

} // namespace ladoton
