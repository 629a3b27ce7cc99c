#include "plugins/TForm_manage.h"

namespace lunor::gui {

TForm_manage::TForm_manage(QWidget *parent)
    : FixedWindow(QStringLiteral("插件管理"), QSize(499, 294), parent)
{
    setObjectName(QStringLiteral("Form_manage"));
}

} // namespace lunor::gui
