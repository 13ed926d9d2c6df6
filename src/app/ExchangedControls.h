#pragma once

#include <QString>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class QWidget;

namespace ladoton {

// Where a line edit shows a text that is wider than the edit.
enum class Shown { AtCaret, FromStart };

// A line edit or a label: the controls whose text is exchanged with a member.
class TextControl {
  public:
    explicit TextControl(QWidget* widget);
    QString text() const;
    // Sets the text unless the control holds it already.
    void show(const QString& text, Shown shown) const;

  private:
    QLineEdit* edit_ = nullptr;
    QLabel* label_ = nullptr;
};

// The timers exchange every control a hundred times a second, and nearly always find the texts
// as they were. A slot keeps the text it last saw - a shared copy, so any change the control
// makes to its text gives a new string - with what that text gave, and does the work again only
// for a text or member that changed. The member is given exactly what a full exchange would give.
class TextSlot {
  public:
    explicit TextSlot(QWidget* widget, Shown shown = Shown::AtCaret);
    void exchange(bool read, std::string& member);

  private:
    void read(std::string& member);
    void write(const std::string& member);

    TextControl control_;
    Shown shown_;
    QString readText_;       // the text the last read saw
    std::string readMember_; // the member as that read left it
    bool writeKnown_ = false;
    QString writtenText_;       // the control's text right after the last write
    std::string writtenMember_; // the member that write showed
};

template <typename Number> class NumberSlot {
  public:
    explicit NumberSlot(QWidget* widget);
    void exchange(bool read, Number& member);

  private:
    void read(Number& member);
    void write(Number member);

    TextControl control_;
    QString readText_;
    bool readIsNumber_ = false; // a text that is not a whole number leaves the member alone
    Number readValue_{};
    bool writeKnown_ = false;
    QString writtenText_;
    Number writtenValue_{};
};

class CheckSlot {
  public:
    explicit CheckSlot(QWidget* widget);
    void exchange(bool read, int& member) const;

  private:
    QCheckBox* box_;
};

class SliderSlot {
  public:
    explicit SliderSlot(QWidget* widget);
    void exchange(bool read, int& member) const;

  private:
    QSlider* slider_;
};

} // namespace ladoton
