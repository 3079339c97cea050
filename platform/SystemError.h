#pragma once
// The calling thread's last system error and the system's text for a code.

#include <string>

namespace kel {

int LastSystemError();
void SetLastSystemError(int code);
// The system's own text; codes it does not know get its "Unknown error" text.
std::string SystemErrorText(int code);

}  // namespace kel
