#pragma once

namespace appdu::platform {

// The byte that separates path components in texts and native paths alike.
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace appdu::platform
