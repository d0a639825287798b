#include "shell/Program.h"

#include <cerrno>
#include <cstring>

#include "shell/ShellState.h"
#include "storage/Journal.h"
#include "users/Format.h"

namespace fs5 {

namespace {

constexpr int EXIT_FATAL = 1;

// Formats an empty image, or checks the layout of an existing one and gives it a superuser
// who can log in. False when the program must end with status 1.
bool prepareImage(Console& con, DiskStream& ds) {
  int64_t size = ds.size();
  if (size < 0) return false;
  if (size == 0) {
    con.line("The disk is empty. A new disk will be formatted.");
    if (formatDisk(ds, STANDARD_INODES, STANDARD_BLOCKS, STANDARD_USERS) < 0) return false;
    con.waitForEnter();
    con.clearScreen();
    return true;
  }
  if (!ds.loadLayout() || !ds.layout().isValid() || size < ds.layout().imageSize()) {
    if (!ds.failed()) con.error("The disk image is damaged: its layout is not valid.");
    return false;
  }
  int16_t mended = mendSuperuser(ds);
  if (mended > 0) {
    con.waitForEnter();
    con.clearScreen();
  }
  return mended >= 0;
}

void runCommands(ShellState& state, DiskStream& ds) {
  while (!state.isReenterRequested()) {
    state.printPrompt();
    if (!state.readCommandLine()) {
      // At a terminal the end of input ends the program as exit does, with its clearing, so
      // the next shell prompt starts on a line of its own.
      if (state.console().hasTerminal()) state.console().clearScreen();
      state.requestExit(0);
      break;
    }
    state.dispatchCommand(ds, state.getCurrentUser());
    state.console().clearScreen();
    state.resetCommand();
    if (ds.failed()) state.requestExit(EXIT_FATAL);
  }
}

int runShell(Console& con, DiskStream& ds) {
  if (!prepareImage(con, ds)) return EXIT_FATAL;
  ShellState state(con);
  while (!state.isExitRequested()) {
    state.login(ds);
    if (ds.failed()) return EXIT_FATAL;
    runCommands(state, ds);
    state.clearReenter();
  }
  return ds.failed() ? EXIT_FATAL : state.exitStatus();
}

}  // namespace

int runProgram(Console& con, DiskStream& ds) {
  con.holdOutput();
  int status = runShell(con, ds);
  con.flush();
  return status;
}

int runProgram(Console& con, const std::string& imagePath) {
  con.clearScreen();
  errno = 0;
  FileDiskStream ds(con, imagePath);
  if (!ds.isOpen() || !ds.prepareJournal()) {
    int reason = errno;
    con.error("File can not be open.");
    con.error((ds.isOpen() ? journalPathFor(imagePath) : imagePath) + ": " + std::strerror(reason));
    return EXIT_FATAL;
  }
  con.setBeforeInput([&ds] { ds.releaseLock(); });
  int status = runProgram(con, ds);
  ds.releaseLock();
  if (ds.failed()) status = EXIT_FATAL;
  con.setBeforeInput({});
  con.flush();
  return status;
}

}  // namespace fs5
