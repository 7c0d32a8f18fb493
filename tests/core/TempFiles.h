#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

// A private folder under the system's temporary folder, removed with everything in it.
class TTempDir {
 public:
  TTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kesto-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TTempDir() { std::filesystem::remove_all(path_); }

  std::string File(const std::string& name, const std::string& content) const {
    const std::string p = (path_ / name).string();
    std::ofstream(p, std::ios::binary) << content;
    return p;
  }
  std::string Path(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};
