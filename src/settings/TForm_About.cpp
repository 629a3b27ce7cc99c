#include "settings/TForm_About.h"

namespace lunor::gui {

TForm_About::TForm_About(QWidget *parent)
    : FixedWindow(QStringLiteral("关于"), QSize(489, 379), parent)
{
    setObjectName(QStringLiteral("Form_About"));
}

} // namespace lunor::gui
