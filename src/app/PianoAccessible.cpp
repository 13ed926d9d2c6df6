#include "app/PianoAccessible.h"

#include "app/KeyboardDialog.h"
#include "keys/KeyTable.h"
#include "keys/SpokenKeyName.h"
#include "melody/HeldNotes.h"
#include "render/KeyboardOverlay.h"
#include "widgets/Controls.h"
#include "widgets/MainWindowTemplate.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPushButton>
#include <vector>

namespace ladoton {

namespace {

constexpr const char* PianoKeyProperty = "ladotonPianoKey";

KeyboardDialog* dialogOf(const QWidget* widget) {
    return widget == nullptr ? nullptr : qobject_cast<KeyboardDialog*>(widget->window());
}

int pianoKeyIndex(const QObject* object) {
    const QVariant index = object->property(PianoKeyProperty);
    return index.isValid() ? index.toInt() : -1;
}

QPushButton* pianoKeyButton(const KeyboardDialog& dialog, int index) {
    return dialog.pianoButton(PianoKeys[static_cast<std::size_t>(index)].id);
}

// The piano: a group of the 37 keys, which are the piano-key buttons' own interfaces.
class PianoAccessible final : public QAccessibleWidget {
  public:
    explicit PianoAccessible(QWidget* overlay)
        : QAccessibleWidget(overlay, QAccessible::Grouping) {}

    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? QStringLiteral("Клавиатура") : QString();
    }
    // Shown while the window is, also before the first picture covers the buttons.
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = widget()->parentWidget()->isHidden();
        return state;
    }
    int childCount() const override { return dialog() == nullptr ? 0 : PianoKeys.size(); }
    QAccessibleInterface* child(int index) const override {
        if (dialog() == nullptr || index < 0 || index >= childCount()) {
            return nullptr;
        }
        return QAccessible::queryAccessibleInterface(pianoKeyButton(*dialog(), index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child == nullptr || child->object() == nullptr ? -1 : pianoKeyIndex(child->object());
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int index = 0; index < childCount(); ++index) {
            // Black keys lie over the white ones and come after their neighbours.
            QAccessibleInterface* key = child(childCount() - 1 - index);
            if (key != nullptr && key->rect().contains(x, y)) {
                return key;
            }
        }
        return nullptr;
    }

  private:
    KeyboardDialog* dialog() const { return dialogOf(widget()); }
};

// One piano key: the note it sounds now, the PC keys that play it, pressed while it sounds.
class PianoKeyAccessible final : public QAccessibleWidget {
  public:
    PianoKeyAccessible(QWidget* button, int index)
        : QAccessibleWidget(button, QAccessible::Button), index_(index) {}

    QString text(QAccessible::Text kind) const override {
        const KeyboardDialog* window = dialogOf(widget());
        if (window == nullptr) {
            return {};
        }
        if (kind == QAccessible::Name) {
            return noteOf(*window);
        }
        if (kind == QAccessible::Description) {
            return pcKeysOf(*window);
        }
        return {};
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.focusable = false;
        state.pressed = isSounding();
        return state;
    }
    QAccessibleInterface* parent() const override {
        const QWidget* surface = widget()->parentWidget();
        auto* overlay = surface == nullptr ? nullptr : surface->findChild<KeyboardOverlay*>();
        return overlay == nullptr ? QAccessibleWidget::parent()
                                  : QAccessible::queryAccessibleInterface(overlay);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            qobject_cast<QPushButton*>(widget())->click();
        }
    }

  private:
    int buttonId() const { return PianoKeys[static_cast<std::size_t>(index_)].id; }

    // The rows the key plays: the first sounds the note the window names it by.
    template <typename Visit> void forEachRow(const KeyboardDialog& window, Visit visit) const {
        for (const KeyEntry& row : window.keyboard().keyTable) {
            if (row.buttonId == buttonId()) {
                visit(row);
            }
        }
    }
    QString noteOf(const KeyboardDialog& window) const {
        const Keyboard& keyboard = window.keyboard();
        const int row = firstRowForButton(keyboard.keyTable, buttonId());
        if (row < 0) {
            return {};
        }
        const int32_t note =
            noteNumber(keyboard.keyTable[row].noteOffset, keyboard.transposition, keyboard.octave);
        if (note < 0 || note > 127) {
            return QString::fromStdString(noteName(note));
        }
        return QString::fromStdString(noteName(note) + ", " + russianNoteName(note % 12) +
                                      std::to_string(note / 12 - 2));
    }
    QString pcKeysOf(const KeyboardDialog& window) const {
        QStringList keys;
        forEachRow(window, [&keys](const KeyEntry& row) {
            const std::string spoken = spokenKeyName(row.keyCode);
            keys << (spoken.empty() ? QString::fromUtf8(row.keyName)
                                    : QString::fromStdString(spoken));
        });
        return QStringLiteral("клавиша ") + keys.join(QStringLiteral(", "));
    }
    bool isSounding() const {
        const KeyboardDialog* window = dialogOf(widget());
        if (window == nullptr) {
            return false;
        }
        bool sounding = false;
        const KeyStates& states = window->keyboard().keyStates;
        forEachRow(*window, [&](const KeyEntry& row) {
            sounding = sounding || (isKeyCode(row.keyCode) && states[row.keyCode].pressed != 0);
        });
        return sounding;
    }

    int index_;
};

// The surface: every control on it but the piano-key buttons, which are the piano's keys.
class SurfaceAccessible final : public QAccessibleWidget {
  public:
    explicit SurfaceAccessible(QWidget* surface) : QAccessibleWidget(surface, QAccessible::Pane) {}

    int childCount() const override { return static_cast<int>(controls().size()); }
    QAccessibleInterface* child(int index) const override {
        const std::vector<QWidget*> all = controls();
        if (index < 0 || index >= static_cast<int>(all.size())) {
            return nullptr;
        }
        return QAccessible::queryAccessibleInterface(all[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const std::vector<QWidget*> all = controls();
        for (std::size_t index = 0; index < all.size(); ++index) {
            if (child != nullptr && child->object() == all[index]) {
                return static_cast<int>(index);
            }
        }
        return -1;
    }

  private:
    std::vector<QWidget*> controls() const {
        std::vector<QWidget*> all;
        for (QWidget* control : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            // The octave labels over the keys stay blank: they show nothing to read.
            const auto* label = qobject_cast<const QLabel*>(control);
            const bool blank = label != nullptr && label->text().isEmpty();
            if (pianoKeyIndex(control) < 0 && !control->isWindow() && !blank) {
                all.push_back(control);
            }
        }
        return all;
    }
};

QAccessibleInterface* windowAccessible(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    if (const int index = pianoKeyIndex(object); index >= 0) {
        return new PianoKeyAccessible(widget, index);
    }
    if (className == QLatin1String("ladoton::KeyboardOverlay")) {
        return new PianoAccessible(widget);
    }
    if (className == QLatin1String("ladoton::ClientSurface")) {
        return new SurfaceAccessible(widget);
    }
    return nullptr;
}

} // namespace

void installWindowAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(windowAccessible);
        return true;
    }();
    (void)installed;
}

void markPianoKey(QPushButton& button, int index) {
    button.setProperty(PianoKeyProperty, index);
}

} // namespace ladoton
