#include "app/ControlNames.h"

#include "widgets/ControlIds.h"

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
    {control::HeldNotes, "Ноты"},
    {control::Octave, "Октава"},
    {control::Transposition, "Сдвиг"},
    {control::Channel, "Канал"},
    {control::ChannelArrows, "Канал"},
    {control::InstrumentSlider, "Инструмент"},
    {control::Instrument, "Инструмент"},
    {control::Interval, "Интервалы"},
    {control::Melody, "Мелодия"},
    {control::RepaintCount, "Перерисовки"},
    {control::AmplitudeSlider, "Амплитуда"},
    {control::Amplitude, "Амплитуда"},
    {control::MetronomeOn, "Метроном вкл."},
    {control::TempoSlider, "Темп"},
    {control::Tempo, "Темп"},
    {control::Accent, "Метроном 4/4"},
    {control::KeyCode, "Клавиша"},
    {control::MaxInstrumentSlider, "Максимальный инструмент"},
    {control::MaxInstrument, "Максимальный инструмент"},
    {control::RandomInstrument, "Случайно менять инстр."},
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
