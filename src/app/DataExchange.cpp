#include "app/Controls.h"
#include "app/KeyboardDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <array>
#include <charconv>
#include <string>
#include <string_view>

namespace ladoton {

namespace {

template <typename Number> bool parseNumberText(std::string_view trimmed, Number& value) {
    const char* first = trimmed.data();
    const char* last = first + trimmed.size();
    if (!trimmed.empty() && trimmed.front() == '+') {
        ++first;
    }
    Number parsed{};
    const auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc() || end != last || first == last) {
        return false;
    }
    value = parsed;
    return true;
}

// Whole decimal numbers with optional surrounding blanks; anything else leaves the
// member as it was (the next write shows the member's value again).
template <typename Number> bool parseNumber(const QString& text, Number& value) {
    // The timers read every control many times a second, so a number is parsed from an ASCII
    // copy on the stack; a character outside ASCII cannot be part of a number anyway.
    const QStringView digits = QStringView(text).trimmed();
    std::array<char, 64> ascii{};
    if (digits.size() > static_cast<qsizetype>(ascii.size())) {
        return parseNumberText(digits.toString().toStdString(), value);
    }
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const char16_t c = digits[i].unicode();
        ascii[static_cast<std::size_t>(i)] = c < 0x80 ? static_cast<char>(c) : '?';
    }
    return parseNumberText(std::string_view(ascii.data(), static_cast<std::size_t>(digits.size())),
                           value);
}

// Where a line edit shows a text that is wider than the edit.
enum class Shown { AtCaret, FromStart };

void setTextIfChanged(QWidget* widget, const QString& text, Shown shown) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        if (edit->text() != text) {
            edit->setText(text);
            // A line edit puts its caret after a new text and scrolls to it; a display
            // reads from its start.
            if (shown == Shown::FromStart) {
                edit->setCursorPosition(0);
            }
        }
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text() != text) {
            label->setText(text);
        }
    }
}

QString textOf(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    return {};
}

class Exchange {
  public:
    Exchange(const KeyboardDialog& dialog, bool read) : dialog_(dialog), read_(read) {}

    void text(int id, std::string& member, Shown shown = Shown::AtCaret) {
        QWidget* widget = dialog_.control(id);
        if (read_) {
            const QString text = textOf(widget);
            if (!QAnyStringView::equal(text, QUtf8StringView(member))) {
                member = text.toStdString();
            }
        } else {
            setTextIfChanged(widget, QString::fromStdString(member), shown);
        }
    }

    template <typename Number> void number(int id, Number& member) {
        QWidget* widget = dialog_.control(id);
        if (read_) {
            parseNumber(textOf(widget), member);
        } else {
            setTextIfChanged(widget, QString::number(member), Shown::AtCaret);
        }
    }

    void check(int id, int& member) {
        auto* box = qobject_cast<QCheckBox*>(dialog_.control(id));
        if (read_) {
            member = box->isChecked() ? 1 : 0;
        } else {
            box->setChecked(member != 0);
        }
    }

    void sliderPosition(int id, int& member) {
        auto* slider = qobject_cast<QSlider*>(dialog_.control(id));
        if (read_) {
            member = slider->value();
        } else {
            slider->setValue(member);
        }
    }

  private:
    const KeyboardDialog& dialog_;
    bool read_;
};

} // namespace

void KeyboardDialog::DoDataExchange(bool read) {
    Exchange exchange(*this, read);
    exchange.text(1045, melodyText);
    exchange.text(1050, keyCodeText, Shown::FromStart);
    exchange.number(1019, amplitude);
    exchange.text(1060, heldNotesText, Shown::FromStart);
    exchange.number(1058, instrument);
    exchange.number(1042, octave);
    exchange.number(1051, transposition);
    exchange.text(1053, intervalText, Shown::FromStart);
    exchange.text(1074, octaveLabel1);
    exchange.text(1075, octaveLabel2);
    exchange.text(1076, octaveLabel3);
    exchange.number(1077, channel);
    exchange.check(1079, randomInstrument);
    exchange.number(1081, maxInstrument);
    exchange.check(1083, metronomeOn);
    exchange.sliderPosition(1084, tempo);
    exchange.number(1085, tempoText);
    exchange.check(1080, accentOn);
    exchange.number(1086, repaintCount);
}

bool KeyboardDialog::UpdateData(bool read) {
    DoDataExchange(read);
    return true;
}

} // namespace ladoton
