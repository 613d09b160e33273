#include "interrupt_cancel.h"

#include <atomic>

namespace orvalle::cli {
namespace {

// The flag of the running command. The handler only loads it and sets the
// flag: both are lock-free atomics, safe in a signal handler.
std::atomic<CancelFlag*> g_flag{nullptr};
static_assert(std::atomic<CancelFlag*>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

void cancelOnInterrupt(int /*signal*/) {
  if (CancelFlag* flag = g_flag.load()) flag->cancel();
}

}  // namespace

InterruptCancel::InterruptCancel(CancelFlag& flag) {
  struct sigaction previous {};
  if (::sigaction(SIGINT, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN) return;
  g_flag.store(&flag);
  struct sigaction action {};
  action.sa_handler = cancelOnInterrupt;
  sigemptyset(&action.sa_mask);
  // SA_RESETHAND: the second Ctrl+C finds the default action again.
  // SA_RESTART: a read or write the signal interrupts goes on rather than
  // failing as an I/O error.
  action.sa_flags = SA_RESETHAND | SA_RESTART;
  if (::sigaction(SIGINT, &action, &m_previous) != 0) {
    g_flag.store(nullptr);
    return;
  }
  m_installed = true;
}

InterruptCancel::~InterruptCancel() {
  if (!m_installed) return;
  ::sigaction(SIGINT, &m_previous, nullptr);
  g_flag.store(nullptr);
}

}  // namespace orvalle::cli
