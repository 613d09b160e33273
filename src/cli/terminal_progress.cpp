#include "terminal_progress.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace orvalle::cli {
namespace {

using namespace std::chrono_literals;

constexpr int kDefaultColumns = 80;
constexpr int kMaxBarCells = 20;
constexpr int kMinBarCells = 10;
// ASCII cells: block characters are of ambiguous width, and terminals set
// up for Japanese often draw them two columns wide, which would wrap the line.
constexpr std::string_view kFilledCell = "#";
constexpr std::string_view kEmptyCell = "-";
constexpr std::string_view kSeparator = "  ";
constexpr auto kRedrawInterval = 100ms;
constexpr auto kEstimateAfter = 1s;

// The next character of `text` from `at` and its length in bytes; a byte
// that does not start a whole UTF-8 character is taken alone (as U+FFFD).
std::pair<char32_t, size_t> nextCharacter(std::string_view text, size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  size_t length = 1;
  char32_t code = lead;
  if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07;
  } else if (lead >= 0xE0) {
    length = 3;
    code = lead & 0x0F;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1F;
  } else if (lead >= 0x80) {
    return {U'\uFFFD', 1};
  }
  if (at + length > text.size()) return {U'\uFFFD', 1};
  for (size_t i = 1; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(text[at + i]);
    if ((byte & 0xC0) != 0x80) return {U'\uFFFD', 1};
    code = (code << 6) | (byte & 0x3F);
  }
  return {code, length};
}

// Columns of one character (East Asian wide and full-width characters two).
int characterWidth(char32_t c) {
  if (c < 0x20 || (c >= 0x7F && c < 0xA0)) return 0;
  if ((c >= 0x0300 && c <= 0x036F) || (c >= 0x200B && c <= 0x200F) || c == 0x3099 || c == 0x309A) {
    return 0;
  }
  if (c >= 0xFF61 && c <= 0xFF9F) return 1;  // half-width katakana
  struct Range {
    char32_t first;
    char32_t last;
  };
  static constexpr Range kWide[] = {
      {0x1100, 0x115F},   {0x2329, 0x232A},   {0x2E80, 0x303E},   {0x3041, 0x33FF},
      {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},
      {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},
      {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F}, {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD},
      {0x30000, 0x3FFFD},
  };
  for (const Range& range : kWide) {
    if (c >= range.first && c <= range.last) return 2;
  }
  return 1;
}

// "m:ss", or "h:mm:ss" from an hour on.
std::string clockText(std::chrono::seconds left) {
  const long long total = std::max<long long>(left.count(), 0);
  const long long hours = total / 3600;
  const long long minutes = total / 60 % 60;
  const long long seconds = total % 60;
  auto twoDigits = [](long long value) { return (value < 10 ? "0" : "") + std::to_string(value); };
  if (hours > 0) return std::to_string(hours) + ":" + twoDigits(minutes) + ":" + twoDigits(seconds);
  return std::to_string(minutes) + ":" + twoDigits(seconds);
}

std::string padLeft(std::string text, size_t width) {
  if (text.size() < width) text.insert(0, width - text.size(), ' ');
  return text;
}

}  // namespace

int displayWidth(std::string_view utf8) {
  int width = 0;
  for (size_t at = 0; at < utf8.size();) {
    const auto [code, length] = nextCharacter(utf8, at);
    width += characterWidth(code);
    at += length;
  }
  return width;
}

std::string fitToWidth(std::string_view utf8, int columns) {
  int width = 0;
  size_t end = 0;
  while (end < utf8.size()) {
    const auto [code, length] = nextCharacter(utf8, end);
    const int next = characterWidth(code);
    if (width + next > columns) break;
    width += next;
    end += length;
  }
  return std::string(utf8.substr(0, end));
}

