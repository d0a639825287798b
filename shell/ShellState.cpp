#include "shell/ShellState.h"

namespace fs5 {

namespace {

// The host name the prompt shows.
constexpr const char* HOST_LABEL = "fs5";

}  // namespace

void ShellState::resetCommand() {
  command_.clear();
  options_.clear();
  for (auto& a : args_) a.clear();
  argCount_ = 0;
}

void ShellState::requestExit(int status) {
  exitRequested_ = true;
  reenterRequested_ = true;
  if (status != 0) exitStatus_ = status;
}

void ShellState::clearPaths() {
  workFolder_.clear();
  for (auto& a : args_) a.clear();
}

std::string ShellState::promptText() const {
  bool super = homeFolder_.getText() == "/root";
  std::string label = super ? SUPERUSER_NAME : homeFolder_.component(homeFolder_.getDepth() - 1);
  std::string folder = workFolder_.getText();
  if (folder != "/") folder += "/";
  return "[" + label + " @" + HOST_LABEL + " " + folder + " ]" + (super ? "#" : "$") + " ";
}

void ShellState::printPrompt() { con_.prompt(promptText()); }

}  // namespace fs5
