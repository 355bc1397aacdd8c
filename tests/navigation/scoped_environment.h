#pragma once

#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace appdu::testing {

// Saves the whole process environment and puts it back when it goes, so a
// test can clear it and set exactly the variables a case needs.
class ScopedEnvironment {
 public:
  ScopedEnvironment() {
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) saved_.emplace_back(*entry);
  }
  ~ScopedEnvironment() { Restore(saved_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  // Leaves only the given "NAME=value" entries.
  static void Replace(const std::vector<std::string>& entries) { Restore(entries); }

 private:
  static void Restore(const std::vector<std::string>& entries) {
    clearenv();
    for (const std::string& entry : entries) {
      std::size_t equals = entry.find('=');
      if (equals == std::string::npos) continue;
      setenv(entry.substr(0, equals).c_str(), entry.substr(equals + 1).c_str(), 1);
    }
  }

  std::vector<std::string> saved_;
};

}  // namespace appdu::testing
