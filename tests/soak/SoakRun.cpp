#include "tests/soak/SoakRun.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <vector>

#include "tests/soak/SoakImage.h"
#include "tests/soak/SoakModel.h"
#include "tests/soak/SoakShell.h"

namespace fs5::soak {

namespace {

constexpr const char* kFirstPassword = "secret1";

// splitmix64: small, fast and the same on every platform.
class Rng {
 public:
  explicit Rng(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  int below(int n) { return n <= 1 ? 0 : static_cast<int>(next() % static_cast<uint64_t>(n)); }
  int between(int lo, int hi) { return lo + below(hi - lo + 1); }
  bool percent(int p) { return below(100) < p; }
  template <class T>
  const T& pick(const std::vector<T>& items) {
    return items[below(static_cast<int>(items.size()))];
  }

 private:
  uint64_t state_;
};

bool isUnder(const std::string& path, const std::string& base) {
  if (base == "/") return path != "/";
  return path.size() > base.size() && path.compare(0, base.size(), base) == 0 &&
         path[base.size()] == '/';
}

std::string relative(const std::string& path, const std::string& base) {
  return base == "/" ? path.substr(1) : path.substr(base.size() + 1);
}

std::string parentOf(const std::string& path) {
  std::size_t at = path.rfind('/');
  return at == 0 ? "/" : path.substr(0, at);
}

std::string joinPath(const std::string& folder, const std::string& name) {
  return (folder == "/" ? folder : folder + "/") + name;
}

// Folders and files the commands must leave alone: the account store (changing it by hand
// makes accounts the checker rejects) and, for rights and owners, the root folder (giving
// it away lets anyone delete the account store).
bool guardedForChange(const std::string& path) { return path == "/etc" || isUnder(path, "/etc"); }
bool guardedForRights(const std::string& path) { return path == "/" || guardedForChange(path); }

// Shows a console text in one line: \n for an end of line, \e for Escape, \xHH for the rest.
std::string visible(const std::string& text, std::size_t limit = 120) {
  std::string s;
  for (unsigned char c : text) {
    if (s.size() >= limit) return s + "...";
    if (c == '\n') {
      s += "\\n";
    } else if (c == 27) {
      s += "\\e";
    } else if (c < 32 || c >= 127) {
      const char* hex = "0123456789abcdef";
      s += std::string("\\x") + hex[c >> 4] + hex[c & 15];
    } else {
      s.push_back(static_cast<char>(c));
    }
  }
  return s;
}

struct Known {
  int id;
  std::string path;
  bool folder;
  int16_t owner;
};

// Chooses the next command from what the model holds now.
class Generator {
 public:
  Generator(Rng& rng, const Model& model) : rng_(rng), model_(model) {}

  Command next(bool mayEnd) {
    survey();
    pickMode();
    Command c = draw(mayEnd);
    return c;
  }

  std::string password() { return "pw" + std::to_string(rng_.between(1000, 99999999)); }

 private:
  enum Mode { kMix, kFillInodes, kFillBlocks, kDrain };
  enum Kind {
    kCd,
    kLs,
    kMkdir,
    kVi,
    kViWrite,
    kCat,
    kRm,
    kRmdir,
    kCp,
    kCpTree,
    kMv,
    kChmod,
    kChown,
    kAdduser,
    kDeluser,
    kMkfs,
    kReenter,
    kOdd,
    kKinds
  };

  void survey() {
    known_.clear();
    walk(0, "/");
    const Path& w = model_.workFolder();
    int n = model_.resolveWhole(w);
    work_.clear();
    for (const Known& k : known_)
      if (k.id == n && k.folder) work_ = k.path;
  }

  void walk(int id, const std::string& path) {
    const Node& n = model_.nodes()[id];
    known_.push_back({id, path, n.folder, n.owner});
    if (!n.folder) return;
    for (const Entry& e : n.entries)
      if (e.name != "." && e.name != "..") walk(e.node, joinPath(path, e.name));
  }

