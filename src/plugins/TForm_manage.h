#pragma once

#include "gui/FixedWindow.h"

namespace lunor::gui {

// The plug-in manager window. Created hidden at start-up and shown, not modal, from the main
// window; closing it only hides it.
class TForm_manage final : public FixedWindow
{
    Q_OBJECT
public:
    explicit TForm_manage(QWidget *parent = nullptr);
};

} // namespace lunor::gui
