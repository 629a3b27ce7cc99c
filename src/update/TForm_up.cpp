#include "update/TForm_up.h"

namespace lunor::gui {

TForm_up::TForm_up(QWidget *parent)
    : FixedWindow(QStringLiteral("插件升级"), QSize(560, 330), parent)
{
    setObjectName(QStringLiteral("Form_up"));
}

} // namespace lunor::gui
