#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "acquire/jv_link.h"
#include "store/jvlink_messages.h"

// orvalle-jvbridge: drives JV-Link and records its transfers into a replay
// source folder, which Orvalle reads where JV-Link does not run. This is
// the program without its platform: Windows gives it the COM component,
// the tests the replay JV-Link.
namespace orvalle::bridge {

// The component a run drives, made when the run needs it.
struct Component {
  std::unique_ptr<acquire::JvLink> link;
  // The read it is driven with (JVGets where the component offers it).
  store::codes::JvLinkOperation readOperation = store::codes::JvLinkOperation::kJVRead;
};

struct BridgePlatform {
  // Makes the component; `textRead` asks for JVRead even where the
  // byte-array read is offered. Returns no link, with `failure` set, when it
  // cannot be made.
  std::function<Component(bool textRead, std::string& failure)> makeComponent;
  // Waits a little between JVStatus and JVRead calls.
  std::function<void()> pause;
  // Set when the user asks to stop (Ctrl+C).
  const std::atomic<bool>* cancel = nullptr;
  // Holds the output folder (made already) for this run alone until the
  // returned object goes; nullptr with `failure` set when another run holds
  // it. Unset: no lock.
  std::function<std::shared_ptr<void>(const std::filesystem::path& folder, std::string& failure)>
      lockFolder;
};

// Runs the program on its arguments (UTF-8, without the program name);
// messages and the progress line go to `err`, the summary to `out`.
// Returns the exit status: 0 done or nothing new, 1 bad arguments or a
// folder that cannot be written, 2 a JV-Link failure, 3 cancelled.
int runBridge(const std::vector<std::string>& args, const BridgePlatform& platform,
              std::ostream& out, std::ostream& err);

}  // namespace orvalle::bridge
