#pragma once

#include "gui/FixedWindow.h"

namespace lunor::gui {

// The settings window: the skin, system and time pages. Created hidden at start-up and shown, not
// modal, from the main window; closing it only hides it.
class TForm_Config final : public FixedWindow
{
    Q_OBJECT
public:
    explicit TForm_Config(QWidget *parent = nullptr);
};

} // namespace lunor::gui
