#pragma once

#include <string>
#include <utility>
#include <vector>

namespace orvalle::app {

// A message a command shows the user (an information box), UTF-8. The
// messages of a command that did its work are its information ("保存しま
// した。", "処理が終了しました。"): the CLI prints them on standard output.
struct Notice {
  std::string text;
  bool beep = false;  // the warning beep sounds before it

  bool operator==(const Notice&) const = default;
};

// How a command ended.
enum class Outcome {
  kDone,       // it did its work
  kFailed,     // it stopped with a message (its last notice)
  kCancelled,  // it stopped on the user's cancel; what it did so far stays
};

// The outcome of a command of the app layer and the messages to show in
// order. A failed command's last notice is its reason; a cancelled command
// shows nothing of its own (its notices are those of the steps before the
// cancel). Every command of app/ that the front ends run reports this way;
// failures that end a command unexpectedly (a file that cannot be read)
// are thrown as orvalle::Error instead.
struct [[nodiscard]] CommandResult {
  Outcome outcome = Outcome::kDone;
  std::vector<Notice> notices;

  bool ok() const { return outcome == Outcome::kDone; }
  bool failed() const { return outcome == Outcome::kFailed; }
  bool cancelled() const { return outcome == Outcome::kCancelled; }
  // True when the command did its work.
  explicit operator bool() const { return ok(); }

  // Done, with one information notice.
  static CommandResult information(std::string message, bool beep = false) {
    return CommandResult{Outcome::kDone, {Notice{std::move(message), beep}}};
  }
  // Failed with `message`.
  static CommandResult failure(std::string message, bool beep = true) {
    return CommandResult{Outcome::kFailed, {Notice{std::move(message), beep}}};
  }
  // Stopped by a cancel.
  static CommandResult cancel() { return CommandResult{Outcome::kCancelled, {}}; }

  // Appends the notices of a step of this command and takes its outcome
  // when it did not finish (failed or cancelled).
  void append(const CommandResult& step) {
    notices.insert(notices.end(), step.notices.begin(), step.notices.end());
    if (!step.ok()) outcome = step.outcome;
  }

  // The text of every notice, one per line.
  std::string text() const {
    std::string out;
    for (const Notice& notice : notices) {
      if (!out.empty()) out += "\n";
      out += notice.text;
    }
    return out;
  }
};

}  // namespace orvalle::app
