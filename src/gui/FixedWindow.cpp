#include "gui/FixedWindow.h"

namespace lunor::gui {

QFont windowFont()
{
    QFont font;
    font.setFamilies({ QStringLiteral("MS Sans Serif"), QStringLiteral("SimSun"),
        QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
        QStringLiteral("Droid Sans Fallback"), QStringLiteral("sans-serif") });
    font.setPixelSize(12);
    return font;
}

FixedWindow::FixedWindow(const QString &caption, QSize clientSize, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(caption);
    setFont(windowFont());
    setFixedSize(clientSize);
}

} // namespace lunor::gui
