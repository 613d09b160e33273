// The progress line of the long commands: its text at a width, its redraws
// by a clock the test moves, and the Ctrl+C handler of a running command.
#include <gtest/gtest.h>
#include <signal.h>

#include <sstream>

#include "interrupt_cancel.h"
#include "terminal_progress.h"

namespace orvalle::cli {
namespace {

using namespace std::chrono_literals;

std::string bar(int filled, int cells) {
  std::string text = "[";
  for (int i = 0; i < cells; ++i) text += i < filled ? "#" : "-";
  return text + "]";
}

TEST(TerminalProgressTest, WideCharactersCountTwoColumns) {
  EXPECT_EQ(displayWidth("2024年01月06日"), 14);
  EXPECT_EQ(displayWidth("中山 11R/①ｱｲｳ"), 13);  // half-width katakana and ① count one
  EXPECT_EQ(displayWidth("ＡＢ　アイ"), 10);
  EXPECT_EQ(displayWidth("\xff"
                         "a"),
            2);  // a byte that is not UTF-8 counts one
  EXPECT_EQ(fitToWidth("2024年01月", 5), "2024");
  EXPECT_EQ(fitToWidth("ｱｲｳ", 2), "ｱｲ");
}

TEST(TerminalProgressTest, LineFitsTheWidth) {
  const std::string day = "2024年01月06日";
  const std::string runner = day + " 中山 11R/①ｱｲｳｴｵｶｷｸｹｺ";
  const struct {
    int position, maximum;
    std::string label;
    std::optional<std::chrono::seconds> remaining;
    int columns;
    std::string line;
  } cases[] = {
      {38, 104, day, 42s, 80, bar(7, 20) + "   38/104   36%  " + day + "  残り 0:42"},
      {104, 104, day, 0s, 80, bar(20, 20) + "  104/104  100%  " + day + "  残り 0:00"},
      {1, 500, "", 3723s, 80, bar(0, 20) + "    1/500    0%  残り 1:02:03"},
      {3, 10, day, std::nullopt, 80, bar(6, 20) + "   3/10   30%  " + day},
      // Narrower: the bar first, then the label is cut, then left out.
      {38, 104, day, 42s, 60, bar(5, 15) + "   38/104   36%  " + day + "  残り 0:42"},
      {38, 104, runner, 42s, 50, bar(3, 10) + "   38/104   36%  2024年0..  残り 0:42"},
      {38, 104, day, 42s, 40, bar(3, 10) + "   38/104   36%  残り 0:42"},
      // Then the estimate, then the bar and the percent.
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

// The lines drawn on a stream, erasures left out.
std::vector<std::string> drawnLines(const std::string& stream) {
  std::vector<std::string> lines;
  for (size_t at = stream.find('\r'); at != std::string::npos; at = stream.find('\r', at + 1)) {
    const size_t end = stream.find("\x1b[K", at);
    if (end > at + 1 && end != std::string::npos)
      lines.push_back(stream.substr(at + 1, end - at - 1));
  }
  return lines;
}

TEST(TerminalProgressTest, RedrawsTenTimesASecondAndEstimatesAfterASecond) {
  std::chrono::steady_clock::time_point now{};
  std::ostringstream err;
  {
    TerminalProgress progress(err, true, {}, [&now] { return now; });
    const struct {
      std::chrono::milliseconds after;
      int position, maximum;
    } reports[] = {
        {500ms, 1, 10},   // the first report: drawn, no estimate before a second
        {50ms, 2, 10},    // too soon
        {1450ms, 4, 10},  // 2 s for 4: 3 s for the 6 left
        {1000ms, 0, 3},   // a new phase: the estimate starts again
        {2000ms, 2, 3},   // 2 s for 2: 1 s for the last
        {10ms, 3, 3},     // the last one, however soon
    };
    for (const auto& report : reports) {
      now += report.after;
      progress.update(report.position, report.maximum, "");
    }
  }
  const std::vector<std::string> lines = drawnLines(err.str());
  ASSERT_EQ(lines.size(), 5u) << err.str();
  EXPECT_EQ(lines[0], bar(2, 20) + "   1/10   10%");
  EXPECT_TRUE(lines[1].ends_with("4/10   40%  残り 0:03")) << lines[1];
  EXPECT_TRUE(lines[2].ends_with("0/3    0%")) << lines[2];
  EXPECT_TRUE(lines[3].ends_with("2/3   66%  残り 0:01")) << lines[3];
  EXPECT_TRUE(lines[4].ends_with("3/3  100%  残り 0:00")) << lines[4];
  EXPECT_TRUE(err.str().ends_with("\x1b[K\r\x1b[K"));  // erased at the end
}

TEST(TerminalProgressTest, OtherOutputFindsTheLineErased) {
  for (const bool enabled : {true, false}) {
    std::ostringstream err;
    {
      TerminalProgress progress(err, enabled);
      progress.update(1, 2, "");
      progress.print(err, "warning\n");
    }
    // Disabled: nothing but the command's own text.
    EXPECT_EQ(err.str(),
              enabled ? "\r" + bar(10, 20) + "  1/2   50%\x1b[K\r\x1b[Kwarning\n" : "warning\n");
  }
}

int g_handled = 0;

TEST(InterruptCancelTest, FirstInterruptCancelsAndTheOldHandlerComesBack) {
  struct sigaction counting {
  }, original{}, now{};
  counting.sa_handler = [](int) { ++g_handled; };
  ASSERT_EQ(::sigaction(SIGINT, &counting, &original), 0);
  CancelFlag flag;
  {
    InterruptCancel interrupt(flag);
    ::raise(SIGINT);
    EXPECT_TRUE(flag.cancelled());
    ::sigaction(SIGINT, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);  // a second Ctrl+C ends the process
  }
  EXPECT_EQ(g_handled, 0);
  ::raise(SIGINT);
  EXPECT_EQ(g_handled, 1);

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
