#pragma once

#include <QFont>
#include <QWidget>

namespace lunor::gui {

// The font of every window. The windows were laid out for an 8-point Windows font; the
// fallbacks find a font with Chinese characters here.
QFont windowFont();

// A top-level window of the program: fixed client size, a border that cannot be resized,
// a close box and no minimise or maximise box.
class FixedWindow : public QWidget
{
    Q_OBJECT
public:
    FixedWindow(const QString &caption, QSize clientSize, QWidget *parent = nullptr);
};

} // namespace lunor::gui
