// The progress line of the long commands: its text at a width, its redraws
// by a clock the test moves, and the Ctrl+C handler of a running command.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <sstream>
#include <string>

#include "interrupt_cancel.h"
#include "terminal_progress.h"

namespace orvalle::cli {
namespace {

using namespace std::chrono_literals;
using Seconds = std::optional<std::chrono::seconds>;

std::string bar(int filled, int cells) {
  std::string text = "[";
  for (int i = 0; i < cells; ++i) text += i < filled ? "█" : "░";
  return text + "]";
}

TEST(TerminalProgressTest, DisplayWidthCountsWideCharactersTwice) {
  const struct {
    const char* text;
    int width;
  } cases[] = {
      {"abc 12", 6},
      {"2024年01月06日", 14},
      {"ｱｲｳｴｵ", 5},          // half-width katakana
      {"アイウ", 6},           // full-width katakana
      {"ＡＢ　", 6},           // full-width letters and blank
      {"①②", 2},             // circled numbers, as most terminals show them
      {"中山 11R/①ｱｲｳ", 13},
      {"\xff" "a", 2},         // a byte that is not UTF-8 counts one
  };
  for (const auto& c : cases) EXPECT_EQ(displayWidth(c.text), c.width) << c.text;
  // Cut between whole characters, never past the width.
  EXPECT_EQ(fitToWidth("2024年01月", 5), "2024");
  EXPECT_EQ(fitToWidth("2024年01月", 6), "2024年");
  EXPECT_EQ(fitToWidth("ｱｲｳ", 2), "ｱｲ");
}

TEST(TerminalProgressTest, LineFitsTheWidth) {
  const std::string day = "2024年01月06日";
  const std::string runner = "2024年01月06日 中山 11R/①ｱｲｳｴｵｶｷｸｹｺ";
  const struct {
    int position;
    int maximum;
    std::string label;
    Seconds remaining;
    int columns;
    std::string line;
  } cases[] = {
      // Room for everything: a bar of 20 cells.
      {38, 104, day, 42s, 80, bar(7, 20) + "   38/104   36%  " + day + "  残り 0:42"},
      {104, 104, day, 0s, 80, bar(20, 20) + "  104/104  100%  " + day + "  残り 0:00"},
      // No estimate yet.
      {3, 10, day, std::nullopt, 80, bar(6, 20) + "   3/10   30%  " + day},
      // Hours.
      {1, 500, "", 3723s, 80, bar(0, 20) + "    1/500    0%  残り 1:02:03"},
      // A narrower bar before the label is shortened; then the label is cut.
      {38, 104, day, 42s, 60, bar(5, 15) + "   38/104   36%  " + day + "  残り 0:42"},
      {38, 104, runner, 42s, 50, bar(3, 10) + "   38/104   36%  2024年0..  残り 0:42"},
      // No room for the label, then not for the estimate, then for no bar.
      {38, 104, day, 42s, 40, bar(3, 10) + "   38/104   36%  残り 0:42"},
      {38, 104, day, 42s, 30, bar(3, 10) + "   38/104   36%"},
      {38, 104, day, 42s, 20, " 38/104  2024年01.."},
      // An unknown maximum: the count and the text.
      {38, 0, "ダウンロード", std::nullopt, 80, "38  ダウンロード"},
  };
  for (const auto& c : cases) {
    const std::string line = progressLine(c.position, c.maximum, c.label, c.remaining, c.columns);
    EXPECT_EQ(line, c.line) << c.columns;
    EXPECT_LT(displayWidth(line), c.columns) << line;
  }
}

// A clock the test moves.
struct FakeClock {
  std::chrono::steady_clock::time_point now{};
  TerminalProgress::Clock function() {
    return [this] { return now; };
  }
};

// The lines drawn on a stream: the texts between "\r" and "\x1b[K", the
// erasures ("\r\x1b[K") left out.
std::vector<std::string> drawnLines(const std::string& stream) {
  std::vector<std::string> lines;
  for (size_t at = stream.find('\r'); at != std::string::npos; at = stream.find('\r', at + 1)) {
    const size_t end = stream.find("\x1b[K", at);
    if (end != std::string::npos && end > at + 1) lines.push_back(stream.substr(at + 1, end - at - 1));
  }
  return lines;
}

TEST(TerminalProgressTest, RedrawsAtMostTenTimesASecondAndAtTheEnd) {
  FakeClock clock;
  std::ostringstream err;
  {
    TerminalProgress progress(err, true, [] { return 80; }, clock.function());
    progress.update(0, 5, "a");  // the first report is drawn
    clock.now += 50ms;
    progress.update(1, 5, "b");  // too soon
    clock.now += 60ms;
    progress.update(2, 5, "c");
    clock.now += 10ms;
    progress.update(3, 5, "d");  // too soon
    progress.update(5, 5, "e");  // the last one
  }
  const std::vector<std::string> lines = drawnLines(err.str());
  ASSERT_EQ(lines.size(), 3u) << err.str();
  EXPECT_NE(lines[0].find("0/5"), std::string::npos);
  EXPECT_NE(lines[1].find("2/5"), std::string::npos);
  EXPECT_NE(lines[2].find("5/5"), std::string::npos);
  // Erased when the command ends.
  EXPECT_TRUE(err.str().ends_with("\x1b[K\r\x1b[K")) << err.str();
}

TEST(TerminalProgressTest, EstimatesFromTheElapsedTimeAfterASecond) {
  FakeClock clock;
  std::ostringstream err;
  TerminalProgress progress(err, true, {}, clock.function());
  clock.now += 500ms;
  progress.update(1, 10, "");
  clock.now += 1500ms;
  progress.update(4, 10, "");  // 2 s for 4: 3 s for the 6 left
  clock.now += 1s;
  progress.update(0, 3, "");  // a new phase starts the estimate again
  clock.now += 500ms;
  progress.update(1, 3, "");
  clock.now += 1500ms;
  progress.update(2, 3, "");  // 2 s for 2: 1 s for the last

  const std::vector<std::string> lines = drawnLines(err.str());
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0].find("残り"), std::string::npos);
  EXPECT_TRUE(lines[1].ends_with("残り 0:03")) << lines[1];
  EXPECT_EQ(lines[2].find("残り"), std::string::npos);
  EXPECT_EQ(lines[3].find("残り"), std::string::npos);
  EXPECT_TRUE(lines[4].ends_with("残り 0:01")) << lines[4];
}