  void pickMode() {
    bool full = model_.freeInodes() == 0 || model_.freeBlocks() < 20;
    if (full && (mode_ == kFillInodes || mode_ == kFillBlocks)) ++fullFor_;
    if (--modeLeft_ > 0 && fullFor_ < 12) return;
    fullFor_ = 0;
    modeLeft_ = rng_.between(20, 80);
    int r = rng_.below(100);
    mode_ = r < 30 ? kMix : r < 50 ? kFillInodes : r < 80 ? kFillBlocks : kDrain;
    if (full) mode_ = kDrain;
    bucket_ = folder(true).path;
  }

  static Path pathOf(const std::string& text) {
    Path p;
    parsePath(text, p);
    return p;
  }

  bool root() const { return model_.currentUser() == 0; }

  Command draw(bool mayEnd) {
    static const int kWeights[4][kKinds] = {
        // cd ls mkdir vi viW cat rm rmdir cp cpR mv chmod chown add del mkfs reenter odd
        {9, 6, 8, 8, 10, 6, 5, 3, 7, 3, 7, 5, 2, 2, 1, 0, 2, 2},
        {4, 2, 25, 25, 5, 1, 1, 1, 8, 10, 2, 1, 0, 1, 0, 0, 1, 1},
        {3, 1, 4, 8, 35, 1, 1, 1, 30, 15, 2, 1, 0, 0, 0, 0, 1, 1},
        {5, 3, 2, 2, 8, 2, 25, 20, 2, 1, 5, 2, 0, 0, 3, 0, 1, 1},
    };
    int weights[kKinds];
    std::copy(kWeights[mode_], kWeights[mode_] + kKinds, weights);
    if (root() && model_.accounts().size() < 3) weights[kAdduser] += 8;
    if (!mayEnd) weights[kReenter] = 0;
    if (root() && rng_.below(1000) < 6) return mkfs();
    int total = 0;
    for (int w : weights) total += w;
    int r = rng_.below(total);
    int kind = 0;
    while (r >= weights[kind]) r -= weights[kind++];
    switch (kind) {
      case kCd:
        return navigate("cd", "");
      case kLs:
        return navigate("ls", rng_.percent(40) ? "l" : "");
      case kMkdir:
        return make("mkdir", "");
      case kVi:
        return make("vi", "");
      case kViWrite:
        return write();
      case kCat:
        return oneExisting("cat", "", true);
      case kRm:
        return remove(false);
      case kRmdir:
        return remove(true);
      case kCp:
        return copy(false);
      case kCpTree:
        return copy(true);
      case kMv:
        return move();
      case kChmod:
        return chmod();
      case kChown:
        return chown();
      case kAdduser:
        return adduser();
      case kDeluser:
        return deluser();
      case kReenter:
        return plain("reenter");
      default:
        return odd();
    }
  }

  static Command plain(const std::string& word, std::vector<std::string> args = {}) {
    Command c;
    c.word = word;
    c.args = std::move(args);
    return c;
  }

  // True for the root folder and the folders formatting makes.
  static bool isStandard(const std::string& path) {
    static const std::vector<std::string> kStandard = {
        "/",     "/bin", "/boot", "/dev",  "/etc",  "/home", "/initrd", "/lib", "/lost+found",
        "/misc", "/mnt", "/opt",  "/proc", "/root", "/sbin", "/tmp",    "/usr", "/var"};
    return std::find(kStandard.begin(), kStandard.end(), path) != kStandard.end();
  }

  // Where the current user mostly works: for the superuser anything but the standard
  // folders (and /tmp, /root, /home in them), for the others what they own or their home.
  bool preferred(const Known& k) const {
    if (guardedForChange(k.path)) return false;
    if (root())
      return !isStandard(k.path) || k.path == "/tmp" || k.path == "/root" || k.path == "/home";
    const std::string& home = "/home/" + model_.userName();
    return k.owner == model_.currentUser() || k.path == home || isUnder(k.path, home);
  }

