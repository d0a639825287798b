#include "tests/support/Transcript.h"

#include <cstdio>
#include <regex>
#include <sstream>
#include <vector>

#include "shell/Program.h"
#include "storage/AllocMaps.h"
#include "storage/DataBlock.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {

namespace {

const std::string kClear(CLEAR_LINES, '\n');
const std::string kOpen = "«", kClose = "»";
const std::regex kPrompt(R"(^\[[^\n]*? @fs5 [^\n]*? \][#$] )");

std::string escaped(const std::string& bytes) {
  std::string s;
  for (unsigned char c : bytes) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    s += c == '\\' ? "\\\\" : c < 32 && c != '\n' ? hex : std::string(1, static_cast<char>(c));
  }
  return s;
}

std::string unescaped(const std::string& text) {
  std::string s;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && text.compare(i, 2, "\\x") == 0) {
      s += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      s += text[i] == '\\' ? text[++i] : text[i];
    }
  }
  return s;
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool isMeta(const std::string& line) { return line.starts_with("#") || line.starts_with("@ "); }

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> w;
  for (std::string s; in >> s;) w.push_back(s);
  return w;
}

// What the transcript types (commands and answers) and asks (queries, as "?"), in order.
struct Script {
  std::vector<std::pair<char, std::string>> items;
  std::vector<std::vector<std::string>> directives;
  bool has(const std::string& directive) const {
    for (const auto& d : directives)
      if (d[0] == directive) return true;
    return false;
  }
};

Script parse(const std::string& text) {
  Script script;
  for (const std::string& line : linesOf(text)) {
    std::smatch m;
    std::size_t open = line.rfind(kOpen);
    if (line.starts_with("@ ")) {
      script.directives.push_back(words(line.substr(2)));
    } else if (line.starts_with("? ")) {
      script.items.push_back({'?', line.substr(2)});
    } else if (std::regex_search(line, m, kPrompt) && m.suffix().length() > 0) {
      script.items.push_back({'$', unescaped(m.suffix())});
    } else if (open != std::string::npos && line.ends_with(kClose)) {
      std::size_t from = open + kOpen.size();
      script.items.push_back({'<', unescaped(line.substr(from, line.size() - from - 2))});
    }
  }
  return script;
}

// Standard output and standard error as one screen; a run of error output starts with "! ".
struct Screen {
  std::string text;
  bool errLine = false;
  void put(bool err, char c) {
    if (err && (text.empty() || text.back() == '\n' || !errLine)) text += "! ";
    errLine = err;
    text += c;
  }
  std::size_t lineStart() const { return text.rfind('\n') + 1; }
  bool atPrompt() const { return std::regex_search(text.substr(lineStart()), kPrompt); }
};

class Sink : public std::streambuf {
 public:
  Sink(Screen& screen, bool err) : screen_(screen), err_(err) {}

 protected:
  int_type overflow(int_type c) override {
    screen_.put(err_, static_cast<char>(c));
    return c;
  }

 private:
  Screen& screen_;
  bool err_;
};

std::string usedRanges(DiskStream& ds, int count, bool (*used)(DiskStream&, int)) {
  std::string s;
  for (int n = 0; n < count; ++n) {
    if (!used(ds, n)) continue;
    int from = n;
    while (n + 1 < count && used(ds, n + 1)) ++n;
    s += " " + std::to_string(from) + (n > from ? "-" + std::to_string(n) : "");
  }
  return s;
}

// The answer to "? inode N", "? block K", "? folder K", "? maps" or "? check".
std::string query(const std::string& image, const std::string& question) {
  std::vector<std::string> w = words(question);
  ImageFixture::Direct io(image);
  DiskStream& ds = io.ds;
  int n = w.size() > 1 ? std::stoi(w[1]) : 0;
  std::string s;
  if (w[0] == "inode") {
    Inode node;
    node.read(ds, n);
    char head[64];
    std::snprintf(head, sizeof head, "owner %d mode %03x type %d blocks", node.getOwner(),
                  node.getMode(), node.getType());
    s = head;
    for (int i = 0; i < node.getBlockCount(); ++i) s += " " + std::to_string(node.getBlock(i));
  } else if (w[0] == "block") {
    DataBlock block;
    block.read(ds, n);
    s.assign(block.bytes().begin(), block.bytes().end());
    s.erase(s.find_last_not_of('\0') + 1);
  } else if (w[0] == "folder") {
    FolderBlock block;
    block.read(ds, n);
    s = "count " + std::to_string(block.getCount()) + ":";
    for (int i = 0; i < ENTRIES_PER_BLOCK; ++i)
      s += " " + std::to_string(block.getEntryInode(i)) + " " + block.getEntryName(i);
  } else if (w[0] == "maps") {
    const DiskLayout& l = ds.layout();
    s = "inodes" + usedRanges(ds, l.inodeCount(), isInodeUsed) + ", blocks" +
        usedRanges(ds, l.blockCount(), isBlockUsed) + ", users" +
        usedRanges(ds, l.userCount(), isUserNumberUsed);
  } else {
    for (const std::string& p : checkImageProblems(image)) s += p + "\n";
    return s.empty() ? "sound\n" : s;
  }
  return s + "\n";
}

