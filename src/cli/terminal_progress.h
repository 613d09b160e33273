#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "cli_context.h"

namespace orvalle::cli {

// The columns UTF-8 text takes on a terminal: CJK and full-width characters
// two, half-width katakana and other printable characters one, control
// characters and combining marks none. A byte that is not UTF-8 counts one.
int displayWidth(std::string_view utf8);

// The longest start of `utf8` that takes at most `columns` columns, cut
// between whole characters.
std::string fitToWidth(std::string_view utf8, int columns);

// The text of a progress line for a terminal `columns` wide, at most
// columns - 1 columns so that it never wraps:
//   "[######--------------]   38/104   36%  2024年01月06日  残り 0:42"
// With `maximum` 0 (unknown) only the position and the label. `remaining`
// is the estimate shown after "残り", none when absent. What does not fit
// goes: first the label is shortened and the bar narrowed, then the
// estimate, the percent and the bar are left out.
std::string progressLine(int position, int maximum, std::string_view label,
                         std::optional<std::chrono::seconds> remaining, int columns);

// Whether standard error is a terminal a progress line can be redrawn on:
// a terminal (isatty) whose $TERM is not "dumb".
bool standardErrorIsProgressTerminal();

// The width of the terminal on standard error (TIOCGWINSZ), else $COLUMNS,
// else 80.
int standardErrorColumns();

// One progress line on standard error, redrawn in place ("\r") as reports
// come and erased when the object goes, so that the line is gone before
// the command prints anything after it. A disabled object prints nothing
// at all. The command's other output while the line may be shown goes
// through print(), which erases the line first.
class TerminalProgress {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;

  // A line on `err` when `enabled`. `columns` is asked at each redraw (an
  // empty function or a value below 1: 80). `clock` replaces the steady
  // clock in tests.
  TerminalProgress(std::ostream& err, bool enabled, std::function<int()> columns = {},
                   Clock clock = {});
  // The progress of a command of the command line: enabled when standard
  // error is a progress terminal (context.progressTerminal) and not `quiet`.
  TerminalProgress(const CliContext& context, bool quiet);
  ~TerminalProgress();

  TerminalProgress(const TerminalProgress&) = delete;
  TerminalProgress& operator=(const TerminalProgress&) = delete;

  bool enabled() const { return m_enabled; }

  // Takes a report. Redraws at the first report, when the position reaches
  // the maximum, and otherwise at most every 100 ms. The estimate of the
  // time left starts again when the maximum changes or the position goes
  // back (a new phase of the command).
  void update(int position, int maximum, std::string_view label);

  // Erases the line; the next update draws it again.
  void clear();

  // Prints `text` on `stream` (standard output or error) with the line
  // erased first; the stream is flushed before the line is drawn again.
  void print(std::ostream& stream, std::string_view text);

 private:
  using TimePoint = std::chrono::steady_clock::time_point;

  TimePoint now() const;
  void draw(TimePoint time);

  std::ostream& m_err;
  bool m_enabled;
  std::function<int()> m_columns;
  Clock m_clock;

  bool m_shown = false;     // the line is on the terminal
  bool m_reported = false;  // a report has come
  std::optional<TimePoint> m_lastDraw;
  std::ostream* m_unflushed = nullptr;  // printed to since the last draw

  int m_position = 0;
  int m_maximum = 0;
  std::string m_label;
  // Where the estimate counts from: the start of the current phase.
  TimePoint m_phaseStart;
  int m_phaseStartPosition = 0;
};

}  // namespace orvalle::cli