  // A random known node passing `keep`, most often a preferred one; nullptr when none passes.
  template <class Keep>
  const Known* choose(Keep keep) {
    std::vector<const Known*> all, liked;
    for (const Known& k : known_) {
      if (!keep(k)) continue;
      all.push_back(&k);
      if (preferred(k)) liked.push_back(&k);
    }
    if (all.empty()) return nullptr;
    if (!liked.empty() && rng_.percent(85)) return rng_.pick(liked);
    return rng_.pick(all);
  }

  // A folder (the root when no other passes) and a file (nullptr when there is none).
  const Known& folder(bool changing) {
    const Known* k =
        choose([&](const Known& n) { return n.folder && !(changing && guardedForChange(n.path)); });
    return k != nullptr ? *k : known_.front();
  }
  const Known* file(bool changing) {
    return choose(
        [&](const Known& n) { return !n.folder && !(changing && guardedForChange(n.path)); });
  }
  // A file's path, or a missing one when there is no file.
  std::string filePath(bool changing) {
    const Known* k = file(changing);
    return k != nullptr ? k->path : missing();
  }

  std::string name() {
    static const std::vector<std::string> kPool = {
        "a", "b", "c", "d", "e", "f", "notes", "data", "x.txt", "sub", "deep", "...", "tmp2", "Z"};
    int r = rng_.below(100);
    if (r < 68) return rng_.pick(kPool);
    if (r < 90) {
      std::string s;
      for (int i = rng_.between(1, 8); i > 0; --i)
        s.push_back("abcdefghijklmnopqrstuvwxyz0189"[rng_.below(30)]);
      return s;
    }
    if (r < 95) return std::string(30, static_cast<char>('k' + rng_.below(4)));
    if (r < 98) return std::string(31, 'q');
    return rng_.percent(50) ? "." : "..";
  }

  // The path of a new name in a folder the command may change.
  // Now and then a long chain of names: deeper than 8 components, or longer than 239
  // characters with names of 30.
  std::string fresh() {
    if (mode_ == kFillInodes && rng_.percent(60) && model_.resolveWhole(pathOf(bucket_)) >= 0)
      return joinPath(bucket_, name() + std::to_string(rng_.below(100)));
    std::string path = joinPath(folder(true).path, name());
    int r = rng_.below(100);
    if (r < 4) {
      for (int i = rng_.between(1, 8); i > 0; --i) path = joinPath(path, name());
    } else if (r < 6) {
      std::string longName(30, static_cast<char>('k' + rng_.below(4)));
      for (int i = rng_.between(1, 7); i > 0; --i) path = joinPath(path, longName);
    }
    return path;
  }

  std::string missing() {
    return joinPath(folder(false).path, "nosuch" + std::to_string(rng_.below(9)));
  }

  // The way a path is typed: absolute, relative to the working folder, or through "..",
  // sometimes with a "." or a detour through ".." on the way.
  std::string typed(const std::string& path) {
    std::string s = path;
    int r = rng_.below(100);
    if (!work_.empty() && r >= 40) {
      if (path == work_) {
        s = ".";
      } else if (isUnder(path, work_)) {
        s = relative(path, work_);
      } else if (work_ != "/" && isUnder(path, parentOf(work_))) {
        s = "../" + relative(path, parentOf(work_));
      }
    }
    if (rng_.percent(8) && s != "/" && s != ".") {
      std::size_t at = s.rfind('/');
      if (at != std::string::npos && at > 0) {
        std::string folderPart = s.substr(0, at);
        std::string leaf = folderPart.substr(folderPart.rfind('/') + 1);
        s = rng_.percent(50) ? folderPart + "/." + s.substr(at)
                             : folderPart + "/../" + leaf + s.substr(at);
      } else {
        s = "./" + s;
      }
    }
    if (rng_.percent(2)) s += "/";
    return s;
  }

  Command navigate(const std::string& word, const std::string& options) {
    Command c = plain(word);
    c.options = options;
    int r = rng_.below(100);
    if (r < 10) return c;
    if (r < 18) {
      c.args = {"."};
    } else if (r < 32) {
      c.args = {".."};
    } else if (r < 37) {
      c.args = {"../" + name()};
    } else if (r < 87) {
      c.args = {typed(folder(false).path)};
    } else if (r < 94) {
      c.args = {typed(filePath(false))};
    } else {
      c.args = {typed(missing())};
    }
    return c;
  }

