#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/acquire_command.h"
#include "commands.h"
#include "interrupt_cancel.h"
#include "terminal_progress.h"

namespace orvalle::cli {
namespace {

// Prints what the acquisition shows: information on standard output,
// warnings on standard error; errors are kept for the command's failure.
// Without --verbose the progress steps (download and read counters, the day
// being built) and the list of stored records are left out. The counters
// also drive the progress line, named by the phase: the download, the read
// and the past-run construction. A Ctrl+C (`interrupt`) is handed to the
// acquisition at its next report.
class PrintingObserver final : public acquire::AcquisitionObserver {
 public:
  PrintingObserver(CliContext& context, bool verbose, TerminalProgress& bar,
                   const CancelFlag& interrupt, app::AcquireCommand& command)
      : m_context(context),
        m_verbose(verbose),
        m_bar(bar),
        m_interrupt(interrupt),
        m_command(command) {}

  void message(acquire::MessageKind kind, const std::string& text) override {
    forwardInterrupt();
    switch (kind) {
      case acquire::MessageKind::kInformation:
        // The cancel ends the command with its text as the failure.
        if (text == acquire::kCancelledMessage) {
          m_cancelled = true;
          break;
        }
        m_bar.print(m_context.out, text + "\n");
        break;
      case acquire::MessageKind::kWarning:
        m_bar.print(m_context.err, text + "\n");
        break;
      case acquire::MessageKind::kError:
        m_errors.push_back(text);
        break;
    }
  }
  void statusText(const std::string& text) override {
    forwardInterrupt();
    const bool download = text.starts_with("ダウンロード中");
    const bool read = text.starts_with("データ読込み中");
    if (download) m_phase = Phase::kDownload;
    if (read) m_phase = Phase::kRead;
    // "データ読込み完了": the counters are set back to zero next, which the
    // line does not show.
    if (text.starts_with("データ読込み完了")) m_phase = Phase::kNone;
    // The cancel text also comes as an information message.
    if ((m_verbose || !(download || read)) && text != acquire::kCancelledMessage) {
      m_bar.print(m_context.out, text + "\n");
    }
  }
  void progress(acquire::ProgressBar bar, int position, int maximum) override {
    forwardInterrupt();
    if (bar == acquire::ProgressBar::kPastRuns && !m_built) m_phase = Phase::kPastRuns;
    if (bar != barOf(m_phase)) return;
    m_position = position;
    m_maximum = maximum;
    m_bar.update(m_position, m_maximum, label());
  }
  void listLine(const std::string& line) override {
    forwardInterrupt();
    if (m_verbose) m_bar.print(m_context.out, line + "\n");
  }
  void buildText(const std::string& text) override {
    forwardInterrupt();
    if (text == acquire::kConstructionDoneText) {
      m_built = true;
      m_phase = Phase::kNone;
    } else {
      m_buildDay = text;
      if (m_phase == Phase::kPastRuns) m_bar.update(m_position, m_maximum, label());
    }
    if (m_verbose || text == acquire::kConstructionDoneText) {
      m_bar.print(m_context.out, text + "\n");
    }
  }

  const std::vector<std::string>& errors() const { return m_errors; }
  bool cancelled() const { return m_cancelled; }

 private:
  enum class Phase { kNone, kDownload, kRead, kPastRuns };

  static std::optional<acquire::ProgressBar> barOf(Phase phase) {
    switch (phase) {
      case Phase::kDownload:
        return acquire::ProgressBar::kDownload;
      case Phase::kRead:
        return acquire::ProgressBar::kRead;
      case Phase::kPastRuns:
        return acquire::ProgressBar::kPastRuns;
      case Phase::kNone:
        break;
    }
    return std::nullopt;
  }

  std::string label() const {
    switch (m_phase) {
      case Phase::kDownload:
        return "ダウンロード";
      case Phase::kRead:
        return "読込み";
      case Phase::kPastRuns:
        return m_buildDay.empty() ? "過去データ構築" : "過去データ構築 " + m_buildDay;
      case Phase::kNone:
        break;
    }
    return {};
  }

  // The acquisition is cancelled from its own thread, between its steps.
  void forwardInterrupt() {
    if (m_interrupt.cancelled() && !m_cancelSent) m_cancelSent = m_command.cancel();
  }

  CliContext& m_context;
  bool m_verbose;
  TerminalProgress& m_bar;
  const CancelFlag& m_interrupt;
  app::AcquireCommand& m_command;
  std::vector<std::string> m_errors;
  bool m_cancelled = false;
  bool m_cancelSent = false;
  Phase m_phase = Phase::kNone;
  bool m_built = false;  // the past-run construction has ended
  int m_position = 0;
  int m_maximum = 0;
  std::string m_buildDay;
};

}  // namespace

// `acquire --source DIR [--from "yyyy/mm/dd hh:nn:ss"] [--setup] [--verbose]
// [--quiet]`: the acquisition against a replay source; prints the status
// texts, with --verbose also the progress and every stored record. On a
// terminal a progress line shows the phase and its counters; Ctrl+C cancels
// the transfer as the dialog's cancel does, and the command fails.
void registerAcquireCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    app::AcquireCommandOptions options;
    bool verbose = false;
    bool quiet = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* command = app.add_subcommand(
      "acquire", "新しいデータを取得して開催日のデータに保存し、過去走データを作ります");
  command->add_option("--source", arguments->options.source, kSourceOptionHelp)->type_name("DIR");
  command
      ->add_option("--from", arguments->options.fromText,
                   "この日時より後のデータを取得します \"yyyy/mm/dd hh:nn:ss\"（既定: "
                   "前回の取得日時、初回は731日前）")
      ->type_name("DATETIME");
  command->add_flag("--setup", arguments->options.setup,
                    "セットアップデータ（過去の全データ）を取得します");
  command->add_flag("--verbose", arguments->verbose,
                    "進み具合と保存したレコードをすべて表示します");
  addQuietFlag(*command, arguments->quiet);
  command->callback([&context, &action, arguments] {
    if (Status status = app::checkFromText(arguments->options.fromText); !status) {
      throw CLI::ValidationError("--from", status.message());
    }
    action = [&context, arguments] {
      std::vector<std::string> errors;
      bool cancelled = false;
      {
        TerminalProgress bar(context, arguments->quiet);
        CancelFlag interrupt;
        InterruptCancel interruptCancel(interrupt);
        app::AcquireCommand acquisition(homeOf(context), arguments->options.source);
        PrintingObserver observer(context, arguments->verbose, bar, interrupt, acquisition);
        const acquire::AcquisitionResult result =
            acquisition.run(arguments->options.fromText, arguments->options.setup, observer);
        errors = observer.errors();
        cancelled =
            observer.cancelled() || result.outcome == acquire::AcquisitionOutcome::kCancelled;
      }
      if (cancelled) errors.emplace_back(acquire::kCancelledMessage);
      if (!errors.empty()) {
        std::string message;
        for (const std::string& error : errors) {
          if (!message.empty()) message += "\n";
          message += error;
        }
        throw CommandFailed{message};
      }
    };
  });
}

}  // namespace orvalle::cli
