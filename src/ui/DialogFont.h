#pragma once

#include <QFont>
#include <QString>
#include <vector>

namespace ladoton {

// A text of a dialog template and the width of its rectangle in pixels.
struct TemplateText {
    QString text;
    int width;
};

// The font a dialog template names, at its size in pixels. Where the face is missing, a
// substitute of like width stands in; if even that would cut one of the texts off at
// its rectangle's edge, the size goes down until every text fits.
QFont dialogFont(const QString& face, int pixelSize, const std::vector<TemplateText>& texts);

} // namespace ladoton