// Answers every read of the console from the script, as a person reading the screen would.
class Driver : public std::streambuf {
 public:
  Driver(const Script& script, Screen& screen, const std::string& image,
         const std::function<void(const std::string&)>& atPrompt)
      : script_(script), screen_(screen), image_(image), atPrompt_(atPrompt) {}
  std::vector<std::string> pending;  // typed before the script, unseen (the login)
  std::size_t renderStart = 0, renderEnd = std::string::npos;

 protected:
  int_type underflow() override {
    if (++reads_ > 20000 || !next(line_)) return traits_type::eof();
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(line_[0]);
  }

 private:
  bool atWait() const {
    return screen_.text.ends_with("Press Enter to continue.\n") ||
           screen_.text.ends_with("Press \"Enter\" to continue.\n");
  }

  bool next(std::string& line) {
    if (!pending.empty()) {
      line = pending.front() + "\n";
      pending.erase(pending.begin());
      if (pending.empty()) renderStart = std::string::npos;
      return true;
    }
    if (renderStart == std::string::npos) renderStart = screen_.lineStart();
    const auto& items = script_.items;
    if (atWait()) {
      line = "\n";
      return true;
    }
    if (screen_.atPrompt() && atPrompt_) atPrompt_(image_);
    for (; at_ < items.size() && items[at_].first == '?'; ++at_)
      screen_.text.insert(screen_.lineStart(),
                          "? " + items[at_].second + "\n" + query(image_, items[at_].second));
    if (at_ == items.size()) {
      if (!screen_.atPrompt() || script_.has("eof")) return false;
      renderEnd = screen_.text.size();
      line = "exit\n";
      return true;
    }
    auto [kind, typed] = items[at_++];
    line = typed + "\n";
    screen_.text += kind == '<' ? kOpen + typed + kClose + "\n" : line;
    return true;
  }

  const Script& script_;
  Screen& screen_;
  std::string image_;
  std::function<void(const std::string&)> atPrompt_;
  std::string line_;
  std::size_t at_ = 0;
  int reads_ = 0;
};

std::string replaceAll(std::string s, const std::string& from, const std::string& to) {
  for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
    s.replace(at, from.size(), to);
  return s;
}

// The screen in transcript form: bytes escaped, waits answered by the runner and clearings
// folded (unless raw), a last bare prompt dropped.
std::string rendered(const std::string& screen, bool raw) {
  std::string s = escaped(screen);
  if (!raw) s = replaceAll(replaceAll(s, "Press Enter to continue.\n" + kClear, ""), kClear, "\n");
  std::size_t last = s.rfind('\n') + 1;
  if (std::regex_search(s.substr(last), kPrompt)) s.erase(last);
  return s.empty() || s.ends_with("\n") ? s : s + "\n";
}

// Makes the image the directives ask for: standard (unless "image"), accounts, pokes.
void prepareImage(const Script& script, const std::string& image) {
  if (!script.has("image")) writeBytes(image, standardImage());
  for (const auto& d : script.directives) {
    if (d[0] == "image" && d[1] == "empty") writeBytes(image, {});
    for (std::size_t i = 1; d[0] == "users" && i < d.size(); ++i) {
      ImageFixture::Direct io(image);
      addAccount(io.ds, d[i], d[i]);
    }
    if (d[0] != "poke") continue;
    DiskLayout l = DiskLayout::forCounts(100, 1000, 100);
    int n = std::stoi(d[2]);
    int64_t base = d[1] == "imap"    ? l.inodeMapStart + n
                   : d[1] == "bmap"  ? l.blockMapStart + n
                   : d[1] == "umap"  ? l.userMapStart + n
                   : d[1] == "inode" ? *l.inodeOffset(n)
                   : d[1] == "block" ? *l.blockOffset(n)
                                     : 0;
    std::vector<uint8_t> bytes;
    for (std::size_t i = 4; i < d.size(); ++i) bytes.push_back(std::stoi(d[i], nullptr, 16));
    poke(image, base + std::stoi(d[3]), bytes);
  }
}

}  // namespace

std::string runTranscript(const std::string& text, const std::string& folder,
                          const std::function<void(const std::string&)>& atPrompt) {
  Script script = parse(text);
  std::string image = folder + "/disk.fs5";
  prepareImage(script, image);
  bool raw = script.has("raw");
  Screen screen;
  Sink out(screen, false), err(screen, true);
  Driver driver(script, screen, image, atPrompt);
  std::string user = "root";
  for (const auto& d : script.directives)
    if (d[0] == "as") user = d[1];
  if (!raw && !script.has("image")) driver.pending = {user, user == "root" ? kRootPassword : user};
  std::istream in(&driver);
  std::ostream outStream(&out), errStream(&err);
  Console con(in, outStream, errStream);
  int status = runProgram(con, image);

  std::string shown = screen.text.substr(0, driver.renderEnd);
  std::string s = rendered(shown.substr(std::min(driver.renderStart, shown.size())), raw);
  if (status != 0) s += "[status " + std::to_string(status) + "]\n";
  for (const std::string& p : checkImageProblems(image)) s += "fs5ck: " + p + "\n";
  return s;
}

std::string expectedScreen(const std::string& text) {
  std::string s;
  for (const std::string& line : linesOf(text))
    if (!isMeta(line)) s += line + "\n";
  return s;
}

std::string updatedTranscript(const std::string& text, const std::string& screen) {
  std::string s;
  for (const std::string& line : linesOf(text)) {
    if (!isMeta(line)) break;
    s += line + "\n";
  }
  return s + screen;
}

}  // namespace fs5::test