std::string progressLine(int position, int maximum, std::string_view label,
                         std::optional<std::chrono::seconds> remaining, int columns) {
  const int usable = std::max(columns, 2) - 1;
  const bool known = maximum > 0;
  const int done = known ? std::clamp(position, 0, maximum) : 0;
  const std::string maximumText = std::to_string(maximum);
  // The counts keep their width while the position grows, so the line does
  // not jitter.
  const std::string counts =
      known ? padLeft(std::to_string(position), maximumText.size()) + "/" + maximumText
            : std::to_string(position);
  const std::string percent =
      known ? padLeft(std::to_string(static_cast<long long>(done) * 100 / maximum), 3) + "%" : "";
  const std::string estimate = known && remaining ? "残り " + clockText(*remaining) : "";
  const int labelWidth = label.empty() ? 0 : displayWidth(kSeparator) + displayWidth(label);

  struct Layout {
    bool bar;
    bool percent;
    bool estimate;
  };
  static constexpr Layout kLayouts[] = {
      {true, true, true}, {true, true, false}, {true, false, false}, {false, false, false}};
  for (const Layout& layout : kLayouts) {
    const bool showBar = layout.bar && known;
    const bool showPercent = layout.percent && known;
    const bool showEstimate = layout.estimate && !estimate.empty();
    int fixed = displayWidth(counts);
    if (showPercent) fixed += displayWidth(kSeparator) + displayWidth(percent);
    if (showEstimate) fixed += displayWidth(kSeparator) + displayWidth(estimate);
    int cells = 0;
    if (showBar) {
      const int room = usable - fixed - 2 - displayWidth(kSeparator);  // "[", "]", the separator
      if (room < kMinBarCells) continue;
      cells = std::clamp(room - labelWidth, kMinBarCells, kMaxBarCells);
      fixed += cells + 2 + displayWidth(kSeparator);
    }
    if (fixed > usable) continue;

    std::string shownLabel;
    const int labelRoom = usable - fixed - displayWidth(kSeparator);
    if (!label.empty() && labelRoom >= displayWidth(label)) {
      shownLabel = label;
    } else if (!label.empty() && labelRoom >= 4) {
      shownLabel = fitToWidth(label, labelRoom - 2) + "..";
    }

    std::string line;
    if (showBar) {
      const int filled = static_cast<int>(static_cast<long long>(done) * cells / maximum);
      line += "[";
      for (int i = 0; i < cells; ++i) line += i < filled ? kFilledCell : kEmptyCell;
      line += "]";
      line += kSeparator;
    }
    line += counts;
    if (showPercent) line += std::string(kSeparator) + percent;
    if (!shownLabel.empty()) line += std::string(kSeparator) + shownLabel;
    if (showEstimate) line += std::string(kSeparator) + estimate;
    return line;
  }
  return fitToWidth(counts, usable);
}

bool standardErrorIsProgressTerminal() {
  if (::isatty(STDERR_FILENO) != 1) return false;
  const char* term = std::getenv("TERM");
  return term == nullptr || std::strcmp(term, "dumb") != 0;
}

int standardErrorColumns() {
  winsize size{};
  if (::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  if (const char* columns = std::getenv("COLUMNS"); columns != nullptr) {
    int value = 0;
    const char* end = columns + std::strlen(columns);
    const auto [rest, error] = std::from_chars(columns, end, value);
    if (error == std::errc() && rest == end && value > 0) return value;
  }
  return kDefaultColumns;
}

TerminalProgress::TerminalProgress(std::ostream& err, bool enabled, std::function<int()> columns,
                                   Clock clock)
    : m_err(err), m_enabled(enabled), m_columns(std::move(columns)), m_clock(std::move(clock)) {
  m_phaseStart = now();
}

TerminalProgress::TerminalProgress(const CliContext& context, bool quiet)
    : TerminalProgress(context.err, context.progressTerminal && !quiet, context.terminalColumns) {}

TerminalProgress::~TerminalProgress() { clear(); }

TerminalProgress::TimePoint TerminalProgress::now() const {
  return m_clock ? m_clock() : std::chrono::steady_clock::now();
}

void TerminalProgress::update(int position, int maximum, std::string_view label) {
  if (!m_enabled) return;
  const TimePoint time = now();
  if (m_reported && (maximum != m_maximum || position < m_position)) {
    m_phaseStart = time;
    m_phaseStartPosition = position;
  }
  m_reported = true;
  m_position = position;
  m_maximum = maximum;
  m_label.assign(label);
  const bool last = maximum > 0 && position >= maximum;
  if (!m_lastDraw || last || time - *m_lastDraw >= kRedrawInterval) draw(time);
}

void TerminalProgress::draw(TimePoint time) {
  if (m_unflushed != nullptr) {
    m_unflushed->flush();
    m_unflushed = nullptr;
  }
  std::optional<std::chrono::seconds> remaining;
  if (m_maximum > 0 && m_position > m_phaseStartPosition && time - m_phaseStart >= kEstimateAfter) {
    const double elapsed = std::chrono::duration<double>(time - m_phaseStart).count();
    const double perStep = elapsed / (m_position - m_phaseStartPosition);
    remaining = std::chrono::seconds(std::llround(perStep * std::max(0, m_maximum - m_position)));
  }
  const int columns = m_columns ? m_columns() : 0;
  m_err << '\r'
        << progressLine(m_position, m_maximum, m_label, remaining,
                        columns > 0 ? columns : kDefaultColumns)
        << "\x1b[K" << std::flush;
  m_shown = true;
  m_lastDraw = time;
}

void TerminalProgress::clear() {
  if (!m_shown) return;
  m_err << "\r\x1b[K" << std::flush;
  m_shown = false;
}

void TerminalProgress::print(std::ostream& stream, std::string_view text) {
  clear();
  stream << text;
  if (m_enabled) m_unflushed = &stream;
}

}  // namespace orvalle::cli
