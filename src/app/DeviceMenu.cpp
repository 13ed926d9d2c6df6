#include "app/KeyboardDialog.h"

#include "app/InputMenu.h"

#include <QMenu>

namespace ladoton {

void KeyboardDialog::showDeviceMenu(QPoint clientPoint) {
    const std::vector<std::string> names = keyboard_.midiOut.listDevices();
    QMenu menu(this);
    for (int index = 0; index < static_cast<int>(names.size()); ++index) {
        QAction* action = menu.addAction(QString::fromStdString(names[index]));
        action->setData(DeviceCommandBase + index);
        action->setCheckable(true);
        action->setChecked(index == keyboard_.midiOut.deviceId);
    }
    if (inputMenu_ != nullptr) {
        inputMenu_->addTo(menu);
    }
    // The point is in client coordinates while the origin is the window's outer
    // corner, so the menu stands a little above and left of the pointer.
    const QRect outer = frameGeometry();
    const QPoint anchor(clientPoint.x() + outer.left() - menu.sizeHint().width() / 2,
                        clientPoint.y() + outer.top());
    QAction* chosen = menu.exec(anchor);
    if (chosen == nullptr ||
        (inputMenu_ != nullptr && inputMenu_->run(chosen, keyboard_, prompts_, this))) {
        return;
    }
    OnCommand(chosen->data().toInt());
}

} // namespace ladoton