  Command make(const std::string& word, const std::string& options) {
    Command c = plain(word);
    c.options = options;
    int r = rng_.below(100);
    if (r < 3) return c;
    if (r < 12) {
      const Known* k = choose([](const Known& n) { return !guardedForChange(n.path); });
      c.args = {typed(k != nullptr ? k->path : fresh())};
    } else if (r < 15) {
      c.args = {typed(joinPath(missing(), name()))};
    } else {
      c.args = {typed(fresh())};
    }
    return c;
  }

  std::string content() {
    if (mode_ == kDrain) return text(rng_.between(0, 30));
    static const std::vector<int> kEdges = {99, 100, 101, 199, 200, 9998, 9999};
    int r = rng_.below(100);
    if (mode_ == kFillBlocks) {
      if (r < 20) return text(rng_.between(300, 2000));
      if (r < 90) return text(rng_.between(2000, 9999));
      return text(9999);
    }
    if (r < 25) return text(rng_.between(0, 20));
    if (r < 55) return text(rng_.between(20, 300));
    if (r < 75) return text(rng_.between(300, 2000));
    if (r < 90) return text(rng_.between(2000, 9999));
    if (r < 94) return text(rng_.pick(kEdges));
    if (r < 96) return text(rng_.between(10000, 10050));
    return "";
  }

  std::string text(int length) {
    std::string s;
    s.reserve(length);
    for (int i = 0; i < length; ++i) {
      int r = rng_.below(100);
      if (r < 80) {
        s.push_back("abcdefghijklmnopqrstuvwxyz ABCXYZ0123456789.,"[rng_.below(45)]);
      } else if (r < 90) {
        s.push_back('\n');
      } else {
        static const char kOdd[] = {'\0', '\t', '\r', '\x7f', '\x1a', '\x1c', '\xc3', '\xff'};
        s.push_back(kOdd[rng_.below(8)]);
      }
    }
    return s;
  }

  Command write() {
    if (file(true) == nullptr) return make("vi", "");
    Command c = plain("vi");
    c.options = "i";
    int r = rng_.below(100);
    if (r < 85) {
      c.args = {typed(filePath(true))};
    } else if (r < 91) {
      c.args = {typed(folder(true).path)};
    } else if (r < 97) {
      c.args = {typed(missing())};
    } else {
      c.args = {"/"};
    }
    c.content = content();
    return c;
  }

  Command oneExisting(const std::string& word, const std::string& options, bool wantFile) {
    Command c = plain(word);
    c.options = options;
    int r = rng_.below(100);
    if (r < 80) {
      c.args = {typed(wantFile ? filePath(false) : folder(false).path)};
    } else if (r < 90) {
      c.args = {typed(wantFile ? folder(false).path : filePath(false))};
    } else {
      c.args = {typed(missing())};
    }
    return c;
  }

  Command remove(bool tree) {
    Command c = plain(tree ? "rmdir" : "rm");
    c.confirm = rng_.percent(85);
    int r = rng_.below(100);
    if (r < 2) return c;
    if (r < 80) {
      if (tree) {
        bool standardToo = rng_.percent(3);
        const Known* k = choose([&](const Known& n) {
          return n.folder && !guardedForChange(n.path) && (standardToo || !isStandard(n.path));
        });
        c.args = {typed(k != nullptr ? k->path : missing())};
      } else {
        c.args = {typed(filePath(true))};
      }
    } else if (r < 86) {
      c.args = {tree ? (rng_.percent(50) ? "." : model_.workFolder().text)
                     : typed(folder(true).path)};
    } else if (r < 92) {
      c.args = {typed(tree ? filePath(true) : missing())};
    } else if (r < 98) {
      c.args = {typed(missing())};
    } else {
      c.args = {"/"};
    }
    return c;
  }

