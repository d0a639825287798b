// The parser fuzzer's judge: path texts through every PathName operation, and command lines
// through ShellState's splitting and argument resolution, each result held against what the
// headers promise. Shared by the libFuzzer target and the corpus replay test.
//
// The input is lines. The first names the working folder (used when it parses as an absolute
// path, otherwise /home/anna); every further line is taken both as a path text and as a
// command line.
#ifndef FS5_FUZZ_PARSERHARNESS_H_
#define FS5_FUZZ_PARSERHARNESS_H_

#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "console/Console.h"
#include "path/PathName.h"
#include "shell/ShellState.h"
#include "storage/Layout.h"

namespace fs5::fuzz {

namespace parser {

inline std::vector<std::string> partsOf(const PathName& p) {
  std::vector<std::string> parts;
  for (int i = 0; i < p.getDepth(); ++i) parts.push_back(p.component(i));
  return parts;
}

inline std::string show(const PathName& p) {
  std::string s = "\"" + p.getText() + "\" [";
  for (int i = 0; i < p.getDepth(); ++i) s += (i ? "|" : "") + p.component(i);
  return s + "]";
}

// The shape every path keeps: at most 8 components and 239 characters, components without
// "/", the root with no component, and the components the ones its text splits into.
inline std::string shapeFault(const PathName& p, std::string_view after) {
  std::string where = " after " + std::string(after) + ": " + show(p);
  if (p.getDepth() > MAX_DEPTH) return "deeper than 8" + where;
  if (p.getText().size() > MAX_PATH_TEXT) return "longer than 239" + where;
  for (int i = 0; i < p.getDepth(); ++i)
    if (p.component(i).find('/') != std::string::npos) return "a component holds \"/\"" + where;
  if (p.isRoot()) return p.getDepth() == 0 ? "" : "the root has components" + where;
  if (p.getText().empty() && p.getDepth() == 0) return "";
  if (splitPath(p.getText()) != partsOf(p)) return "text and components differ" + where;
  return "";
}

inline bool same(const PathName& a, const PathName& b) {
  return a.getText() == b.getText() && partsOf(a) == partsOf(b);
}

inline std::string checkParse(Console& con, const std::string& text, PathName& p) {
  int16_t r = p.parse(con, text);
  bool fits = text.size() <= MAX_PATH_TEXT && (text == "/" || splitPath(text).size() <= MAX_DEPTH);
  if (r < 0) {
    if (fits) return "parse refused a path that fits: \"" + text + "\"";
    return p.isEmpty() ? "" : "a refused parse left " + show(p);
  }
  if (!fits) return "parse took a path that does not fit: \"" + text + "\"";
  if (p.getText() != text) return "parse changed the text: " + show(p);
  return shapeFault(p, "parse");
}

inline std::string checkAppend(Console& con, PathName& p, const std::string& name) {
  PathName before = p;
  if (p.append(con, name) < 0) return same(p, before) ? "" : "a refused append changed the path";
  std::string expected = before.isRoot() ? "/" + name : before.getText() + "/" + name;
  if (p.getText() != expected || p.getDepth() != before.getDepth() + 1 ||
      p.component(p.getDepth() - 1) != name)
    return "append \"" + name + "\" to " + show(before) + " gave " + show(p);
  return shapeFault(p, "append");
}

inline std::string checkAppendPath(Console& con, PathName& p, const std::string& path) {
  PathName before = p;
  if (p.appendPath(con, path) < 0)
    return same(p, before) ? "" : "a refused appendPath changed the path";
  if (path == "/") return same(p, before) ? "" : "appendPath \"/\" changed the path";
  std::string expected = before.isRoot() ? path : before.getText() + path;
  std::size_t added = splitPath(path).size();
  if (p.getText() != expected || p.getDepth() != before.getDepth() + static_cast<int>(added))
    return "appendPath \"" + path + "\" to " + show(before) + " gave " + show(p);
  return shapeFault(p, "appendPath");
}

// goUp or dropFirst: the root stays the root; otherwise one component fewer.
inline std::string checkShorten(Console& con, PathName& p, bool first) {
  PathName before = p;
  std::string result = first ? p.dropFirst(con) : p.goUp(con);
  const char* op = first ? "dropFirst" : "goUp";
  if (result != p.getText()) return std::string(op) + " returned another text than it left";
  if (before.isRoot()) return same(p, before) ? "" : std::string(op) + " changed the root";
  std::vector<std::string> parts = partsOf(before);
  if (!parts.empty()) parts.erase(first ? parts.begin() : parts.end() - 1);
  if (partsOf(p) != parts && !(p.isRoot() && parts.size() == 1 && parts[0].empty()))
    return std::string(op) + " on " + show(before) + " gave " + show(p);
  return shapeFault(p, op);
}

inline std::string checkPathOps(Console& con, const std::string& text) {
  PathName p;
  std::string fault = checkParse(con, text, p);
  if (!fault.empty() || p.isEmpty()) return fault;
  std::string name = splitPath(text).back();
  if (!name.empty() && name.find('/') == std::string::npos) {
    PathName q = p;
    if (!(fault = checkAppend(con, q, name)).empty()) return fault;
  }
  for (std::string_view step : {"appendPath", "goUp", "appendPath", "dropFirst", "dropFirst"}) {
    if (step == "goUp") fault = checkShorten(con, p, false);
    if (step == "dropFirst") fault = checkShorten(con, p, true);
    if (step == "appendPath")
      fault = checkAppendPath(con, p, text.starts_with("/") ? text : "/" + text);
    if (!fault.empty()) return fault;
  }
  PathName relative;
  if (text.empty() || text.starts_with("/") || relative.parse(con, text) < 0) return "";
  relative.makeAbsolute();
  if (relative.getText() != "/" + text || splitPath(relative.getText()) != partsOf(relative))
    return "makeAbsolute on \"" + text + "\" gave " + show(relative);
  return "";
}

inline std::string firstWord(const std::string& line) { return line.substr(0, line.find(' ')); }

// Splits the line, then resolves and restores every argument it carries.
inline std::string checkCommandLine(Console& con, const std::string& folder,
                                    const std::string& line) {
  if (line.size() > static_cast<std::size_t>(MAX_LINE - 1)) return "";
  ShellState state(con);
  state.workFolder().parse(con, folder);
  state.splitCommandLine(line);
  if (state.command() != firstWord(line).substr(0, MAX_COMMAND))
    return "command word \"" + state.command() + "\" from \"" + line + "\"";
  if (state.options().size() > static_cast<std::size_t>(MAX_OPTIONS)) return "too many options";
  for (int n = 0; n < MAX_ARGS; ++n) {
    if (!state.hasArgument(n)) continue;
    std::string typed = state.argument(n).getText();
    if (typed.find(' ') != std::string::npos) return "argument \"" + typed + "\" holds a blank";
    if (!state.resolveArgument(n)) {
      state.restoreWorkFolder(n);
    } else {
      std::string fault = shapeFault(state.workFolder(), "resolveArgument \"" + typed + "\"");
      if (!fault.empty()) return fault;
      if (typed.starts_with("/") && state.workFolder().getText() != typed)
        return "absolute argument \"" + typed + "\" gave " + show(state.workFolder());
      if (state.savedFolder().getText() != folder) return "the working folder was not saved";
      state.restoreWorkFolder(n);
    }
    if (state.workFolder().getText() != folder || !state.savedFolder().isEmpty() ||
        !state.argument(n).isEmpty())
      return "resolving \"" + typed + "\" and restoring left " + show(state.workFolder());
  }
  return "";
}

}  // namespace parser

inline std::string checkParser(const uint8_t* data, std::size_t size) {
  std::istringstream in;
  std::ostringstream discarded;
  Console con(in, discarded, discarded);
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back().push_back(static_cast<char>(data[i]));
  }
  PathName folder;
  std::string working = "/home/anna";
  if (lines[0].starts_with("/") && folder.parse(con, lines[0]) == 0) working = lines[0];
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string fault = parser::checkPathOps(con, lines[i]);
    if (fault.empty() && i > 0) fault = parser::checkCommandLine(con, working, lines[i]);
    if (!fault.empty()) return fault;
  }
  return "";
}

}  // namespace fs5::fuzz

#endif  // FS5_FUZZ_PARSERHARNESS_H_
