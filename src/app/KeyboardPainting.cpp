#include "app/KeyboardDialog.h"
#include "render/KeyLook.h"
#include "render/KeyboardCanvas.h"
#include "render/KeyboardOverlay.h"
#include "render/LabelTexts.h"
#include "widgets/Controls.h"

#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <optional>

namespace ladoton {

namespace {

bool isBlackKey(const QPushButton& button) {
    return button.text().contains(QLatin1Char('#'));
}

// The key's rectangle in the frame buffer, from the button's place on the surface.
KeyRect keyRectOf(const QPushButton& button, const QWidget& surface,
                  const KeyboardOverlay& overlay) {
    return overlay.pictureRectOf(QRect(button.mapTo(&surface, QPoint(0, 0)), button.size()));
}

// The frame buffer pixels that composing the key may change.
QRect changedRectOf(const QPushButton& button, const QWidget& surface,
                    const KeyboardOverlay& overlay) {
    const KeyRect key = keyRectOf(button, surface, overlay);
    return {key.left, key.top, key.right - key.left, key.bottom - key.top + KeyCopyExtraRows};
}

QRect textRect(int left, int top, int right, int bottom) {
    return {left, top, right - left, bottom - top};
}

QColor toColor(Rgb rgb) {
    return {rgb.red, rgb.green, rgb.blue};
}

struct KeyLabels {
    QString caption;
    const char* solfege;
    const char* keyName;
};

void drawKeyLabels(QPainter& painter, LabelTexts& texts, KeyRect key, bool black, bool pressed,
                   bool withCaption, const KeyLabels& labels) {
    painter.setPen(toColor(keyTextColour(black, pressed)));
    const QFont& font = painter.font();
    if (withCaption) {
        drawCentred(painter,
                    textRect(key.left, captionTop(key, black, pressed), key.right, key.bottom),
                    texts.get(labels.caption, font));
        drawCentred(painter, textRect(key.left, solfegeTop(key, pressed), key.right, key.bottom),
                    texts.get(QString::fromUtf8(labels.solfege), font));
    }
    drawAt(painter, {key.left + KeyNameInset, key.bottom - KeyNameRise},
           texts.get(QString::fromUtf8(labels.keyName), font));
}

struct PaintedRow {
    int keyCode;
    int row;
    bool black;
};

struct PaintedRows {
    std::array<PaintedRow, KeyTableRows> rows{};
    std::size_t count = 0;
    auto begin() const { return rows.begin(); }
    auto end() const { return rows.begin() + static_cast<std::ptrdiff_t>(count); }
};

// Every row that has a piano key, in increasing key code and, within a code, in
// table order: later keys are composed over earlier ones where they overlap.
template <typename FindButton>
PaintedRows paintedRowsInCodeOrder(const KeyTable& table, FindButton&& findButton) {
    PaintedRows painted;
    for (int row = 0; row < KeyTableRows; ++row) {
        const KeyEntry& entry = table[row];
        if (entry.buttonId == 0 || !isKeyCode(entry.keyCode)) {
            continue;
        }
        if (const QPushButton* button = findButton(entry.buttonId)) {
            painted.rows[painted.count++] = {entry.keyCode, row, isBlackKey(*button)};
        }
    }
    std::sort(painted.rows.begin(),
              painted.rows.begin() + static_cast<std::ptrdiff_t>(painted.count),
              [](const PaintedRow& a, const PaintedRow& b) {
                  return a.keyCode != b.keyCode ? a.keyCode < b.keyCode : a.row < b.row;
              });
    return painted;
}

} // namespace

KeyboardCanvas& KeyboardDialog::canvas() {
    if (canvas_ == nullptr) {
        canvas_ = new KeyboardCanvas(this);
    }
    return *canvas_;
}

void KeyboardDialog::DrawKey(const QFont* font, int keyCode, int row) {
    KeyboardCanvas& drawing = canvas();
    if (drawing.keyImagesPending()) {
        drawing.buildDrawingObjects();
    }
    if (!isKeyCode(keyCode) || row < 0 || row >= KeyTableRows) {
        return;
    }
    QPainter painter(&drawing.frameBuffer());
    if (font != nullptr) {
        painter.setFont(*font);
    }
    composeKey(painter, keyCode, row);
}

void KeyboardDialog::composeKey(QPainter& painter, int keyCode, int row) {
    KeyboardCanvas& drawing = canvas();
    const KeyEntry& entry = keyTable_[row];
    KeyState& keyState = keyStates_[keyCode];
    if (const QPushButton* button = pianoButton(entry.buttonId)) {
        const KeyRect key = keyRectOf(*button, *client_, *overlay_);
        const bool black = isBlackKey(*button);
        const bool pressed = keyState.pressed != 0;
        drawing.copyKeyImage(drawing.keyImage(black, pressed), key.left, key.top,
                             key.right - key.left, key.bottom - key.top + KeyCopyExtraRows);
        drawKeyLabels(painter, drawing.labelTexts(), key, black, pressed,
                      keyboard_.transposition == 0,
                      {button->text(), solfegeName(entry.noteOffset), entry.keyName});
    }
    keyState.needsRepaint = 0;
}

void KeyboardDialog::DrawKeyboard() {
    // The repaint timer calls this ten times a second; at rest no key is marked, and nothing
    // would be composed, so the keys are not even looked up.
    if (std::none_of(keyStates_.begin(), keyStates_.end(),
                     [](const KeyState& key) { return key.needsRepaint != 0; })) {
        return;
    }
    const PaintedRows painted =
        paintedRowsInCodeOrder(keyTable_, [this](int id) { return pianoButton(id); });
    // A black key composed again only because a white one was is composed as it was,
    // except where that white key was, so only the marked keys' pixels change.
    QRegion changed;
    for (const PaintedRow& key : painted) {
        if (keyStates_[key.keyCode].needsRepaint != 0) {
            changed +=
                changedRectOf(*pianoButton(keyTable_[key.row].buttonId), *client_, *overlay_);
        }
    }
    // One painter for every key of the pass, opened at the first key composed: the drawing
    // objects are built then, if they are not yet.
    std::optional<QPainter> painter;
    const auto compose = [this, &painter](const PaintedRow& key) {
        if (!painter) {
            KeyboardCanvas& drawing = canvas();
            if (drawing.keyImagesPending()) {
                drawing.buildDrawingObjects();
            }
            painter.emplace(&drawing.frameBuffer());
            painter->setFont(drawing.labelFont());
        }
        composeKey(*painter, key.keyCode, key.row);
    };
    int composed = 0;
    for (const PaintedRow& key : painted) {
        if (!key.black && keyStates_[key.keyCode].needsRepaint != 0) {
            compose(key);
            ++composed;
        }
    }
    // Black keys lie over the white ones: once anything was composed, every black key
    // met from then on is composed again so that no white key covers one.
    for (const PaintedRow& key : painted) {
        if (key.black && (keyStates_[key.keyCode].needsRepaint != 0 || composed > 0)) {
            compose(key);
            ++composed;
        }
    }
    painter.reset();
    if (composed > 0) {
        overlay_->showBand(canvas().frameBuffer(), changed);
        ++keyboard_.repaintCount;
        UpdateData(false);
    }
}

} // namespace ladoton
