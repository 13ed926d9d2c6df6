#include "app/ControlNames.h"

#include "app/KeyboardDialog.h"
#include "widgets/Controls.h"

#include <QWidget>
#include <array>

namespace ladoton {

namespace {
struct ControlName {
    int id;
    const char* name;
};

constexpr std::array<ControlName, 20> ControlNames = {{
    {1060, "Ноты"},
    {1042, "Октава"},
    {1051, "Сдвиг"},
    {1077, "Канал"},
    {1078, "Канал"},
    {1057, "Инструмент"},
    {1058, "Инструмент"},
    {1053, "Интервалы"},
    {1045, "Мелодия"},
    {1086, "Перерисовки"},
    {1054, "Амплитуда"},
    {1019, "Амплитуда"},
    {1083, "Метроном вкл."},
    {1084, "Темп"},
    {1085, "Темп"},
    {1080, "Метроном 4/4"},
    {1050, "Клавиша"},
    {1082, "Максимальный инструмент"},
    {1081, "Максимальный инструмент"},
    {1079, "Случайно менять инстр."},
}};
} // namespace

void nameControls(KeyboardDialog& dialog) {
    for (const ControlName& control : ControlNames) {
        if (QWidget* widget = dialog.control(control.id)) {
            widget->setAccessibleName(QString::fromUtf8(control.name));
        }
    }
    dialog.channelSpin->nameArrows(QStringLiteral("Следующий канал"),
                                   QStringLiteral("Предыдущий канал"));
}

} // namespace ladoton
