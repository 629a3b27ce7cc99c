#include "settings/TForm_Config.h"

namespace lunor::gui {

TForm_Config::TForm_Config(QWidget *parent)
    : FixedWindow(QStringLiteral("设置"), QSize(565, 260), parent)
{
    setObjectName(QStringLiteral("Form_Config"));
    move(346, 284);
}

} // namespace lunor::gui
