#include "app/ScreenReaderVoice.h"

#include <QAccessibleObject>
#include <QCoreApplication>

namespace ladoton {

namespace {

// An object of the tree that is no widget: it shows nothing and takes no input.
class UnseenAccessible : public QAccessibleObject {
  public:
    using QAccessibleObject::QAccessibleObject;
    QAccessible::State state() const override { return {}; }
    QRect rect() const override { return {}; }
};

class VoiceAccessible final : public UnseenAccessible {
  public:
    explicit VoiceAccessible(ScreenReaderVoice* voice) : UnseenAccessible(voice) {}

    QAccessible::Role role() const override { return QAccessible::StatusBar; }
    QString text(QAccessible::Text /*kind*/) const override { return {}; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(QCoreApplication::instance());
    }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(
                                const_cast<Utterance*>(&voice()->utterance()))
                          : nullptr;
    }
    int childCount() const override { return 1; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == &voice()->utterance() ? 0 : -1;
    }

  private:
    const ScreenReaderVoice* voice() const {
        return static_cast<const ScreenReaderVoice*>(object());
    }
};

class UtteranceAccessible final : public UnseenAccessible {
  public:
    explicit UtteranceAccessible(Utterance* utterance) : UnseenAccessible(utterance) {}

    QAccessible::Role role() const override { return QAccessible::Notification; }
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? static_cast<const Utterance*>(object())->text
                                         : QString();
    }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
};

QAccessibleInterface* voiceAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("ladoton::ScreenReaderVoice")) {
        return new VoiceAccessible(static_cast<ScreenReaderVoice*>(object));
    }
    if (className == QLatin1String("ladoton::Utterance")) {
        return new UtteranceAccessible(static_cast<Utterance*>(object));
    }
    return nullptr;
}

void installVoiceAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(voiceAccessible);
        return true;
    }();
    (void)installed;
}

} // namespace

ScreenReaderVoice::ScreenReaderVoice(QObject* owner) : QObject(owner), utterance_(this) {
    installVoiceAccessibility();
}

void ScreenReaderVoice::say(const QString& text) {
    utterance_.text = text;
    QAccessibleEvent shown(&utterance_, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

} // namespace ladoton
