// Signals and the stretches of work. A stretch (storage/DiskStream.h) must never be torn by a
// signal, so SIGINT, SIGTERM, SIGHUP and SIGTSTP are held off (blocked) from the moment the
// image's lock is taken until it is given back; one that arrived meanwhile takes effect then.
//
// Outside a stretch, with the handlers installed:
//   - SIGTERM and SIGHUP, and SIGINT when standard input is not a terminal, end the program at
//     once: the terminal's settings from the start are put back and the signal is raised
//     again with its default action, so the caller sees it (status 128 + n in a shell);
//   - SIGINT at a terminal (Ctrl-C) only cuts the read in progress short; the console tells
//     such a read from the end of input with takeInterrupt() and acts on it.
// Signals ignored when the program started stay ignored.
#ifndef FS5_CONSOLE_SIGNALS_H_
#define FS5_CONSOLE_SIGNALS_H_

namespace fs5 {

// Installs the handlers (once, at the start of the program). `atTerminal`: standard input is
// a terminal, where Ctrl-C is a key the console answers.
void catchSignals(bool atTerminal);
// Blocks the signals above until releaseSignals; both may be called again (no nesting).
void holdSignals();
void releaseSignals();
// Waits until standard input has something to read; false when a Ctrl-C came first (or had
// come and was not taken yet). No Ctrl-C is lost between the check and the wait.
bool waitForInput();
// True, once, when a Ctrl-C arrived at a terminal since it was last asked.
bool takeInterrupt();

}  // namespace fs5

#endif  // FS5_CONSOLE_SIGNALS_H_
