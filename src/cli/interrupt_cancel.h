#pragma once

#include <signal.h>

#include "store/progress.h"

namespace orvalle::cli {

// While it lives, the first Ctrl+C (SIGINT) asks the running command to stop
// by setting `flag` instead of ending the process; the handler gives way to
// the default as it runs, so a second Ctrl+C ends the process as usual. The
// handler before it comes back when the object goes. A process that ignores
// SIGINT (started in the background) keeps ignoring it. One object at a
// time; `flag` must outlive it.
class InterruptCancel {
 public:
  explicit InterruptCancel(CancelFlag& flag);
  ~InterruptCancel();

  InterruptCancel(const InterruptCancel&) = delete;
  InterruptCancel& operator=(const InterruptCancel&) = delete;

 private:
  struct sigaction m_previous {};
  bool m_installed = false;
};

}  // namespace orvalle::cli
