#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvalle::test {

// A fresh folder under the system's temporary folder, removed with all its
// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

// Writes bytes to a file, creating its folder; the test fails on error.
void writeFile(const std::filesystem::path& path, std::string_view bytes);

// The bytes of a file; empty when it does not exist.
std::string readFile(const std::filesystem::path& path);

}  // namespace orvalle::test
