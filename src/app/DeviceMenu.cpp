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
    // corner, so the menu stands a little above and left of the pointer. The window maps
    // it to the screen itself: a Wayland window has no place on the screen that Qt knows,
    // so its geometry holds a position that was never applied, while mapping places the
    // menu relative to the window, as the compositor does.
    const QPoint frameCorner = frameGeometry().topLeft() - geometry().topLeft();
    const QPoint anchor =
        mapToGlobal(clientPoint + frameCorner) - QPoint(menu.sizeHint().width() / 2, 0);
    QAction* chosen = menu.exec(anchor);
    if (chosen == nullptr ||
        (inputMenu_ != nullptr && inputMenu_->run(chosen, keyboard_, prompts_, this))) {
        return;
    }
    OnCommand(chosen->data().toInt());
}

} // namespace ladoton
