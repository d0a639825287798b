#include "path/PathName.h"

#include <algorithm>

#include "storage/Layout.h"

namespace fs5 {

std::vector<std::string> splitPath(std::string_view text) {
  if (!text.empty() && text.front() == '/') text.remove_prefix(1);
  std::vector<std::string> parts(1);
  for (char c : text) {
    if (c == '/')
      parts.emplace_back();
    else
      parts.back().push_back(c);
  }
  return parts;
}

void PathName::clear() {
  parts_.clear();
  text_.clear();
}

void PathName::printTooDeep(Console& con) {
  con.error("The maximum pathname depth can not exceed " + std::to_string(MAX_DEPTH) + " levels.");
  con.error("The pathname was not deshifrated.");
}

void PathName::printTooLong(Console& con) {
  con.error("The maximum pathname length can not exceed " + std::to_string(MAX_PATH_TEXT) +
            " symbols.");
  con.error("The pathname was not deshifrated.");
}

int16_t PathName::parse(Console& con, std::string_view text) {
  clear();
  if (text.size() > MAX_PATH_TEXT) {
    printTooLong(con);
    return -1;
  }
  if (text == "/") {
    text_ = "/";
    return 0;
  }
  std::vector<std::string> parts = splitPath(text);
  if (parts.size() > MAX_DEPTH) {
    printTooDeep(con);
    return -1;
  }
  parts_ = std::move(parts);
  text_ = text;
  return 0;
}

std::string PathName::component(int i) const {
  if (i < 0 || i >= getDepth()) return {};
  return parts_[i];
}

std::string PathName::lastName() const {
  if (parts_.empty()) return "/";
  return parts_.back();
}

int16_t PathName::append(Console& con, std::string_view name) {
  if (getDepth() + 1 > MAX_DEPTH) {
    printTooDeep(con);
    return -1;
  }
  std::string text = text_ == "/" ? text_ : text_ + "/";
  text += name;
  if (text.size() > MAX_PATH_TEXT) {
    printTooLong(con);
    return -1;
  }
  parts_.emplace_back(name);
  text_ = std::move(text);
  return 0;
}

void PathName::rebuildText() {
  text_.clear();
  for (const auto& p : parts_) text_ += "/" + p;
  if (text_.empty()) text_ = "/";
}

namespace {
void refuseAboveRoot(Console& con) {
  con.error("You can not move upper than \"/\" folder.");
  con.waitForEnter();
}
}  // namespace

std::string PathName::goUp(Console& con) {
  if (text_ == "/") {
    refuseAboveRoot(con);
    return text_;
  }
  if (!parts_.empty()) parts_.pop_back();
  rebuildText();
  if (text_ == "/") parts_.clear();
  return text_;
}

std::string PathName::dropFirst(Console& con) {
  if (text_ == "/") {
    refuseAboveRoot(con);
    return text_;
  }
  if (!parts_.empty()) parts_.erase(parts_.begin());
  rebuildText();
  if (text_ == "/") parts_.clear();
  return text_;
}

void PathName::makeAbsolute() { text_.insert(text_.begin(), '/'); }

int16_t PathName::appendPath(Console& con, std::string_view path) {
  if (path == "/") return 0;
  auto slashes = std::count(path.begin(), path.end(), '/');
  if (getDepth() + slashes > MAX_DEPTH) {
    printTooDeep(con);
    return -1;
  }
  std::string text = text_ == "/" ? std::string(path) : text_ + std::string(path);
  if (text.size() > MAX_PATH_TEXT) {
    printTooLong(con);
    return -1;
  }
  std::vector<std::string> added = splitPath(path);
  parts_.insert(parts_.end(), added.begin(), added.end());
  text_ = std::move(text);
  return 0;
}

}  // namespace fs5