  Command copy(bool tree) {
    Command c = plain("cp");
    if (tree) c.options = "R";
    int r = rng_.below(100);
    std::string source;
    if (r < 85 && mode_ == kFillBlocks && !tree) {
      source = biggestFile();
    } else if (r < 85) {
      source = tree ? folder(false).path : filePath(false);
    } else if (r < 93) {
      source = tree ? filePath(false) : folder(false).path;
    } else {
      source = missing();
    }
    std::string destination;
    int d = rng_.below(100);
    if (d < 50) {
      destination = folder(true).path;
    } else if (d < 75) {
      destination = tree ? folder(true).path : filePath(true);
    } else if (d < 85) {
      destination = missing();
    } else if (d < 92) {
      destination = source;
    } else {
      destination = parentOf(source);
    }
    if (guardedForChange(destination)) destination = "/tmp";
    c.args = {typed(source), typed(destination)};
    if (rng_.percent(2)) c.args.pop_back();
    return c;
  }

  Command move() {
    Command c = plain("mv");
    int r = rng_.below(100);
    std::string source = r < 88 ? filePath(true) : r < 95 ? folder(true).path : missing();
    std::string destination;
    int d = rng_.below(100);
    if (d < 35) {
      destination = folder(true).path;
    } else if (d < 55) {
      destination = filePath(true);
    } else if (d < 80) {
      destination = fresh();
    } else if (d < 90) {
      destination = joinPath(parentOf(source), name());
    } else if (d < 95) {
      destination = rng_.percent(50) ? source : parentOf(source);
    } else {
      destination = joinPath(missing(), name());
    }
    if (guardedForChange(destination) || guardedForChange(source)) destination = "/tmp";
    c.args = {typed(source), typed(destination)};
    if (rng_.percent(2)) c.args.pop_back();
    return c;
  }

  // The largest of a few files picked at random.
  std::string biggestFile() {
    const Known* best = nullptr;
    for (int i = 0; i < 4; ++i) {
      const Known* k = file(false);
      if (k == nullptr) return missing();
      if (best == nullptr ||
          model_.nodes()[k->id].data.size() > model_.nodes()[best->id].data.size())
        best = k;
    }
    return best->path;
  }

  Command chmod() {
    static const std::vector<std::string> kRights = {
        "u+r", "u-r",   "u+w",   "u-w",   "u+x",  "u-x",  "o+r", "o-r", "o+w", "o-w", "o+x",
        "o-x", "u+rwx", "o+rwx", "o-rwx", "u-rw", "o+wx", "u+",  "g+r", "u*r", "u+q", "u"};
    Command c = plain("chmod");
    const Known* k = choose([](const Known& n) { return !guardedForRights(n.path); });
    c.args = {rng_.pick(kRights), typed(k != nullptr ? k->path : missing())};
    if (rng_.percent(3)) c.args.pop_back();
    return c;
  }

  Command chown() {
    if (work_.empty() || guardedForRights(work_)) return navigate("cd", "");
    std::vector<std::string> names = {"nobody", "root"};
    for (const auto& row : model_.usersTable()) names.push_back(row.second);
    return plain("chown", {rng_.pick(names)});
  }

  std::vector<std::string> userNames() {
    std::vector<std::string> names = {"anna", "bob", "carl", "dora", "eve"};
    return names;
  }

  Command adduser() {
    Command c = plain("adduser");
    int r = rng_.below(100);
    if (r < 85) {
      c.args = {rng_.pick(userNames())};
    } else if (r < 95) {
      static const std::vector<std::string> kOdd = {
          "exit", "..", "a/b", std::string(31, 'u'), std::string(30, 'v'), "root"};
      c.args = {rng_.pick(kOdd)};
    }
    if (rng_.percent(10)) c.passwords.push_back(std::string(31 + rng_.below(20), 'p'));
    c.passwords.push_back(password());
    return c;
  }

  Command deluser() {
    Command c = plain("deluser");
    std::vector<std::string> names = userNames();
    names.push_back("root");
    names.push_back("nobody");
    if (rng_.percent(97)) c.args = {rng_.pick(names)};
    return c;
  }

