#include "tests/support/Transcript.h"

#include <algorithm>
#include <regex>

#include "shell/Program.h"
#include "storage/AllocMaps.h"
#include "storage/DataBlock.h"
#include "storage/FolderBlock.h"
#include "storage/Inode.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {

namespace {

using Words = std::vector<std::string>;
const std::string kOpen = "«", kClose = "»";
const std::regex kPrompt(R"(^\[[^\n]*? @fs5 [^\n]*? \][#$] )");

std::string escaped(const std::string& bytes) {
  std::string s;
  for (unsigned char c : bytes) {
    char hex[5];
    std::snprintf(hex, sizeof hex, "\\x%02x", c);
    if (c == '\\')
      s += "\\\\";
    else if (c < 32 && c != '\n')
      s += hex;
    else
      s += static_cast<char>(c);
  }
  return s;
}

std::string unescaped(const std::string& text) {
  std::string s;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text.compare(i, 2, "\\x") == 0) {
      s += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else if (text[i] == '\\' && i + 1 < text.size()) {
      s += text[++i];
    } else {
      s += text[i];
    }
  }
  return s;
}

Words split(const std::string& text, char by) {
  Words w;
  std::istringstream in(text);
  for (std::string s; std::getline(in, s, by);)
    if (by == '\n' || !s.empty()) w.push_back(s);
  return w;
}

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

// The answer to a "?" line of the transcript.
std::string query(const std::string& image, const Words& w) {
  if (w[0] == "poke") {
    pokeRecord(image, w);
    return "";
  }
  if (w[0] == "check") {
    std::string s;
    for (const std::string& p : checkImageProblems(image)) s += p + "\n";
    return s.empty() ? "sound\n" : s;
  }
  ImageStream io(image);
  int n = w.size() > 1 ? std::stoi(w[1]) : 0;
  std::string s;
  if (w[0] == "inode") {
    Inode node;
    node.read(io.ds, n);
    char head[64];
    std::snprintf(head, sizeof head, "owner %d mode %03x type %d blocks", node.getOwner(),
                  node.getMode(), node.getType());
    s = head;
    for (int i = 0; i < node.getBlockCount(); ++i) s += " " + std::to_string(node.getBlock(i));
  } else if (w[0] == "block") {
    DataBlock block;
    block.read(io.ds, n);
    s.assign(block.bytes().begin(), block.bytes().end());
    s.erase(s.find_last_not_of('\0') + 1);
  } else if (w[0] == "folder") {
    FolderBlock block;
    block.read(io.ds, n);
    s = "count " + std::to_string(block.getCount()) + ":";
    for (int i = 0; i < ENTRIES_PER_BLOCK; ++i)
      s += " " + std::to_string(block.getEntryInode(i)) + " " + block.getEntryName(i);
  } else {
    const DiskLayout& l = io.ds.layout();
    s = "inodes" + usedRanges(io.ds, l.inodeCount(), isInodeUsed) + ", blocks" +
        usedRanges(io.ds, l.blockCount(), isBlockUsed) + ", users" +
        usedRanges(io.ds, l.userCount(), isUserNumberUsed);
  }
  return s + "\n";
}

// One session: the program's two output streams merged into the screen (a run of standard
// error starts with "! "), and every read of its input answered from the transcript as a
// person reading the screen would answer it.
class Session : public std::streambuf {
 public:
  Session(const std::string& text, const std::string& image, const Hook& atPrompt)
      : image_(image), atPrompt_(atPrompt) {
    for (const std::string& line : split(text, '\n')) {
      std::smatch m;
      std::size_t open = line.rfind(kOpen);
      if (line.starts_with("@ ")) directives_.push_back(split(line.substr(2), ' '));
      if (line.starts_with("? ")) items_.push_back({'?', line.substr(2)});
      if (std::regex_search(line, m, kPrompt) && m.suffix().length() > 0)
        items_.push_back({'$', unescaped(m.suffix())});
      if (open != std::string::npos && line.ends_with(kClose))
        items_.push_back({'<', unescaped(line.substr(open + 2, line.size() - open - 4))});
    }
  }

