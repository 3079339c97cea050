#pragma once

namespace kel {

// Whether standard error is a terminal, where a progress line may be redrawn.
bool StandardErrorIsTerminal();

}  // namespace kel