  Command mkfs() {
    Command c = plain("mkfs");
    c.confirm = rng_.percent(60);
    if (rng_.percent(15)) c.passwords.push_back("abc");
    if (rng_.percent(5)) c.passwords.push_back(std::string(31, 's'));
    c.passwords.push_back("secret" + std::to_string(rng_.below(10)));
    return c;
  }

  Command odd() {
    static const std::vector<std::string> kWords = {"LS", "foo", "mv",    "format", "cd..", "mkdir",
                                                    "rm", "cp",  "chmod", "cat",    "vi"};
    return plain(rng_.pick(kWords));
  }

  Rng& rng_;
  const Model& model_;
  std::vector<Known> known_;
  std::string work_;  // the working folder's own path, "" when it names nothing
  Mode mode_ = kMix;
  int modeLeft_ = 0;
  int fullFor_ = 0;
  std::string bucket_ = "/tmp";  // the folder that filling the i-nodes mostly fills
};

// The prompt the shell must show for the model's login.
std::string expectedPrompt(const Model& m) {
  bool super = m.userName() == "root";
  std::string folder = m.workFolder().text;
  if (folder != "/") folder += "/";
  return "[" + (super ? std::string("root") : m.userName()) + " @fs5 " + folder + " ]" +
         (super ? "#" : "$") + " ";
}

bool mentions(const std::vector<std::string>& texts, const std::string& what) {
  return std::any_of(texts.begin(), texts.end(),
                     [&](const std::string& t) { return t.find(what) != std::string::npos; });
}

class Soak {
 public:
  Soak(const SoakConfig& config, const std::string& folder)
      : config_(config), image_(folder + "/disk.fs5"), rng_(config.seed), gen_(rng_, model_) {
    const char* log = std::getenv("FS5_SOAK_LOG");
    if (log != nullptr && *log != '\0') log_ = std::fopen(log, "a");
  }
  ~Soak() {
    if (log_ != nullptr) std::fclose(log_);
  }
  Soak(const Soak&) = delete;
  Soak& operator=(const Soak&) = delete;

  SoakResult run() {
    {
      ShellRun shell(image_);
      StepResult r = shell.format(kFirstPassword);
      model_.format(kFirstPassword);
      if (!r.trouble.empty()) return fail("formatting: " + r.trouble);
      if (!judgeImage("formatting")) return result_;
    }
    for (int s = 0; s < config_.sessions && result_.ok; ++s) {
      session_ = s + 1;
      runSession();
      ++result_.stats.sessions;
    }
    return result_;
  }

 private:
  SoakResult fail(const std::string& what) {
    if (!result_.ok) return result_;
    result_.ok = false;
    std::string where = "seed " + std::to_string(config_.seed) + ", session " +
                        std::to_string(session_) + ", command " + std::to_string(step_);
    result_.failure = where + ": " + what + "\nrecent steps (oldest first):\n";
    for (const std::string& line : recent_) result_.failure += "  " + line + "\n";
    return result_;
  }

  void remember(const std::string& line) {
    if (log_ != nullptr) std::fprintf(log_, "%s\n", line.c_str());
    recent_.push_back(line);
    if (recent_.size() > 25) recent_.pop_front();
  }

