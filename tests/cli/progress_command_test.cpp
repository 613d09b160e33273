// The progress line of the long commands as the user sees it: only on a
// terminal and without --quiet, erased before any other output, and a
// Ctrl+C that stops the command cleanly. On a home and a source of four
// simulated race days.
#include <gtest/gtest.h>
#include <signal.h>

#include <memory>
#include <sstream>

#include "cli_test_support.h"
#include "sim/simulator.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;

struct Screen {
  std::string text;                // what stays once the line is gone
  std::vector<std::string> lines;  // the lines drawn
};

// Splits a stream with progress lines ("\r" text "\x1b[K") into the lines
// and the other text. Fails the test when text was written while a line
// stood, or a line is left standing. (These commands print no "\r".)
Screen screenOf(const std::string& stream) {
  Screen screen;
  bool lineShown = false;
  for (size_t at = 0; at < stream.size();) {
    if (stream[at] == '\r') {
      const size_t end = stream.find("\x1b[K", at);
      EXPECT_NE(end, std::string::npos) << stream.substr(at);
      lineShown = end > at + 1;
      if (lineShown) screen.lines.push_back(stream.substr(at + 1, end - at - 1));
      at = end + 3;
      continue;
    }
    EXPECT_FALSE(lineShown) << "text over the progress line: " << stream.substr(at, 60);
    lineShown = false;
    screen.text += stream[at++];
  }
  EXPECT_FALSE(lineShown) << "the progress line is left standing";
  return screen;
}

// Standard error that raises SIGINT, as a Ctrl+C would, when the first
// progress line is drawn on it.
class InterruptingBuffer final : public std::stringbuf {
 protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    const std::streamsize written = std::stringbuf::xsputn(text, count);
    if (!m_raised && str().find("\r[") != std::string::npos) {
      m_raised = true;
      ::raise(SIGINT);
    }
    return written;
  }

 private:
  bool m_raised = false;
};

class ProgressCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<test::TempDir>();
    sim::simulate({source(), 4, 7});
    (void)test::buildHomeFromReplaySource(source(), home() / "DATA", home() / "SEI");
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  static fs::path source() { return *s_dir / "source"; }
  static fs::path home() { return *s_dir / "home"; }
  static std::vector<std::string> acquireArgs(const std::string& home) {
    return {"--home", (*s_dir / home).string(), "acquire",  "--source", source().string(),
            "--from", "2020/01/01 00:00:00",    "--verbose"};
  }
  // A run with standard error on a terminal when `terminal`; `out` and `err`
  // may be one stream, as on a terminal.
  static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 bool terminal = true) {
    CliTerminal onTerminal{true, [] { return 100; }};
    return runCli(args, out, err, terminal ? onTerminal : CliTerminal{});
  }

  static std::unique_ptr<test::TempDir> s_dir;
};
std::unique_ptr<test::TempDir> ProgressCommandTest::s_dir;

TEST_F(ProgressCommandTest, TheLineIsShownOnATerminalWithoutQuietOnly) {
  int n = 0;  // each run writes a file or folder of its own
  for (const bool simulate : {true, false}) {
    for (const char* how : {"plain", "quiet", "terminal"}) {
      const std::string target = (*s_dir / ("written" + std::to_string(++n))).string();
      std::vector<std::string> args =
          simulate
              ? std::vector<std::string>{"simulate", "--days", "4", "--out", target}
              : std::vector<std::string>{"--home", home().string(), "export", "--sqlite", target};
      if (how == std::string("quiet")) args.push_back(n % 2 ? "-q" : "--quiet");
      std::ostringstream out, err;
      ASSERT_EQ(run(args, out, err, how != std::string("plain")), kExitSuccess) << err.str();
      EXPECT_NE(out.str().find(simulate ? "開催日数: 4\n" : "4日を出力しました"),
                std::string::npos);
      if (how != std::string("terminal")) {
        EXPECT_EQ(err.str(), "") << how;
        continue;
      }
      const Screen screen = screenOf(err.str());
      EXPECT_EQ(screen.text, "");
      ASSERT_FALSE(screen.lines.empty());
      EXPECT_NE(screen.lines.back().find("4/4  100%"), std::string::npos) << screen.lines.back();
    }
  }
}

// With --verbose, which prints the most while the line is shown.
TEST_F(ProgressCommandTest, AcquisitionOutputNeverLandsOnTheLine) {
  std::ostringstream out, err, screenStream;
  ASSERT_EQ(run(acquireArgs("plain"), out, err, false), kExitSuccess) << err.str();
  EXPECT_EQ(run(acquireArgs("on-terminal"), screenStream, screenStream), kExitSuccess);
  const Screen screen = screenOf(screenStream.str());
  EXPECT_EQ(screen.text, out.str() + err.str());
  ASSERT_FALSE(screen.lines.empty());
  EXPECT_NE(screen.lines.front().find("読込み"), std::string::npos) << screen.lines.front();
  EXPECT_NE(screen.lines.back().find("過去データ構築"), std::string::npos) << screen.lines.back();
}

TEST_F(ProgressCommandTest, ControlCStopsTheCommandAndErasesTheLine) {
  const struct {
    std::vector<std::string> args;
    std::string out;  // found in standard output
    std::string message;
  } cases[] = {
      // The export stops after its first day.
      {{"--home", home().string(), "export", "--sqlite", (*s_dir / "stopped.db").string()},
       "",
       "中断しました。\n"},
      // The backtest prints the figures so far, marked.
      {{"--home", home().string(), "backtest"}, "  中断\n", "中断しました。\n"},
      // The acquisition is cancelled as the dialog cancels it.
      {acquireArgs("interrupted"), "", "JVCancel:キャンセルされました\n"},
  };
  for (const auto& c : cases) {
    std::ostringstream out;
    InterruptingBuffer buffer;
    std::ostream err(&buffer);
    EXPECT_EQ(run(c.args, out, err), kExitFailure);
    EXPECT_NE(out.str().find(c.out), std::string::npos) << out.str();
    EXPECT_EQ(screenOf(buffer.str()).text, c.message);
  }
  // The cancelled acquisition saved no last time.
  std::ostringstream lastTime, err;
  run({"--home", (*s_dir / "interrupted").string(), "get", "JvDataGet", "LastTime"}, lastTime, err);
  EXPECT_EQ(lastTime.str(), "\n");
}

}  // namespace
}  // namespace orvalle::cli
