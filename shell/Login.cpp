#include "shell/Completion.h"
#include "shell/ShellState.h"

namespace fs5 {

namespace {
void refuseLogin(Console& con, const char* why) {
  con.line(why);
  con.line("Press \"Enter\" to continue.");
  con.readKey();
  con.clearScreen();
}
}  // namespace

void ShellState::login(DiskStream& ds) {
  users_.clear();
  for (;;) {
    std::string name, password;
    con_.print("Login: ");
    bool named = con_.readWord(name);
    if (!named && con_.interrupted()) continue;  // Ctrl-C: the login begins again
    if (!named || name == "exit") return requestExit(0);
    con_.line();
    con_.print("Password: ");
    if (!con_.readPassword(password)) {
      if (con_.interrupted()) continue;
      return requestExit(0);
    }
    con_.clearScreen();
    UserRecord record;
    if (findUserRecord(ds, name, record) != 0) {
      refuseLogin(con_, "Wrong login.");
    } else if (record.password != password) {
      refuseLogin(con_, "Wrong password.");
    } else {
      return setUpLogin(ds, name, record.number);
    }
    if (ds.failed()) return requestExit(1);
  }
}

void ShellState::setUpLogin(DiskStream& ds, const std::string& name, int16_t number) {
  if (name == SUPERUSER_NAME) {
    homeFolder_.parse(con_, "/root");
  } else {
    homeFolder_.parse(con_, "/home");
    homeFolder_.append(con_, name);
  }
  workFolder_.parse(con_, homeFolder_.getText());
  currentUser_ = number;
  users_ = readUsersTable(ds);
  // Each completion is a stretch of its own, which only reads: the lock is given back as soon
  // as the candidates are known, so a person idling after Tab holds no lock.
  con_.setCompleter([this, &ds](std::string_view before) {
    std::vector<std::string> names = completionCandidates(*this, ds, before);
    con_.runBeforeInput();
    return names;
  });
}

}  // namespace fs5