  // A login as a random account, sometimes after a refused attempt. False when the session
  // is to end (the model has no account to log in with, or a difference was found).
  bool logIn(ShellRun& shell) {
    std::vector<Model::Account> accounts = model_.accounts();
    if (accounts.empty()) {
      fail("no account left to log in with");
      return false;
    }
    std::string input;
    if (rng_.percent(10)) {
      bool knownName = rng_.percent(50);
      const Model::Account& a = rng_.pick(accounts);
      if (model_.login(knownName ? a.name : "nobody", "wrong1", input)) {
        fail("the model let a wrong password in");
        return false;
      }
      ++result_.stats.refusedLogins;
    }
    const Model::Account* chosen = nullptr;
    std::vector<Model::Account> others;
    for (const Model::Account& a : accounts) {
      if (a.name == "root")
        chosen = &a;
      else
        others.push_back(a);
    }
    if (!others.empty() && (chosen == nullptr || rng_.percent(65))) chosen = &rng_.pick(others);
    std::string name = chosen->name;
    if (!model_.login(name, chosen->password, input)) {
      fail("the model refused the account " + name);
      return false;
    }
    remember("login " + name + " | " + visible(input));
    StepResult r = shell.login(input);
    std::string why;
    if (r.exited) why = "the login ended the program";
    if (r.consumed != r.scripted)
      why = "the login read " + std::to_string(r.consumed) + " of " + std::to_string(r.scripted) +
            " bytes";
    if (why.empty() && shell.currentUser() != model_.currentUser())
      why = "logged in as user " + std::to_string(shell.currentUser()) + ", the model has " +
            std::to_string(model_.currentUser());
    if (why.empty() && shell.state().promptText() != expectedPrompt(model_))
      why = "prompt \"" + shell.state().promptText() + "\", the model has \"" +
            expectedPrompt(model_) + "\"";
    if (!why.empty()) {
      fail(why + "\nstandard output: " + visible(r.out, 600));
      return false;
    }
    ++result_.stats.logins;
    return true;
  }

  void runSession() {
    ShellRun shell(image_);
    model_.newConsole();
    if (!logIn(shell)) return;
    for (int k = 0; k < config_.commandsPerSession && result_.ok; ++k) {
      bool last = k + 1 == config_.commandsPerSession;
      Command c = last ? Command{"exit", "", {}, true, "", {}} : gen_.next(true);
      if (!runCommand(shell, c)) return;
      if (c.word == "exit") return;
      if (c.word == "reenter") {
        model_.logout();
        if (rng_.percent(5)) {
          remember("login exit");
          StepResult r = shell.login("exit\n");
          if (!r.exited) fail("\"exit\" at the login prompt did not end the program");
          return;
        }
        if (!logIn(shell)) return;
      }
    }
  }

  bool runCommand(ShellRun& shell, const Command& c) {
    ++step_;
    std::string before = expectedPrompt(model_);
    Expect ex = model_.run(c);
    remember(before + c.line() + " | " + visible(ex.input, 60));
    StepResult r = shell.command(c.line(), ex.input);
    count(c, ex, r);
    std::string why = judgeStep(shell, ex, r);
    if (!why.empty()) {
      fail(why + "\nstandard output: " + visible(r.out, 900) +
           "\nstandard error: " + visible(r.err, 600));
      return false;
    }
    if (!judgeImage(c.line())) return false;
    if (ex.listing) {
      std::string listing = expectedListing(model_, inodeOf_, ex.listed, ex.longForm);
      if (r.out.find(listing) == std::string::npos) {
        fail("the listing differs from the model's:\n" + listing +
             "\nstandard output: " + visible(r.out, 1500));
        return false;
      }
    }
    return true;
  }

  std::string judgeStep(ShellRun& shell, const Expect& ex, const StepResult& r) {
    if (!r.trouble.empty()) return r.trouble;
    if (r.streamFailed) return "the image stream failed";
    if (r.consumed != r.scripted || r.spareLines != 0)
      return "the shell read " + std::to_string(r.consumed) + " of the " +
             std::to_string(r.scripted) + " scripted input bytes and " +
             std::to_string(r.spareLines) + " lines more";
    if (r.exited != ex.exits) return ex.exits ? "the program did not end" : "the program ended";
    if (!ex.exits && r.reentered != ex.reenters)
      return ex.reenters ? "no logout" : "an unexpected logout";
    for (const std::string& s : ex.outHas)
      if (r.out.find(s) == std::string::npos) return "standard output lacks: " + visible(s, 300);
    for (const std::string& s : ex.outLacks)
      if (r.out.find(s) != std::string::npos) return "standard output has: " + visible(s);
    for (const std::string& s : ex.errHas)
      if (r.err.find(s) == std::string::npos) return "standard error lacks: " + visible(s);
    for (const std::string& s : ex.errLacks)
      if (r.err.find(s) != std::string::npos) return "standard error has: " + visible(s);
    if (!ex.exits && !ex.reenters && shell.state().promptText() != expectedPrompt(model_))
      return "prompt \"" + shell.state().promptText() + "\", the model has \"" +
             expectedPrompt(model_) + "\"";
    return "";
  }

