#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "store/file_system.h"

namespace orvalle::store {

// Reads a file from start to end a byte at a time through a buffer of fixed
// size, so that memory does not grow with the size of the file.
class SequentialReader {
 public:
  SequentialReader() = default;
  explicit SequentialReader(std::unique_ptr<ReadableFile> file) : m_file(std::move(file)) {}

  bool isOpen() const { return m_file != nullptr; }
  void close() { *this = SequentialReader(); }

  // The next byte without taking it, or -1 at the end. Throws FileError.
  int peek() {
    if (m_position == m_buffer.size() && !refill()) return -1;
    return static_cast<unsigned char>(m_buffer[m_position]);
  }

  // The next byte, or -1 at the end. Throws FileError.
  int next() {
    const int c = peek();
    if (c >= 0) ++m_position;
    return c;
  }

 private:
  static constexpr size_t kBufferSize = 64 * 1024;

  bool refill() {
    if (!m_file) return false;
    m_buffer.resize(kBufferSize);
    m_buffer.resize(m_file->readAt(m_offset, m_buffer.data(), kBufferSize));
    m_offset += m_buffer.size();
    m_position = 0;
    return !m_buffer.empty();
  }

  std::unique_ptr<ReadableFile> m_file;
  std::string m_buffer;
  size_t m_position = 0;
  std::uint64_t m_offset = 0;
};

}  // namespace orvalle::store
