// The progress line of the long commands as the user sees it: only on a
// terminal and without --quiet, erased before any other output, and a
// Ctrl+C that stops the command cleanly. On a home and a source of four
// simulated race days.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli_test_support.h"
#include "sim/simulator.h"
#include "support/simulated_home.h"
#include "support/temp_dir.h"

namespace orvalle::cli {
namespace {

namespace fs = std::filesystem;

// The lines drawn on a stream: the texts between "\r" and "\x1b[K".
std::vector<std::string> drawnLines(const std::string& stream) {
  std::vector<std::string> lines;
  for (size_t at = stream.find('\r'); at != std::string::npos; at = stream.find('\r', at + 1)) {
    const size_t end = stream.find("\x1b[K", at);
    if (end != std::string::npos && end > at + 1) lines.push_back(stream.substr(at + 1, end - at - 1));
  }
  return lines;
}

// What a terminal shows of a stream once the progress line is gone: the
// text without the lines and their erasures. Fails the test when text was
// written while a line stood, or a line is left standing. (The commands
// run here print no "\r" of their own.)
std::string textBesideProgress(const std::string& stream) {
  std::string text;
  bool lineShown = false;
  for (size_t at = 0; at < stream.size();) {
    if (stream[at] == '\r') {
      const size_t end = stream.find("\x1b[K", at);
      if (end == std::string::npos) {
        ADD_FAILURE() << "a line not ended: " << stream.substr(at);
        break;
      }
      lineShown = end > at + 1;
      at = end + 3;
      continue;
    }
    if (lineShown) {
      ADD_FAILURE() << "text over the progress line: " << stream.substr(at, 60);
      lineShown = false;
    }
    text += stream[at++];
  }
  if (lineShown) ADD_FAILURE() << "the progress line is left standing";
  return text;
}

CliTerminal terminal() {
  CliTerminal terminal;
  terminal.progress = true;
  terminal.columns = [] { return 100; };
  return terminal;
}

// A run with standard output and error on one terminal: one stream.
std::string runOnOneTerminal(const std::vector<std::string>& args, int& status) {
  std::ostringstream both;
  status = runCli(args, both, both, terminal());
  return both.str();
}

// Standard error that raises SIGINT, as a Ctrl+C would, when the first
// progress line is drawn on it.
class InterruptingBuffer final : public std::stringbuf {
 protected:
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    const std::streamsize written = std::stringbuf::xsputn(text, count);
    interruptAtTheFirstLine();
    return written;
  }
  int_type overflow(int_type c) override {
    const int_type written = std::stringbuf::overflow(c);
    interruptAtTheFirstLine();
    return written;
  }

 private:
  void interruptAtTheFirstLine() {
    if (!m_raised && str().find("\r[") != std::string::npos) {
      m_raised = true;
      ::raise(SIGINT);
    }
  }
  bool m_raised = false;
};

CliRun runInterrupted(const std::vector<std::string>& args) {
  std::ostringstream out;
  InterruptingBuffer buffer;
  std::ostream err(&buffer);
  const int status = runCli(args, out, err, terminal());
  return {status, out.str(), buffer.str()};
}

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
  static std::vector<std::string> acquireArgs(const fs::path& home) {
    return {"--home", home.string(), "acquire",
            "--source", source().string(), "--from", "2020/01/01 00:00:00"};
  }
  static CliRun run(const std::vector<std::string>& args, bool onTerminal) {
    std::ostringstream out, err;
    const int status = runCli(args, out, err, onTerminal ? terminal() : CliTerminal{});
    return {status, out.str(), err.str()};
  }

  static std::unique_ptr<test::TempDir> s_dir;
};
std::unique_ptr<test::TempDir> ProgressCommandTest::s_dir;

