#pragma once

namespace appdu::platform {

// The environment lookups read and started programs get: the copy kept at
// start when there is one, else the process's own.
char** EnvironmentForPrograms();

}  // namespace appdu::platform
