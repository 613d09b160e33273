#include <memory>
#include <string>
#include <vector>

#include "app/acquire_command.h"
#include "commands.h"

namespace orvalle::cli {
namespace {

// Prints what the acquisition shows: information on standard output,
// warnings on standard error; errors are kept for the command's failure.
// Without --verbose the progress steps (download and read counters, the day
// being built) and the list of stored records are left out.
class PrintingObserver final : public acquire::AcquisitionObserver {
 public:
  PrintingObserver(CliContext& context, bool verbose) : m_context(context), m_verbose(verbose) {}

  void message(acquire::MessageKind kind, const std::string& text) override {
    switch (kind) {
      case acquire::MessageKind::kInformation:
        m_context.out << text << "\n";
        break;
      case acquire::MessageKind::kWarning:
        m_context.err << text << "\n";
        break;
      case acquire::MessageKind::kError:
        m_errors.push_back(text);
        break;
    }
  }
  void statusText(const std::string& text) override {
    const bool step = text.starts_with("ダウンロード中") || text.starts_with("データ読込み中");
    // The cancel text also comes as an information message.
    if ((m_verbose || !step) && text != acquire::kCancelledMessage) m_context.out << text << "\n";
  }
  void listLine(const std::string& line) override {
    if (m_verbose) m_context.out << line << "\n";
  }
  void buildText(const std::string& text) override {
    if (m_verbose || text == acquire::kConstructionDoneText) m_context.out << text << "\n";
  }

  const std::vector<std::string>& errors() const { return m_errors; }

 private:
  CliContext& m_context;
  bool m_verbose;
  std::vector<std::string> m_errors;
};

}  // namespace

// `acquire --source DIR [--from "yyyy/mm/dd hh:nn:ss"] [--setup] [--verbose]`:
// the acquisition against a replay source; prints the status texts, with
// --verbose also the progress and every stored record.
void registerAcquireCommand(CLI::App& app, CliContext& context, std::function<void()>& action) {
  struct Arguments {
    app::AcquireCommandOptions options;
    bool verbose = false;
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
  command->callback([&context, &action, arguments] {
    if (Status status = app::checkFromText(arguments->options.fromText); !status) {
      throw CLI::ValidationError("--from", status.message());
    }
    action = [&context, arguments] {
      PrintingObserver observer(context, arguments->verbose);
      (void)app::runAcquireCommand(homeOf(context), arguments->options, observer);
      if (!observer.errors().empty()) {
        std::string message;
        for (const std::string& error : observer.errors()) {
          if (!message.empty()) message += "\n";
          message += error;
        }
        throw CommandFailed{message};
      }
    };
  });
}

}  // namespace orvalle::cli