TEST_F(ProgressCommandTest, TheLineIsShownOnATerminalWithoutQuietOnly) {
  const std::string homeOption = "--home=" + home().string();
  int n = 0;
  // Each run writes a file or folder of its own.
  auto simulate = [&n](std::vector<std::string> more) {
    std::vector<std::string> args = {"simulate", "--days", "4", "--seed", "7", "--out",
                                     (*s_dir / ("simulated" + std::to_string(++n))).string()};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  auto exportTo = [&n, &homeOption](std::vector<std::string> more) {
    std::vector<std::string> args = {homeOption, "export", "--sqlite",
                                     (*s_dir / ("days" + std::to_string(++n) + ".db")).string()};
    args.insert(args.end(), more.begin(), more.end());
    return args;
  };
  for (const auto& command : {std::function(simulate), std::function(exportTo)}) {
    const CliRun plain = run(command({}), false);
    ASSERT_EQ(plain.status, kExitSuccess) << plain.err;
    EXPECT_EQ(plain.err, "");
    const CliRun quiet = run(command({"--quiet"}), true);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(run(command({"-q"}), true).err, "");

    const CliRun shown = run(command({}), true);
    ASSERT_EQ(shown.status, kExitSuccess) << shown.err;
    const std::vector<std::string> lines = drawnLines(shown.err);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("4/4  100%"), std::string::npos) << lines.back();
    EXPECT_EQ(textBesideProgress(shown.err), "");
    // The same output, but for the folder written.
    const size_t folderLine = plain.out.find("出力先: ");
    EXPECT_EQ(shown.out.substr(0, folderLine), plain.out.substr(0, folderLine));
  }
}

// With --verbose, which prints the most while the line is shown.
TEST_F(ProgressCommandTest, AcquisitionOutputNeverLandsOnTheLine) {
  std::vector<std::string> args = acquireArgs(*s_dir / "acquired");
  args.push_back("--verbose");
  const CliRun plain = run(args, false);
  ASSERT_EQ(plain.status, kExitSuccess) << plain.err;

  args[1] = (*s_dir / "acquired-on-terminal").string();
  int status = 0;
  const std::string screen = runOnOneTerminal(args, status);
  EXPECT_EQ(status, kExitSuccess);
  EXPECT_EQ(textBesideProgress(screen), plain.out + plain.err);
  const std::vector<std::string> lines = drawnLines(screen);
  ASSERT_FALSE(lines.empty());
  EXPECT_NE(lines.front().find("読込み"), std::string::npos) << lines.front();
  EXPECT_NE(lines.back().find("過去データ構築"), std::string::npos) << lines.back();
}

TEST_F(ProgressCommandTest, ControlCStopsTheCommandAndErasesTheLine) {
  // The export stops after its first day.
  const fs::path database = *s_dir / "interrupted.db";
  const CliRun exported =
      runInterrupted({"--home", home().string(), "export", "--sqlite", database.string()});
  EXPECT_EQ(exported.status, kExitFailure);
  EXPECT_EQ(exported.out, "");
  EXPECT_EQ(textBesideProgress(exported.err), "中断しました。\n");

  // The backtest prints the figures so far, marked.
  const CliRun backtest = runInterrupted({"--home", home().string(), "backtest"});
  EXPECT_EQ(backtest.status, kExitFailure);
  EXPECT_NE(backtest.out.find("  中断\n"), std::string::npos) << backtest.out;
  EXPECT_EQ(textBesideProgress(backtest.err), "中断しました。\n");

  // The acquisition is cancelled as the dialog cancels it: no last time.
  const fs::path acquired = *s_dir / "acquired-interrupted";
  const CliRun acquire = runInterrupted(acquireArgs(acquired));
  EXPECT_EQ(acquire.status, kExitFailure);
  EXPECT_EQ(textBesideProgress(acquire.err), "JVCancel:キャンセルされました\n");
  EXPECT_EQ(run({"--home", acquired.string(), "get", "JvDataGet", "LastTime"}, false).out, "\n");
}

}  // namespace
}  // namespace orvalle::cli
