#include "gui/ApplicationIcon.h"

#include <QString>

// The pictures live in a static library: nothing would pull them into the program unless they
// are named.
static void registerIconResources()
{
    Q_INIT_RESOURCE(lunortime);
}

namespace lunor::gui {

QIcon applicationIcon()
{
    static const bool registered = (registerIconResources(), true);
    (void)registered;
    QIcon icon;
    for (int size : { 16, 22, 24, 32, 48, 64, 128, 256 })
        icon.addFile(
            QStringLiteral(":/lunortime/icons/%1/lunortime.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace lunor::gui
