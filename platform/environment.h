#pragma once

// Narrow access to the process environment and the per-user folder settings.
// Names and values here are native bytes; callers convert texts with
// NativeFromText and TextFromNative.

#include <optional>
#include <string>
#include <string_view>

namespace appdu::platform {

// What is appended to the user's profile folder to give the folder the window
// lists first. On Windows the per-user application data lives in
// "<profile>\AppData\"; elsewhere it sits directly in the home folder.
#ifdef _WIN32
inline constexpr char kProfileDataSuffix[] = "\\AppData\\";
#else
inline constexpr char kProfileDataSuffix[] = "/";
#endif

// Keeps a copy of the environment as it is now. From then on every lookup
// here, and every program this layer starts, sees that copy, whatever the
// process later does to its own environment. Call it first thing at start;
// a later call keeps the environment as it is then.
void KeepStartEnvironment();

// The value of the environment variable whose name equals `name` ignoring
// ASCII letter case (the first such variable); nothing when there is none.
// A variable set to the empty value is returned as the empty value.
std::optional<std::string> EnvironmentVariable(std::string_view name);

// The folder that holds the running program file, without a trailing
// separator; the empty text when it cannot be found.
std::string ExecutableFolder();

// Which half of the shell-folder store a value is read from.
enum class ShellFolderScope { PerUser, PerMachine };

// The shell-folder store's value for a lower-cased folder name such as
// "local appdata" or "my music"; the empty text when the store holds none.
std::string ShellFolderValue(ShellFolderScope scope, std::string_view lowerName);

}  // namespace appdu::platform
