#include "app/AppIcon.h"

namespace kel {

QIcon ProgramIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/icons/keltally-32.png"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/icons/keltally-16.png"), QSize(16, 16));
    return icon;
}

}  // namespace kel
