#include "bridge_program.h"

#include <filesystem>
#include <optional>

#include "acquire/transfer_recorder.h"
#include "store/atomic_file.h"
#include "store/error.h"

#ifndef ORVALLE_VERSION
#define ORVALLE_VERSION "0"
#endif

namespace orvalle::bridge {
namespace {

constexpr std::string_view kUsage =
    "使い方: orvalle-jvbridge --out フォルダ [--from yyyymmddhhnnss] [--setup]\n"
    "                         [--results yyyymmdd] [--sid ソフトウェアID] [--text]\n"
    "       orvalle-jvbridge --settings [--sid ソフトウェアID]\n"
    "\n"
    "JV-Linkのデータを、Orvalleが読み込める取込元フォルダに保存します。\n"
    "  --out       取込元フォルダ（RACEDIFF、SETUP、0B12 が作られます）\n"
    "  --from      この時刻より後のデータを取得（既定: 前回の続き）\n"
    "  --setup     セットアップデータを取得（SETUP フォルダへ）\n"
    "  --results   その日の速報成績を取得（0B12/yyyymmdd.txt へ）\n"
    "  --sid       JVInitに渡すソフトウェアID\n"
    "  --text      JVGetsを使わずJVReadで読む\n"
    "  --settings  JV-Linkの設定画面を開く\n"
    "終了コード: 0 完了、1 引数またはフォルダの誤り、2 JV-Linkのエラー、3 中止\n";

bool allDigits(std::string_view text, size_t length) {
  if (text.size() != length) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

struct Arguments {
  std::optional<std::filesystem::path> out;
  acquire::RecordingRequest request;
  bool settings = false;
  bool textRead = false;
  bool help = false;
  bool version = false;
};

// Parses the arguments; returns the message of the first error.
std::optional<std::string> parse(const std::vector<std::string>& args, Arguments& parsed) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& into) -> bool {
      if (i + 1 >= args.size()) return false;
      into = args[++i];
      return true;
    };
    std::string text;
    if (arg == "--help" || arg == "-h") {
      parsed.help = true;
    } else if (arg == "--version") {
      parsed.version = true;
    } else if (arg == "--setup") {
      parsed.request.setup = true;
    } else if (arg == "--settings") {
      parsed.settings = true;
    } else if (arg == "--text") {
      parsed.textRead = true;
    } else if (arg == "--out") {
      if (!value(text) || text.empty()) return "--out にフォルダを指定してください。";
      parsed.out = std::filesystem::path(std::u8string(text.begin(), text.end()));
    } else if (arg == "--from") {
      if (!value(text) || !allDigits(text, 14)) {
        return "--from は14桁の時刻（yyyymmddhhnnss）で指定してください。";
      }
      parsed.request.fromTime = text;
    } else if (arg == "--results") {
      if (!value(text) || !allDigits(text, 8)) {
        return "--results は8桁の日付（yyyymmdd）で指定してください。";
      }
      parsed.request.resultsDate = text;
    } else if (arg == "--sid") {
      if (!value(text) || text.empty()) return "--sid にソフトウェアIDを指定してください。";
      parsed.request.softwareId = text;
    } else {
      return "不明な引数です: " + arg;
    }
  }
  if (parsed.help || parsed.version || parsed.settings) return std::nullopt;
  if (!parsed.out) return "--out で取込元フォルダを指定してください。";
  if (parsed.request.resultsDate && (parsed.request.setup || parsed.request.fromTime)) {
    return "--results は --setup、--from と一緒に指定できません。";
  }
  return std::nullopt;
}

// A progress line on the error stream, rewritten in place.
class ProgressLine : public acquire::RecordingObserver {
 public:
  explicit ProgressLine(std::ostream& err) : m_err(err) {}
  ~ProgressLine() override { end(); }

  void downloading(int done, int total) override {
    show("ダウンロード中 " + std::to_string(done) + "/" + std::to_string(total));
  }
  void fileStarted(int number, int count, std::string_view name) override {
    m_file = "読み込み中 " +
             (count > 0 ? std::to_string(number) + "/" + std::to_string(count) + " " : "") +
             std::string(name);
    show(m_file);
  }
  void recordWritten(long long records) override {
    if (records % 1000 == 0) show(m_file + " " + std::to_string(records) + "レコード");
  }
  void fileWritten(const std::filesystem::path& path, long long records) override {
    end();
    const std::u8string name = path.filename().u8string();
    m_err << "保存: " << std::string(name.begin(), name.end()) << " (" << records << "レコード)\n";
  }
  void end() {
    if (m_shown) m_err << "\n";
    m_shown = false;
  }

 private:
  void show(const std::string& text) {
    if (m_shown && text == m_last) return;
    m_err << "\r" << text << "   " << std::flush;
    m_last = text;
    m_shown = true;
  }

  std::ostream& m_err;
  std::string m_file;
  std::string m_last;
  bool m_shown = false;
};

}  // namespace

int runBridge(const std::vector<std::string>& args, const BridgePlatform& platform,
              std::ostream& out, std::ostream& err) {
  Arguments parsed;
  if (const auto problem = parse(args, parsed)) {
    err << *problem << "\n\n" << kUsage;
    return 1;
  }
  if (parsed.help) {
    out << kUsage;
    return 0;
  }
  if (parsed.version) {
    out << "orvalle-jvbridge " << ORVALLE_VERSION << "\n";
    return 0;
  }

  std::string failure;
  Component component = platform.makeComponent(parsed.textRead, failure);
  if (!component.link) {
    err << failure << "\n";
    return 2;
  }

  if (parsed.settings) {
    acquire::JvLink& link = *component.link;
    int code = link.jvInit(parsed.request.softwareId);
    if (code != acquire::jv::kOk) {
      err << store::codes::jvLinkErrorMessage(store::codes::JvLinkOperation::kJVInit, code) << "\n";
      return 2;
    }
    code = link.jvSetUIProperties();
    if (code != acquire::jv::kOk) {
      err << store::codes::jvLinkErrorMessage(store::codes::JvLinkOperation::kJVSetUIProperties,
                                              code)
          << "\n";
      return 2;
    }
    return 0;
  }

  parsed.request.readOperation = component.readOperation;
  acquire::RecordingOutcome outcome;
  try {
    store::createFoldersDurably(*parsed.out);
    std::shared_ptr<void> lock;
    if (platform.lockFolder) {
      lock = platform.lockFolder(*parsed.out, failure);
      if (!lock) {
        err << failure << "\n";
        return 1;
      }
    }
    acquire::ReplaySourceWriter writer(*parsed.out);
    ProgressLine progress(err);
    acquire::RecordingHooks hooks{platform.cancel, platform.pause};
    outcome = acquire::recordTransfer(*component.link, writer, parsed.request, progress, hooks);
  } catch (const Error& error) {
    err << error.what() << "\n";
    return 1;
  }
  const int status = acquire::exitStatusOf(outcome.result);
  (status == 0 ? out : err) << outcome.message << "\n";
  return status;
}

}  // namespace orvalle::bridge
