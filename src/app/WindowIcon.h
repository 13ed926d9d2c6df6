#pragma once

#include <QString>

class QWidget;

namespace ladoton {

// Gives the program's windows the icon at `path` once `window` has first been painted.
// Drawing a scalable icon loads the SVG library and renders it at four sizes for the window
// manager, which would hold the first window back by some 10 ms if done before it is shown.
void setWindowIconOnceShown(QWidget& window, const QString& path);

} // namespace ladoton