TEST(TerminalProgressTest, OtherOutputFindsTheLineErased) {
  FakeClock clock;
  std::ostringstream err;
  std::ostringstream out;
  {
    TerminalProgress progress(err, true, {}, clock.function());
    progress.update(1, 2, "");
    progress.print(err, "warning\n");
    progress.print(out, "information\n");
  }
  EXPECT_TRUE(err.str().ends_with("\x1b[K\r\x1b[Kwarning\n")) << err.str();
  EXPECT_EQ(out.str(), "information\n");

  // Disabled: nothing but the command's own text.
  std::ostringstream quiet;
  {
    TerminalProgress progress(quiet, false, {}, clock.function());
    progress.update(1, 2, "");
    progress.print(quiet, "warning\n");
    progress.update(2, 2, "");
  }
  EXPECT_EQ(quiet.str(), "warning\n");
}

int g_testHandlerCalls = 0;
void countInterrupt(int) { ++g_testHandlerCalls; }

TEST(InterruptCancelTest, FirstInterruptCancelsAndTheOldHandlerComesBack) {
  struct sigaction counting {};
  counting.sa_handler = countInterrupt;
  sigemptyset(&counting.sa_mask);
  struct sigaction original {};
  ASSERT_EQ(::sigaction(SIGINT, &counting, &original), 0);
  g_testHandlerCalls = 0;

  CancelFlag flag;
  {
    InterruptCancel interrupt(flag);
    ::raise(SIGINT);
    EXPECT_TRUE(flag.cancelled());
    EXPECT_EQ(g_testHandlerCalls, 0);
    // A second Ctrl+C would end the process.
    struct sigaction now {};
    ::sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
  }
  ::raise(SIGINT);
  EXPECT_EQ(g_testHandlerCalls, 1);

  // A process that ignores Ctrl+C goes on ignoring it.
  struct sigaction ignoring {};
  ignoring.sa_handler = SIG_IGN;
  ASSERT_EQ(::sigaction(SIGINT, &ignoring, nullptr), 0);
  CancelFlag ignored;
  {
    InterruptCancel interrupt(ignored);
    ::raise(SIGINT);
  }
  EXPECT_FALSE(ignored.cancelled());
  ::sigaction(SIGINT, &original, nullptr);
}

}  // namespace
}  // namespace orvalle::cli
