#include "widgets/TextRoom.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace ladoton {

namespace {

QSizeF ratio(QSize needed, QRect room) {
    const auto share = [](int need, int have) {
        return need <= 0 ? 0.0 : static_cast<double>(need) / std::max(have, 1);
    };
    return {share(needed.width(), room.width()), share(needed.height(), room.height())};
}

QSizeF labelNeed(const QLabel& label) {
    if (label.text().isEmpty()) {
        return {};
    }
    const int margin = label.margin();
    const QRect room = label.contentsRect().adjusted(margin, margin, -margin, -margin);
    const int flags =
        static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
    return ratio(label.fontMetrics().boundingRect(room, flags, label.text()).size(), room);
}

// Text and indicator side by side: what the text lacks is lacked by the whole box, whose
// indicator keeps its size.
QSizeF checkBoxNeed(const QCheckBox& box) {
    QStyleOptionButton option;
    option.initFrom(&box);
    option.text = box.text();
    const QRect room = box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box);
    const QSize text = box.fontMetrics().size(Qt::TextShowMnemonic, box.text());
    const int lacking = text.width() - std::min(room.width(), box.width() - room.left());
    return {lacking <= 0 ? 0.0 : static_cast<double>(box.width() + lacking) / box.width(),
            ratio({0, text.height()}, box.rect()).height()};
}

QSizeF groupBoxNeed(const QGroupBox& box) {
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = box.alignment();
    const QRect title =
        box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
    return ratio({title.right() + 1, title.bottom() + 1}, box.rect());
}

QSizeF pushButtonNeed(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    const QRect room =
        button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
    return ratio(button.fontMetrics().size(Qt::TextShowMnemonic, button.text()), room);
}

} // namespace

QSizeF textNeed(const QWidget& widget) {
    if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
        return labelNeed(*label);
    }
    if (const auto* box = qobject_cast<const QCheckBox*>(&widget)) {
        return checkBoxNeed(*box);
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(&widget)) {
        return groupBoxNeed(*box);
    }
    if (const auto* button = qobject_cast<const QPushButton*>(&widget)) {
        return pushButtonNeed(*button);
    }
    return {};
}

DialogUnits unitsThatFit(const QWidget& window, DialogUnits units,
                         const std::function<void(const DialogUnits&)>& layOut,
                         const std::function<bool(const QWidget&)>& shows) {
    // A few rounds settle it: only the fixed parts of a control (a check box's
    // indicator, a frame) do not grow with the units.
    constexpr int Rounds = 6;
    for (int round = 0; round < Rounds; ++round) {
        layOut(units);
        QSizeF worst(1.0, 1.0);
        for (const QWidget* child : window.findChildren<QWidget*>()) {
            if (shows(*child)) {
                worst = worst.expandedTo(textNeed(*child));
            }
        }
        if (worst.width() <= 1.0 && worst.height() <= 1.0) {
            break;
        }
        // A little over what is lacking, so rounding to whole pixels cannot undo it.
        constexpr double Margin = 1.005;
        units.baseX *= worst.width() > 1.0 ? worst.width() * Margin : 1.0;
        units.baseY *= worst.height() > 1.0 ? worst.height() * Margin : 1.0;
    }
    return units;
}

} // namespace ladoton
