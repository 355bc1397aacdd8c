#pragma once

namespace appdu::platform {

// True when standard error goes to a terminal, where a line can be redrawn.
bool StandardErrorIsTerminal();

}  // namespace appdu::platform
