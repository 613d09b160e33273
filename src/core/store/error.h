#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace orvalle {

// A failure that ends the running command: a file that cannot be read or
// written, an index out of range, a corrupt file. The message is UTF-8 text
// meant for the user; the command boundary (the CLI's main, the GUI's command
// runner) catches it and shows it.
class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// The outcome of an operation whose failure is expected (a missing file, a
// validation failure). An ok status has an empty message; a failed one
// carries the user's message in UTF-8.
class [[nodiscard]] Status {
 public:
  Status() = default;

  static Status success() { return Status(); }
  static Status failure(std::string message) { return Status(false, std::move(message)); }

  bool ok() const { return m_ok; }
  explicit operator bool() const { return m_ok; }
  const std::string& message() const { return m_message; }

 private:
  Status(bool ok, std::string message) : m_ok(ok), m_message(std::move(message)) {}

  bool m_ok = true;
  std::string m_message;
};

}  // namespace orvalle
