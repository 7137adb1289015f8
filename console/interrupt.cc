#include "console/interrupt.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <utility>
#include <vector>

namespace kavinta {
namespace {

volatile std::sig_atomic_t g_signal = 0;

struct Cleanup {
  void (*fn)(void*);
  void* arg;
  bool operator==(const Cleanup&) const = default;
};

std::vector<Cleanup>& Cleanups() {
  static std::vector<Cleanup> cleanups;
  return cleanups;
}

std::vector<std::string>& TempFiles() {
  static std::vector<std::string> files;
  return files;
}

void OnSignal(int sig) {
  if (g_signal == 0) g_signal = sig;
}

}  // namespace

void InstallInterruptHandlers() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  struct sigaction sa = {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  // SA_RESTART keeps file I/O elsewhere free of EINTR; the console's waits
  // (poll) return EINTR regardless. Every phase changes the screen often
  // enough for the flag to be seen soon, so a second signal is not allowed
  // to kill the run outright: that would leave the terminal raw.
  sa.sa_flags = SA_RESTART;
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
  // A closed output pipe is a failed write, not a death without cleanup.
  signal(SIGPIPE, SIG_IGN);
}

bool InterruptPending() { return g_signal != 0; }

void ExitForInterrupt() {
  int sig = g_signal != 0 ? static_cast<int>(g_signal) : SIGINT;
  // Take the lists first: a cleanup may unregister itself while we run it.
  std::vector<Cleanup> cleanups = std::exchange(Cleanups(), {});
  for (auto it = cleanups.rbegin(); it != cleanups.rend(); ++it) it->fn(it->arg);
  for (const std::string& path : std::exchange(TempFiles(), {})) unlink(path.c_str());
  std::exit(128 + sig);
}

void RegisterCleanup(void (*fn)(void*), void* arg) { Cleanups().push_back({fn, arg}); }

void UnregisterCleanup(void (*fn)(void*), void* arg) {
  auto& list = Cleanups();
  list.erase(std::remove(list.begin(), list.end(), Cleanup{fn, arg}), list.end());
}

void RegisterTempFile(const std::string& path) { TempFiles().push_back(path); }

void UnregisterTempFile(const std::string& path) {
  auto& list = TempFiles();
  list.erase(std::remove(list.begin(), list.end(), path), list.end());
}

}  // namespace kavinta
