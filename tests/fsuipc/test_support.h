// Shared by the FSUIPC tests: each test program gets a runtime folder of its
// own (atoms, registered messages, published windows), so programs that run
// side by side never see each other's servers, and the folder goes away at
// exit.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace fsuipc_test {

class IsolatedRuntimeDir {
public:
  IsolatedRuntimeDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fsuipc-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
      setenv("GAUGE_RUNTIME_DIR", path_.c_str(), 1);
    }
  }
  ~IsolatedRuntimeDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path &path() const { return path_; }

private:
  std::filesystem::path path_;
};

// Sets GAUGE_RUNTIME_DIR for a scope, then puts the old value back.
class RuntimeDirOverride {
public:
  explicit RuntimeDirOverride(const std::string &dir) {
    if (const char *old = std::getenv("GAUGE_RUNTIME_DIR")) {
      old_ = old;
    }
    setenv("GAUGE_RUNTIME_DIR", dir.c_str(), 1);
  }
  ~RuntimeDirOverride() { setenv("GAUGE_RUNTIME_DIR", old_.c_str(), 1); }

private:
  std::string old_;
};

} // namespace fsuipc_test
