#pragma once
// The program's icon, in its 32 x 32 and 16 x 16 forms.

#include <QIcon>

namespace kel {

QIcon ProgramIcon();

}  // namespace kel
