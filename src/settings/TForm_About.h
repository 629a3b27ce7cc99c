#pragma once

#include "gui/FixedWindow.h"

namespace lunor::gui {

// The about window. Created hidden at start-up and shown, not modal, from the main
// window; closing it only hides it.
class TForm_About final : public FixedWindow
{
    Q_OBJECT
public:
    explicit TForm_About(QWidget *parent = nullptr);
};

} // namespace lunor::gui
