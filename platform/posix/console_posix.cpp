#include <unistd.h>

#include "platform/console.h"

namespace appdu::platform {

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

}  // namespace appdu::platform