  bool judgeImage(const std::string& after) {
    ImageSnapshot snapshot(image_);
    std::vector<std::string> problems = imageProblems(snapshot);
    if (!problems.empty()) {
      std::string lines;
      for (const std::string& p : problems) lines += "\n  " + p;
      fail("after \"" + visible(after) + "\" the checker finds:" + lines);
      return false;
    }
    std::string diff = compareWithModel(snapshot, model_, inodeOf_);
    if (!diff.empty()) {
      fail("after \"" + visible(after) + "\" the image and the model differ: " + diff);
      return false;
    }
    return true;
  }

  void count(const Command& c, const Expect& ex, const StepResult& r) {
    SoakStats& s = result_.stats;
    ++s.commands;
    ++s.byCommand[c.word + (c.options.empty() ? "" : " -" + c.options)];
    if (mentions(ex.outHas, "Access denied.")) ++s.refusals;
    if (ex.input.find('\x1b') != std::string::npos && c.word != "vi") ++s.escapes;
    if (mentions(ex.outHas, "The disk was formatted.")) ++s.formats;
    if (mentions(ex.errHas, "There are no free i-node blocks.")) ++s.outOfInodes;
    if (mentions(ex.errHas, "There are no free datablocks.") ||
        mentions(ex.errHas, "The file was not saved."))
      ++s.outOfBlocks;
    bool inodesFull = model_.freeInodes() == 0;
    bool blocksFull = model_.freeBlocks() < 10;
    s.inodesFull += inodesFull;
    s.blocksFull += blocksFull;
    if (inodesFull || blocksFull) wasFull_ = true;
    if (wasFull_ && model_.freeInodes() >= 60 && model_.freeBlocks() >= 800) {
      ++s.drained;
      wasFull_ = false;
    }
    (void)r;
  }

  SoakConfig config_;
  std::string image_;
  Rng rng_;
  Model model_;
  Generator gen_;
  SoakResult result_;
  std::vector<int16_t> inodeOf_;
  std::deque<std::string> recent_;
  int session_ = 0;
  int step_ = 0;
  bool wasFull_ = false;
  std::FILE* log_ = nullptr;  // every step, when FS5_SOAK_LOG names a file
};

}  // namespace

void SoakStats::add(const SoakStats& o) {
  sessions += o.sessions;
  commands += o.commands;
  logins += o.logins;
  refusedLogins += o.refusedLogins;
  refusals += o.refusals;
  escapes += o.escapes;
  formats += o.formats;
  inodesFull += o.inodesFull;
  blocksFull += o.blocksFull;
  outOfInodes += o.outOfInodes;
  outOfBlocks += o.outOfBlocks;
  drained += o.drained;
  for (const auto& [word, n] : o.byCommand) byCommand[word] += n;
}

std::string SoakStats::summary() const {
  std::string s = std::to_string(sessions) + " sessions, " + std::to_string(commands) +
                  " commands, " + std::to_string(logins) + " logins (" +
                  std::to_string(refusedLogins) + " refused attempts), " +
                  std::to_string(refusals) + " commands refused with \"Access denied.\", " +
                  std::to_string(escapes) + " confirmations answered with Escape, " +
                  std::to_string(formats) + " formats; no free i-node after " +
                  std::to_string(inodesFull) + " commands, under 10 free datablocks after " +
                  std::to_string(blocksFull) + ", " + std::to_string(outOfInodes) +
                  " commands out of i-nodes, " + std::to_string(outOfBlocks) +
                  " out of datablocks, " + std::to_string(drained) +
                  " times emptied again after filling up\nby command:";
  for (const auto& [word, n] : byCommand) s += " " + word + " " + std::to_string(n) + ",";
  if (!byCommand.empty()) s.pop_back();
  return s;
}

SoakResult runSoak(const SoakConfig& config, const std::string& folder) {
  return Soak(config, folder).run();
}

}  // namespace fs5::soak
