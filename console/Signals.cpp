#include "console/Signals.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>

namespace fs5 {

namespace {

constexpr int kHeldSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGTSTP};
constexpr int kSignalsEndingOutside[] = {SIGINT, SIGTERM, SIGHUP};

// A signal handler reaches only static storage.
volatile std::sig_atomic_t interrupted = 0;
bool interruptsAtTerminal = false;
bool haveStartSettings = false;
termios startSettings;
bool holding = false;
sigset_t maskBeforeHolding;

void onSignal(int signal) {
  if (signal == SIGINT && interruptsAtTerminal) {
    interrupted = 1;
    return;
  }
  if (haveStartSettings) tcsetattr(STDIN_FILENO, TCSANOW, &startSettings);
  std::signal(signal, SIG_DFL);
  std::raise(signal);  // taken as the handler returns
}

sigset_t heldSet() {
  sigset_t set;
  sigemptyset(&set);
  for (int signal : kHeldSignals) sigaddset(&set, signal);
  return set;
}

}  // namespace

void catchSignals(bool atTerminal) {
  interruptsAtTerminal = atTerminal;
  haveStartSettings = atTerminal && tcgetattr(STDIN_FILENO, &startSettings) == 0;
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: a read in progress is cut short
  for (int signal : kSignalsEndingOutside) {
    struct sigaction before {};
    sigaction(signal, nullptr, &before);
    if (before.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
  }
}

void holdSignals() {
  if (holding) return;
  sigset_t set = heldSet();
  sigprocmask(SIG_BLOCK, &set, &maskBeforeHolding);
  holding = true;
}

void releaseSignals() {
  if (!holding) return;
  holding = false;
  sigprocmask(SIG_SETMASK, &maskBeforeHolding, nullptr);
}

bool waitForInput() {
  sigset_t interrupt, before;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  sigprocmask(SIG_BLOCK, &interrupt, &before);
  if (interrupted == 0) {
    sigset_t during = before;
    sigdelset(&during, SIGINT);
    pollfd input{STDIN_FILENO, POLLIN, 0};
    ppoll(&input, 1, nullptr, &during);
  }
  sigprocmask(SIG_SETMASK, &before, nullptr);
  return interrupted == 0;
}

bool takeInterrupt() {
  if (interrupted == 0) return false;
  interrupted = 0;
  return true;
}

}  // namespace fs5