  std::string run() {
    if (!has("image")) writeBytes(image_, standardImage());
    for (const Words& d : directives_) {
      if (d[0] == "image" && d[1] == "empty") writeBytes(image_, {});
      if (d[0] == "users") {
        ImageStream io(image_);
        for (std::size_t i = 1; i < d.size(); ++i) addAccount(io.ds, d[i], d[i]);
      }
      if (d[0] == "poke") pokeRecord(image_, d);
      if (d[0] == "as") login_ = {d[1], d[1]};
    }
    bool raw = has("raw");
    if (raw || has("image")) login_.clear();
    from_ = login_.empty() ? 0 : std::string::npos;
    Sink out(*this, false), err(*this, true);
    std::istream in(this);
    std::ostream outStream(&out), errStream(&err);
    Console con(in, outStream, errStream);
    int status = runProgram(con, image_);
    std::string s = escaped(screen_.substr(0, to_).substr(std::min(from_, screen_.size())));
    if (!raw) s = replace(replace(s, "Press Enter to continue.\n" + kClear, ""), kClear, "\n");
    std::size_t last = s.rfind('\n') + 1;
    if (std::regex_search(s.substr(last), kPrompt)) s.erase(last);
    if (!s.empty() && !s.ends_with("\n")) s += "\n";
    if (status != 0) s += "[status " + std::to_string(status) + "]\n";
    for (const std::string& p : checkImageProblems(image_)) s += "fs5ck: " + p + "\n";
    return s;
  }

 protected:
  int_type underflow() override {
    if (++reads_ > 20000) return traits_type::eof();
    line_ = next();
    if (line_.empty()) return traits_type::eof();
    setg(line_.data(), line_.data(), line_.data() + line_.size());
    return traits_type::to_int_type(line_[0]);
  }

 private:
  class Sink : public std::streambuf {
   public:
    Sink(Session& s, bool err) : s_(s), err_(err) {}
    int_type overflow(int_type c) override {
      std::string& screen = s_.screen_;
      if (screen.size() > (1u << 26)) {  // a program printing without end
        std::fputs("transcript: the screen passed 64 MiB\n", stderr);
        std::abort();
      }
      if (err_ && (screen.empty() || screen.back() == '\n' || !s_.errLine_)) screen += "! ";
      s_.errLine_ = err_;
      screen += static_cast<char>(c);
      return c;
    }

   private:
    Session& s_;
    bool err_;
  };

  bool has(const std::string& directive) const {
    return std::ranges::any_of(directives_, [&](const Words& d) { return d[0] == directive; });
  }
  static std::string replace(std::string s, const std::string& from, const std::string& to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
      s.replace(at, from.size(), to);
    return s;
  }
  std::size_t lineStart() const { return screen_.rfind('\n') + 1; }
  bool atPrompt() const { return std::regex_search(screen_.substr(lineStart()), kPrompt); }

  // The next line typed, with its line end, or "" when the input ends.
  std::string next() {
    if (!login_.empty()) {
      std::string line = login_.front() + "\n";
      login_.erase(login_.begin());
      return line;
    }
    if (from_ == std::string::npos) from_ = lineStart();
    if (screen_.ends_with("Press Enter to continue.\n") ||
        screen_.ends_with("Press \"Enter\" to continue.\n"))
      return "\n";
    if (atPrompt() && atPrompt_) atPrompt_(image_);
    for (; at_ < items_.size() && items_[at_].first == '?'; ++at_)
      screen_.insert(lineStart(), "? " + items_[at_].second + "\n" +
                                      query(image_, split(items_[at_].second, ' ')));
    if (at_ == items_.size()) {
      if (!atPrompt() || has("eof")) return "";
      to_ = screen_.size();
      return "exit\n";
    }
    auto [kind, typed] = items_[at_++];
    screen_ += kind == '<' ? kOpen + typed + kClose + "\n" : typed + "\n";
    return typed + "\n";
  }

  std::string image_, screen_, line_;
  Hook atPrompt_;
  std::vector<Words> directives_;
  std::vector<std::pair<char, std::string>> items_;
  Words login_ = {"root", kRootPassword};
  std::size_t at_ = 0, from_ = 0, to_ = std::string::npos;
  int reads_ = 0;
  bool errLine_ = false;
};

}  // namespace

std::string runTranscript(const std::string& text, const std::string& folder,
                          const Hook& atPrompt) {
  return Session(text, folder + "/disk.fs5", atPrompt).run();
}

std::string expectedScreen(const std::string& text) {
  std::string s;
  for (const std::string& line : split(text, '\n'))
    if (!line.starts_with("#") && !line.starts_with("@ ")) s += line + "\n";
  return s;
}

}  // namespace fs5::test
