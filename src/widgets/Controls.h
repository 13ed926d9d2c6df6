#pragma once

#include <QLineEdit>
#include <QSlider>
#include <QWidget>
#include <functional>

class QToolButton;

namespace ladoton {

// A slider that tells after every paint of itself, as a trackbar's custom-draw
// notification does: the window learns of slider moves only through it.
class TrackBar : public QSlider {
    Q_OBJECT
  public:
    explicit TrackBar(QWidget* parent);

  signals:
    void customDraw();

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// Two arrow buttons that report a step of +1 (up) or -1 (down).
class SpinArrows : public QWidget {
    Q_OBJECT
  public:
    explicit SpinArrows(QWidget* parent);
    void setRange(int lower, int upper);
    void click(int delta);
    // The arrows' names for a screen reader, by what they do.
    void nameArrows(const QString& up, const QString& down);

  signals:
    void delta(int delta);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* up_;
    QToolButton* down_;
    int lower_ = 1;
    int upper_ = 16;
};

// A line edit that no input method types into: the window plays every key by its place and
// writes the edits' texts itself. A line edit answers Qt's input contexts by itself, whatever
// its WA_InputMethodEnabled says, so it must refuse them here.
class LineEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit LineEdit(QWidget* parent) : QLineEdit(parent) {}
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
};

// The window's own surface below the menu bar, on which every control stands.
class ClientSurface : public QWidget {
    Q_OBJECT
  public:
    explicit ClientSurface(QWidget* parent);

    std::function<void(QPoint)> onRightClick;
    std::function<void(const QRegion&)> onPaint;

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ladoton
