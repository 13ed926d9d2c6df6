#pragma once

#include <QObject>
#include <QString>

namespace ladoton {

// What the voice says: an object of the notification role, shown with each new text.
class Utterance final : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    QString text;
};

// Has a running screen reader say a text. Qt of Debian 12 has no announcement for a screen
// reader; what Orca says of its own accord is a notification that is shown. Orca reads a
// notification with the word "notification" before it, and with the names of the windows
// around it, unless it stands in a status bar: so the voice is a status bar of the
// application, outside its windows and not drawn, whose one notification is shown again with
// each text. Orca then says the text alone.
class ScreenReaderVoice final : public QObject {
    Q_OBJECT
  public:
    explicit ScreenReaderVoice(QObject* owner);

    void say(const QString& text);
    const Utterance& utterance() const { return utterance_; }

  private:
    Utterance utterance_;
};

} // namespace ladoton
