#include "app/ExchangedControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <array>
#include <charconv>
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
    // A number is parsed from an ASCII copy on the stack; a character outside ASCII cannot be
    // part of a number anyway.
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

// The same string, not only an equal one: a kept copy shares the string's data, and a control
// that changes its text then makes a new one, so the same data means the same text.
bool isSameString(const QString& text, const QString& kept) {
    return text.constData() == kept.constData() && text.size() == kept.size();
}

} // namespace

TextControl::TextControl(QWidget* widget)
    : edit_(qobject_cast<QLineEdit*>(widget)), label_(qobject_cast<QLabel*>(widget)) {}

QString TextControl::text() const {
    if (edit_ != nullptr) {
        return edit_->text();
    }
    if (label_ != nullptr) {
        return label_->text();
    }
    return {};
}

void TextControl::show(const QString& text, Shown shown) const {
    if (edit_ != nullptr) {
        if (edit_->text() != text) {
            edit_->setText(text);
            // A line edit puts its caret after a new text and scrolls to it; a display
            // reads from its start.
            if (shown == Shown::FromStart) {
                edit_->setCursorPosition(0);
            }
        }
    } else if (label_ != nullptr) {
        if (label_->text() != text) {
            label_->setText(text);
        }
    }
}

TextSlot::TextSlot(QWidget* widget, Shown shown) : control_(widget), shown_(shown) {}

void TextSlot::exchange(bool read, std::string& member) {
    if (read) {
        this->read(member);
    } else {
        write(member);
    }
}

void TextSlot::read(std::string& member) {
    const QString text = control_.text();
    if (isSameString(text, readText_) && member == readMember_) {
        return;
    }
    if (!QAnyStringView::equal(text, QUtf8StringView(member))) {
        member = text.toStdString();
    }
    readText_ = text;
    readMember_ = member;
}

void TextSlot::write(const std::string& member) {
    if (writeKnown_ && isSameString(control_.text(), writtenText_) && member == writtenMember_) {
        return;
    }
    const QString wanted = QString::fromStdString(member);
    control_.show(wanted, shown_);
    // A control that did not take the text whole is given it again at the next write.
    writtenText_ = control_.text();
    writeKnown_ = writtenText_ == wanted;
    writtenMember_ = member;
}

template <typename Number> NumberSlot<Number>::NumberSlot(QWidget* widget) : control_(widget) {}

template <typename Number> void NumberSlot<Number>::exchange(bool read, Number& member) {
    if (read) {
        this->read(member);
    } else {
        write(member);
    }
}

template <typename Number> void NumberSlot<Number>::read(Number& member) {
    const QString text = control_.text();
    if (!isSameString(text, readText_)) {
        readText_ = text;
        readIsNumber_ = parseNumber(text, readValue_);
    }
    if (readIsNumber_) {
        member = readValue_;
    }
}

template <typename Number> void NumberSlot<Number>::write(Number member) {
    if (writeKnown_ && isSameString(control_.text(), writtenText_) && member == writtenValue_) {
        return;
    }
    const QString wanted = QString::number(member);
    control_.show(wanted, Shown::AtCaret);
    writtenText_ = control_.text();
    writeKnown_ = writtenText_ == wanted;
    writtenValue_ = member;
}

template class NumberSlot<int>;
template class NumberSlot<unsigned>;

CheckSlot::CheckSlot(QWidget* widget) : box_(qobject_cast<QCheckBox*>(widget)) {}

void CheckSlot::exchange(bool read, int& member) const {
    if (read) {
        member = box_->isChecked() ? 1 : 0;
    } else {
        box_->setChecked(member != 0);
    }
}

SliderSlot::SliderSlot(QWidget* widget) : slider_(qobject_cast<QSlider*>(widget)) {}

void SliderSlot::exchange(bool read, int& member) const {
    if (read) {
        member = slider_->value();
    } else {
        slider_->setValue(member);
    }
}

} // namespace ladoton
