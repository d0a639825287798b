#include "tests/soak/SoakModel.h"

#include <algorithm>
#include <cctype>

namespace fs5::soak {

namespace {

bool isDot(std::string_view name) { return name == "." || name == ".."; }

bool hasRight(uint16_t rights, int k) { return (rights >> (9 - k)) & 1; }

bool validUserName(const std::string& name) {
  if (name.empty() || name.size() > kMaxName) return false;
  if (name == "." || name == ".." || name == "exit") return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == '/' || std::isspace(static_cast<unsigned char>(c)) != 0;
  });
}

std::string quoted(const std::string& name) { return "\"" + name + "\""; }

}  // namespace

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

bool parsePath(std::string_view text, Path& out) {
  out = Path{};
  if (text.size() > kMaxPathText) return false;
  if (text == "/") {
    out.text = "/";
    return true;
  }
  std::vector<std::string> parts = splitPath(text);
  if (static_cast<int>(parts.size()) > kMaxDepth) return false;
  out.parts = std::move(parts);
  out.text = text;
  return true;
}

bool appendName(Path& p, std::string_view name) {
  if (p.depth() + 1 > kMaxDepth) return false;
  std::string text = (p.text == "/" ? std::string("/") : p.text + "/") + std::string(name);
  if (text.size() > kMaxPathText) return false;
  p.parts.emplace_back(name);
  p.text = std::move(text);
  return true;
}

void goUp(Path& p) {
  if (!p.parts.empty()) p.parts.pop_back();
  p.text.clear();
  for (const std::string& part : p.parts) p.text += "/" + part;
  if (p.text.empty()) p.text = "/";
}

bool appendPath(Path& p, std::string_view path) {
  if (path == "/") return true;
  int slashes = static_cast<int>(std::count(path.begin(), path.end(), '/'));
  if (p.depth() + slashes > kMaxDepth) return false;
  std::string text = p.text == "/" ? std::string(path) : p.text + std::string(path);
  if (text.size() > kMaxPathText) return false;
  std::vector<std::string> added = splitPath(path);
  p.parts.insert(p.parts.end(), added.begin(), added.end());
  p.text = std::move(text);
  return true;
}

std::string Command::line() const {
  std::string s = word;
  if (!options.empty()) s += " -" + options;
  for (const std::string& a : args) s += " " + a;
  return s;
}

// ---------------------------------------------------------------------------------------------
// The tree.

int Model::blocksOf(const Node& n) {
  if (!n.alive) return 0;
  if (n.folder) return (static_cast<int>(n.entries.size()) + 2) / 3;
  return static_cast<int>(n.data.size()) / kBlockBytes;
}

int Model::freeInodes() const {
  int alive = static_cast<int>(
      std::count_if(nodes_.begin(), nodes_.end(), [](const Node& n) { return n.alive; }));
  return kInodes - alive;
}

int Model::usedBlocks() const {
  int used = 0;
  for (const Node& n : nodes_) used += blocksOf(n);
  return used;
}

int Model::freeBlocks() const { return kBlocks - usedBlocks(); }

bool Model::isFile(int node) const {
  return node >= 0 && nodes_[node].alive && !nodes_[node].folder;
}

bool Model::isFolder(int node) const {
  return node >= 0 && nodes_[node].alive && nodes_[node].folder;
}

int Model::lookup(int folder, const std::string& name) const {
  if (name.empty() || !isFolder(folder)) return -1;
  for (const Entry& e : nodes_[folder].entries)
    if (e.name == name) return e.node;
  return -1;
}

int Model::resolve(const Path& p, int lastIndex) const {
  if (p.parts.empty() && p.isRoot()) return 0;
  int n = lookup(0, p.part(0));
  for (int i = 1; i <= lastIndex && n >= 0; ++i) n = lookup(n, p.part(i));
  return n;
}

int Model::resolveHolder(const Path& p) const {
  if (p.depth() == 0) return -1;
  if (p.depth() == 1) return 0;
  return resolve(p, p.depth() - 2);
}

int Model::newNode(bool folder, int16_t owner, int parent) {
  int id = 0;
  while (id < static_cast<int>(nodes_.size()) && nodes_[id].alive) ++id;
  if (id == static_cast<int>(nodes_.size())) nodes_.emplace_back();
  Node& n = nodes_[id];
  n = Node{};
  n.alive = true;
  n.folder = folder;
  n.owner = owner;
  n.rights = folder ? kFolderRights : kFileRights;
  if (folder) {
    n.entries = {{"..", parent}, {".", id}};
  } else {
    n.data.assign(kBlockBytes, 0);
  }
  return id;
}

std::vector<uint8_t> Model::accountContent(int16_t number, const std::string& password) const {
  std::vector<uint8_t> data(kBlockBytes, 0);
  data[2] = static_cast<uint8_t>(number & 0xFF);
  data[3] = static_cast<uint8_t>((number >> 8) & 0xFF);
  for (std::size_t i = 0; i < password.size() && i < kMaxName; ++i)
    data[4 + i] = static_cast<uint8_t>(password[i]);
  return data;
}

void Model::format(const std::string& password) {
  nodes_.clear();
  newNode(true, 0, 0);
  const char* standard[] = {"bin",  "boot",       "dev",  "etc", "home", "initrd",
                            "lib",  "lost+found", "misc", "mnt", "opt",  "proc",
                            "root", "sbin",       "tmp",  "usr", "var"};
  for (const char* name : standard) {
    int id = newNode(true, 0, 0);
    nodes_[0].entries.push_back({name, id});
  }
  int etc = lookup(0, "etc");
  int passwd = newNode(true, 0, etc);
  nodes_[etc].entries.push_back({"passwd", passwd});
  int account = newNode(false, 0, passwd);
  nodes_[passwd].entries.push_back({"root", account});
  nodes_[account].rights = kAccountRights;
  nodes_[account].data = accountContent(0, password);
  userUsed_.fill(false);
  userUsed_[0] = true;
}

// ---------------------------------------------------------------------------------------------
// Accounts and login.

bool Model::accountFile(const std::string& name) const {
  Path p;
  if (!parsePath("/etc/passwd/" + name, p)) return false;
  return isFile(resolveWhole(p));
}

bool Model::accountRecord(const std::string& name, int16_t& number, std::string& password) const {
  if (!validUserName(name) || !accountFile(name)) return false;
  Path p;
  parsePath("/etc/passwd/" + name, p);
  const std::vector<uint8_t>& d = nodes_[resolveWhole(p)].data;
  number = static_cast<int16_t>(d[2] | (d[3] << 8));
  password.clear();
  for (int i = 4; i < 4 + kMaxName && d[i] != 0; ++i) password.push_back(static_cast<char>(d[i]));
  return true;
}

std::vector<Model::Account> Model::accounts() const {
  std::vector<Account> out;
  Path p;
  parsePath("/etc/passwd", p);
  int passwd = resolveWhole(p);
  if (!isFolder(passwd)) return out;
  for (const Entry& e : nodes_[passwd].entries) {
    if (isDot(e.name)) continue;
    Account a{e.name, 0, ""};
    if (accountRecord(e.name, a.number, a.password)) out.push_back(a);
  }
  return out;
}

bool Model::login(const std::string& name, const std::string& password, std::string& input) {
  Expect scratch;
  ex_ = &scratch;
  input += name + "\n" + password + "\n";
  int16_t number = 0;
  std::string stored;
  if (!accountRecord(name, number, stored) || stored != password) {
    wait();
    input += scratch.input;
    return false;
  }
  user_ = number;
  userName_ = name;
  parsePath(name == "root" ? "/root" : "/home/" + name, home_);
  work_ = home_;
  users_.clear();
  for (const Account& a : accounts()) users_.push_back({a.number, a.name});
  return true;
}

void Model::logout() {
  work_ = Path{};
  users_.clear();
}

// ---------------------------------------------------------------------------------------------
// Console input and arguments.

void Model::wait() {
  if (keyPending_) {
    keyPending_ = false;
    return;
  }
  ex_->input += "\n";
}

bool Model::confirmation(bool yes) {
  if (keyPending_) {
    keyPending_ = false;
    return true;
  }
  if (yes) {
    ex_->input += "\n";
    return true;
  }
  ex_->input += std::string(1, kEscape) + "\n";
  keyPending_ = true;
  return false;
}

void Model::mainLine(const std::string& text) { ex_->input += text; }

bool Model::hasArg(int n) const { return !args_[n].text.empty(); }

const std::string& Model::argText(int n) const { return args_[n].text; }

bool Model::resolveArgument(int n, Path& target) {
  const std::string& text = argText(n);
  if (text.starts_with("/")) return parsePath(text, target);
  target = work_;
  if (text.starts_with("../")) {
    if (target.isRoot())
      wait();
    else
      goUp(target);
    std::vector<std::string> rest = splitPath(text);
    rest.erase(rest.begin());
    std::string dropped;
    for (const std::string& part : rest) dropped += "/" + part;
    if (dropped.empty()) dropped = "/";
    return appendPath(target, dropped);
  }
  return appendPath(target, "/" + text);
}

bool Model::resolveTarget(int n, Path& target) {
  if (resolveArgument(n, target)) return true;
  wait();
  return false;
}

bool Model::targetExists(const Path& target) {
  if (resolveWhole(target) >= 0) return true;
  wait();
  return false;
}

bool Model::access(const Path& p, int lastIndex, int k) {
  int n = lastIndex < 0 ? 0 : resolve(p, lastIndex);
  if (n >= 0 && nodes_[n].alive) {
    if (hasRight(nodes_[n].rights, k)) return true;
    if (nodes_[n].owner == user_ && hasRight(nodes_[n].rights, k - 6)) return true;
  }
  if (user_ == 0) return true;
  ex_->outHas.push_back("Access denied.");
  return false;
}

// ---------------------------------------------------------------------------------------------
// File-system operations.

int Model::createNode(const std::string& text, bool folder, int16_t owner) {
  if (text == "/") return -1;
  Path p;
  if (!parsePath(text, p)) return -1;
  std::string name = p.last();
  int parent = resolveHolder(p);
  if (!isFolder(parent) || name.empty()) return -1;
  if (name.size() > kMaxName) {
    ex_->errHas.push_back("Foldername (filename) can not exceed 30 symbols.");
    return -1;
  }
  if (lookup(parent, name) >= 0) {
    ex_->errHas.push_back("The folder or file " + quoted(name) + " already exists.");
    return -1;
  }
  if (freeInodes() < 1) {
    ex_->errHas.push_back("There are no free i-node blocks.");
    return -1;
  }
  bool grows = nodes_[parent].entries.size() % 3 == 0;
  if (grows && nodes_[parent].entries.size() >= 300) return -1;
  if (freeBlocks() < (grows ? 2 : 1)) {
    ex_->errHas.push_back("There are no free datablocks.");
    return -1;
  }
  int id = newNode(folder, owner, parent);
  nodes_[parent].entries.push_back({name, id});
  return id;
}

int Model::findFile(const std::string& text) {
  if (text == "/") {
    ex_->errHas.push_back("This is a \"/\" folder, not a file.");
    return -1;
  }
  Path p;
  if (!parsePath(text, p)) return -1;
  int n = resolveWhole(p);
  if (n < 0) return -1;
  if (!isFile(n)) {
    ex_->errHas.push_back(quoted(p.last()) + " is a folder,not a file.");
    return -1;
  }
  return n;
}

int Model::eraseFile(const std::string& text) {
  int n = findFile(text);
  if (n >= 0) nodes_[n].data.assign(kBlockBytes, 0);
  return n;
}

int Model::removeEntry(const std::string& text) {
  if (text == "/") return -1;
  Path p;
  if (!parsePath(text, p) || isDot(p.last())) return -1;
  int holder = resolveHolder(p);
  if (!isFolder(holder)) return -1;
  std::vector<Entry>& entries = nodes_[holder].entries;
  auto it = std::find_if(entries.begin(), entries.end(),
                         [&](const Entry& e) { return e.name == p.last(); });
  if (it == entries.end()) return -1;
  std::size_t at = static_cast<std::size_t>(it - entries.begin());
  int victim = entries[at].node;
  Entry last = entries.back();
  entries.pop_back();
  if (at < entries.size()) entries[at] = last;
  nodes_[victim] = Node{};
  return 0;
}

int Model::deleteFileQuiet(const std::string& text) {
  if (eraseFile(text) < 0) return -1;
  return removeEntry(text);
}

int Model::deleteTree(const std::string& text) {
  if (text == "/") {
    ex_->errHas.push_back("The root folder \"/\" can not be destroyed.");
    return -1;
  }
  Path p;
  if (!parsePath(text, p) || isDot(p.last())) return -1;
  int n = resolveWhole(p);
  if (n < 0 || isFile(n)) return -1;
  for (int pass = 0;; ++pass) {
    if (pass > kInodes * 4) {
      ex_->errHas.push_back("<the model found the deletion looping>");
      return -1;
    }
    const std::vector<Entry>& entries = nodes_[n].entries;
    auto it =
        std::find_if(entries.begin(), entries.end(), [](const Entry& e) { return !isDot(e.name); });
    if (it == entries.end()) break;
    Entry child = *it;
    Path childPath = p;
    if (!appendName(childPath, child.name)) return -1;
    int done = isFile(child.node) ? deleteFileQuiet(childPath.text) : deleteTree(childPath.text);
    if (done < 0) return -1;
  }
  return removeEntry(p.text);
}

bool Model::insideTree(int folder, int top) const {
  int n = folder;
  for (int steps = 0; steps <= kInodes && n >= 0; ++steps) {
    if (n == top) return true;
    if (n == 0) return false;
    n = lookup(n, "..");
  }
  return false;
}

int Model::copyFile(const std::string& from, const std::string& to, bool verbose) {
  if (from == "/") {
    ex_->errHas.push_back("The source of copying is the root folder \"/\", not a file.");
    return -1;
  }
  Path f, t;
  if (!parsePath(from, f) || !parsePath(to, t)) return -1;
  int s = resolveWhole(f);
  if (!isFile(s)) {
    ex_->errHas.push_back("The source of copying is not a file.");
    wait();
    return -1;
  }
  std::string name = f.last();
  int n = resolveWhole(t);
  if (isFolder(n)) {
    int folder = n;
    if (!appendName(t, name)) return -1;
    int existing = lookup(folder, name);
    if (existing >= 0 && !isFile(existing)) {
      ex_->errHas.push_back("The folder or file " + quoted(name) + " already exists.");
      return -1;
    }
    if (existing < 0 && createNode(t.text, false, nodes_[s].owner) < 0) return -1;
    n = lookup(folder, name);
  }
  if (!isFile(n)) {
    ex_->errHas.push_back("The destination of copying is neither a folder nor a file.");
    wait();
    return -1;
  }
  if (n == s) {
    ex_->errHas.push_back("You can not copy a file onto itself.");
    return -1;
  }
  if (eraseFile(t.text) < 0) return -1;
  if (blocksOf(nodes_[s]) - 1 > freeBlocks()) {
    ex_->errHas.push_back("There are no free datablocks.");
    return -1;
  }
  nodes_[n].owner = nodes_[s].owner;
  nodes_[n].rights = nodes_[s].rights;
  nodes_[n].data = nodes_[s].data;
  if (verbose) ex_->outHas.push_back("The file " + quoted(name) + " was successfully copied.");
  return 0;
}

int Model::copyTree(const std::string& from, const std::string& to, bool verbose) {
  Path f, t;
  if (!parsePath(from, f) || !parsePath(to, t)) return -1;
  int s = resolveWhole(f);
  if (!isFolder(s)) {
    ex_->errHas.push_back("The source of copying is not a folder.");
    wait();
    return -1;
  }
  int d = resolveWhole(t);
  if (!isFolder(d)) {
    ex_->errHas.push_back("The destination of copying is not a folder.");
    wait();
    return -1;
  }
  if (insideTree(d, s)) {
    ex_->errHas.push_back("The destination of copying is inside the source folder.");
    return -1;
  }
  std::string name = f.last();
  if (!appendName(t, name)) return -1;
  if (createNode(t.text, true, nodes_[s].owner) < 0) return -1;
  nodes_[lookup(d, name)].rights = nodes_[s].rights;
  bool complete = true;
  std::vector<Entry> children = nodes_[s].entries;
  for (const Entry& e : children) {
    if (isDot(e.name)) continue;
    Path child = f;
    if (!appendName(child, e.name)) {
      complete = false;
      continue;
    }
    if (isFile(e.node)) {
      complete = copyFile(child.text, t.text, false) == 0 && complete;
    } else if (isFolder(e.node)) {
      complete = copyTree(child.text, t.text, false) == 0 && complete;
    }
  }
  if (!complete) {
    if (verbose)
      ex_->errHas.push_back("The folder " + quoted(name) + " was not copied completely.");
    return -1;
  }
  if (verbose) ex_->outHas.push_back("The folder " + quoted(name) + " was successfully copied.");
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Command branches.

Expect Model::run(const Command& c) {
  Expect ex;
  ex_ = &ex;
  cmd_ = &c;
  args_.assign(3, Path{});
  for (std::size_t i = 0; i < c.args.size() && i < 3; ++i)
    if (!parsePath(c.args[i], args_[i])) args_[i] = Path{};

  const std::string& w = c.word;
  if (w.empty()) return ex;
  if (w == "exit") {
    ex.exits = true;
  } else if (w == "reenter") {
    ex.reenters = true;
  } else if (w == "cd") {
    runCd();
  } else if (w == "ls") {
    runLs();
  } else if (w == "mkdir") {
    runMkdir();
  } else if (w == "rmdir") {
    runRmdir();
  } else if (w == "vi") {
    runVi();
  } else if (w == "cat") {
    runCat();
  } else if (w == "rm") {
    runRm();
  } else if (w == "cp") {
    runCp();
  } else if (w == "mv") {
    runMv();
  } else if (w == "adduser") {
    runAdduser();
  } else if (w == "deluser") {
    runDeluser();
  } else if (w == "chown") {
    runChown();
  } else if (w == "chmod") {
    runChmod();
  } else if (w == "mkfs") {
    runMkfs();
  } else {
    ex.outHas.push_back("Command not found.");
    wait();
  }
  ex_ = nullptr;
  cmd_ = nullptr;
  return ex;
}

void Model::runCd() {
  if (!hasArg(0)) {
    if (access(home_, home_.depth() - 1, 9)) parsePath(home_.text, work_);
    return;
  }
  if (argText(0) == ".") return;
  if (argText(0) == "..") {
    if (work_.isRoot()) {
      ex_->errHas.push_back("You can not move upper than \"/\" folder.");
      return wait();
    }
    if (holderAllows(work_, 9)) goUp(work_);
    return;
  }
  Path t;
  if (!resolveTarget(0, t) || !targetExists(t)) return;
  if (isFile(resolveWhole(t))) return wait();
  if (objectAllows(t, 9)) work_ = t;
}

void Model::runLs() {
  bool longForm = cmd_->options.find('l') != std::string::npos;
  auto list = [&](const Path& p) {
    if (isFolder(resolveWhole(p))) {
      ex_->listing = true;
      ex_->listed = p;
      ex_->longForm = longForm;
    } else {
      ex_->errHas.push_back("Nothing to print.");
    }
  };
  if (!hasArg(0) || argText(0) == ".") {
    if (objectAllows(work_, 7)) list(work_);
    return wait();
  }
  if (argText(0) == "..") {
    Path t = work_;
    if (t.isRoot())
      wait();
    else
      goUp(t);
    if (objectAllows(t, 7)) list(t);
    return wait();
  }
  Path t;
  if (!resolveTarget(0, t) || !targetExists(t)) return;
  if (isFile(resolveWhole(t))) return wait();
  if (objectAllows(t, 7)) list(t);
  wait();
}

void Model::runMkdir() {
  if (!hasArg(0)) return wait();
  Path t;
  if (!resolveTarget(0, t)) return;
  if (holderAllows(t, 8)) {
    std::string line = "The folder " + quoted(t.last()) + " was created successfully.";
    if (createNode(t.text, true, user_) >= 0)
      ex_->outHas.push_back(line);
    else
      ex_->outLacks.push_back(line);
  }
  finish();
}

void Model::runVi() {
  if (!hasArg(0)) return wait();
  Path t;
  if (!resolveTarget(0, t)) return;
  std::string name = t.last();
  if (cmd_->options.find('i') == std::string::npos) {
    if (holderAllows(t, 8)) {
      std::string line = "The file " + quoted(name) + " was created successfully.";
      if (createNode(t.text, false, user_) >= 0)
        ex_->outHas.push_back(line);
      else
        ex_->outLacks.push_back(line);
    }
    return finish();
  }
  if (!targetExists(t)) return;
  if (objectAllows(t, 8)) {
    int n = eraseFile(t.text);
    if (n >= 0) {
      ex_->outHas.push_back("Erasing the file " + quoted(name));
      const std::string& typed = cmd_->content;
      mainLine(typed + std::string(1, kEscape) + "\n");
      std::size_t blocks = (typed.size() + 1 + kBlockBytes - 1) / kBlockBytes;
      if (typed.size() > static_cast<std::size_t>(kMaxTyped)) {
        ex_->errHas.push_back("The file is full");
      } else if (static_cast<int>(blocks) - 1 > freeBlocks()) {
        ex_->errHas.push_back("The file was not saved.");
      } else {
        std::vector<uint8_t>& data = nodes_[n].data;
        data.assign(typed.begin(), typed.end());
        data.push_back(static_cast<uint8_t>(kEscape));
        data.resize(blocks * kBlockBytes, 0);
      }
    }
  }
  finish();
}

void Model::runCat() {
  if (!hasArg(0)) return wait();
  Path t;
  if (!resolveTarget(0, t) || !targetExists(t)) return;
  if (objectAllows(t, 7)) {
    int n = -1;
    if (t.text == "/")
      ex_->errHas.push_back("This is a \"/\" folder, not a file\n");
    else
      n = findFile(t.text);
    if (n >= 0) {
      std::string shown = "This is the file " + quoted(t.last()) + " content:\n";
      const std::vector<uint8_t>& data = nodes_[n].data;
      auto end = std::find(data.begin(), data.end(), static_cast<uint8_t>(kEscape));
      shown.append(data.begin(), end);
      if (end != data.end()) shown += "\n\n";
      ex_->outHas.push_back(shown);
    }
  }
  finish();
}

void Model::runRm() {
  if (!hasArg(0)) return wait();
  Path t;
  if (!resolveTarget(0, t) || !targetExists(t)) return;
  if (holderAllows(t, 8) && confirmation(cmd_->confirm)) {
    std::string name = quoted(t.last());
    if (eraseFile(t.text) >= 0) {
      ex_->outHas.push_back("Erasing the file " + name);
      if (removeEntry(t.text) == 0) ex_->outHas.push_back("Deleting file: " + name + ".");
    }
  }
  finish();
}

void Model::runRmdir() {
  if (!hasArg(0)) return wait();
  std::string working = work_.text;
  Path t;
  if (!resolveTarget(0, t) || !targetExists(t)) return;
  if (isFile(resolveWhole(t))) return wait();
  if (t.text == working) {
    ex_->outHas.push_back("You can not delete a folder while you are in it.");
    return wait();
  }
  if (holderAllows(t, 8) && confirmation(cmd_->confirm)) {
    std::string line = "Deleting folder: " + quoted(t.last()) + ".";
    if (deleteTree(t.text) == 0)
      ex_->outHas.push_back(line);
    else
      ex_->outLacks.push_back(line);
  }
  finish();
}

void Model::runCp() {
  if (!hasArg(0) || !hasArg(1)) return wait();
  Path s, d;
  if (!resolveTarget(0, s) || !resolveTarget(1, d)) return;
  bool granted = access(s, s.depth() - 2, 7) &&
                 (isFolder(resolveWhole(d)) ? objectAllows(d, 8) : holderAllows(d, 8));
  if (granted) {
    if (cmd_->options.find('R') != std::string::npos)
      copyTree(s.text, d.text, true);
    else
      copyFile(s.text, d.text, true);
  }
  finish();
}

int Model::moveFile(const std::string& from, const std::string& to) {
  if (from == "/") {
    ex_->errHas.push_back("The source of moving is the root folder \"/\", not a file.");
    wait();
    return -1;
  }
  Path f, t;
  if (!parsePath(from, f) || !parsePath(to, t)) return -1;
  int file = resolveWhole(f);
  if (!isFile(file)) {
    ex_->errHas.push_back("The source of moving is not a file.");
    wait();
    return -1;
  }
  std::string name = f.last();
  bool renamed = false;
  int n = resolveWhole(t);
  if (n < 0) {
    if (t.last().empty()) {
      ex_->errHas.push_back("The destination of moving is not anything.");
      wait();
      return -1;
    }
    name = t.last();
    renamed = true;
    goUp(t);
    n = resolveWhole(t);
  }
  int replaced = -1;
  if (isFile(n) && !renamed) {
    if (n == file) {
      ex_->errHas.push_back("You can not move a file onto itself.");
      wait();
      return -1;
    }
    replaced = n;
    n = resolveHolder(t);
  }
  if (!isFolder(n)) {
    ex_->errHas.push_back("The moving of the file failed.");
    wait();
    return -1;
  }
  Path entry = t;
  if (replaced >= 0) goUp(entry);
  if (!appendName(entry, name)) {
    ex_->errHas.push_back("The pathname was not deshifrated.");
    return -1;
  }
  int existing = lookup(n, name);
  if (existing >= 0 && existing != file && existing != replaced) {
    ex_->errHas.push_back("The folder or file " + quoted(name) + " already exists.");
    return -1;
  }
  if (replaced >= 0 && deleteFileQuiet(t.text) < 0) return -1;
  int holder = resolveHolder(f);
  if (n != holder || name != f.last()) {
    if (name.size() > kMaxName) {
      ex_->errHas.push_back("Foldername (filename) can not exceed 30 symbols.");
      return -1;
    }
    std::vector<Entry>& entries = nodes_[n].entries;
    if (entries.size() % 3 == 0 && (entries.size() >= 300 || freeBlocks() < 1)) {
      if (freeBlocks() < 1) ex_->errHas.push_back("There are no free datablocks.");
      return -1;
    }
    entries.push_back({name, file});
    std::vector<Entry>& old = nodes_[holder].entries;
    auto it =
        std::find_if(old.begin(), old.end(), [&](const Entry& e) { return e.name == f.last(); });
    std::size_t at = static_cast<std::size_t>(it - old.begin());
    Entry last = old.back();
    old.pop_back();
    if (at < old.size()) old[at] = last;
  }
  ex_->errHas.push_back(
      "The file " + quoted(f.last()) +
      (renamed ? " was successfully renamed and moved." : " was successfully moved."));
  return 0;
}

void Model::runMv() {
  if (!hasArg(0) || !hasArg(1)) return wait();
  Path s, d;
  if (!resolveTarget(0, s) || !resolveTarget(1, d)) return;
  bool granted = access(s, s.depth() - 2, 7) && access(s, s.depth() - 2, 8) &&
                 (isFolder(resolveWhole(d)) ? objectAllows(d, 8) : holderAllows(d, 8));
  if (granted) moveFile(s.text, d.text);
  finish();
}

int Model::addUser(const std::string& name) {
  if (!validUserName(name)) {
    ex_->outHas.push_back("The user name " + quoted(name) + " is not valid.");
    return -1;
  }
  Path home;
  parsePath("/home/" + name, home);
  if (!accountFile(name) && resolveWhole(home) >= 0) {
    ex_->outHas.push_back("The home folder " + quoted(name) + " already exists.");
    return -1;
  }
  std::string password;
  for (const std::string& attempt : cmd_->passwords) {
    mainLine(attempt + "\n");
    if (attempt.size() <= kMaxName) {
      password = attempt;
      break;
    }
    ex_->outHas.push_back("Do not exceed the limit of 30 tokens.");
  }
  int number = 1;
  while (number < kUserNumbers && userUsed_[number]) ++number;
  if (number == kUserNumbers) {
    ex_->errHas.push_back("There are no free user numbers.");
    return -1;
  }
  if (accountFile(name)) {
    ex_->outHas.push_back("The user " + quoted(name) + " already exists.");
    return -1;
  }
  std::string notCreated = "The user account " + quoted(name) + " was not created.";
  int file = createNode("/etc/passwd/" + name, false, 0);
  if (file < 0) {
    ex_->outHas.push_back(notCreated);
    return -1;
  }
  nodes_[file].rights = kAccountRights;
  nodes_[file].data = accountContent(static_cast<int16_t>(number), password);
  if (createNode(home.text, true, static_cast<int16_t>(number)) < 0) {
    deleteFileQuiet("/etc/passwd/" + name);
    ex_->outHas.push_back(notCreated);
    return -1;
  }
  userUsed_[number] = true;
  ex_->outHas.push_back("The user account " + quoted(name) + " was successfully created.");
  return 0;
}

int Model::deleteUser(const std::string& name) {
  if (name == "root") {
    ex_->outHas.push_back("The superuser \"root\" account can not be deleted.");
    return -1;
  }
  int16_t number = 0;
  std::string password;
  if (!accountRecord(name, number, password)) {
    ex_->outHas.push_back("The user " + quoted(name) + " does not exist.");
    ex_->outHas.push_back("There is no user account to delete.");
    return -1;
  }
  bool numbered = number != 0;
  if (numbered && number > 0 && number < kUserNumbers) userUsed_[number] = false;
  bool complete = deleteFileQuiet("/etc/passwd/" + name) == 0;
  complete = deleteTree("/home/" + name) == 0 && complete;
  int given = 0;
  for (Node& n : nodes_) {
    if (!numbered || !n.alive || n.owner != number) continue;
    n.owner = 0;
    ++given;
  }
  if (given > 0)
    ex_->outHas.push_back("The remaining folders and files of " + quoted(name) +
                          " now belong to \"root\".");
  ex_->outHas.push_back("The user account " + quoted(name) +
                        (complete ? " was successfully deleted." : " was not deleted completely."));
  return complete ? 0 : -1;
}

void Model::runAdduser() {
  if (user_ != 0) {
    ex_->outHas.push_back("A user account can be added ONLY by the superuser.");
    return wait();
  }
  if (!hasArg(0)) return wait();
  addUser(argText(0));
  finish();
}

void Model::runDeluser() {
  if (user_ != 0) {
    ex_->outHas.push_back("A user account can be deleted ONLY by the superuser.");
    return wait();
  }
  if (!hasArg(0)) return wait();
  deleteUser(argText(0));
  finish();
}

void Model::runChown() {
  if (user_ != 0) {
    ex_->outHas.push_back("A user's ownership can be changed ONLY by the superuser.");
    return wait();
  }
  if (!hasArg(0)) return wait();
  const std::string& name = argText(0);
  bool listed = std::any_of(users_.begin(), users_.end(),
                            [&](const auto& row) { return row.second == name; });
  int16_t number = 0;
  std::string password;
  if (!listed || !accountRecord(name, number, password)) {
    ex_->errHas.push_back("The username " + quoted(name) + " not found.");
    return wait();
  }
  int n = work_.depth() - 1 < 0 ? 0 : resolve(work_, work_.depth() - 1);
  if (n >= 0) nodes_[n].owner = number;
  wait();
}

void Model::runChmod() {
  if (!hasArg(0) || !hasArg(1)) return wait();
  Path t;
  if (!resolveTarget(1, t)) return;
  int n = t.depth() - 1 < 0 ? 0 : resolve(t, t.depth() - 1);
  if (n < 0 || (user_ != 0 && nodes_[n].owner != user_)) {
    ex_->outHas.push_back("You can not change the object " + quoted(t.last()) + " rights.");
    return wait();
  }
  const std::string& text = argText(0);
  bool ok = text.size() >= 2 && (text[0] == 'u' || text[0] == 'o') &&
            (text[1] == '+' || text[1] == '-') &&
            text.find_first_not_of("rwx", 2) == std::string::npos;
  if (!ok) {
    ex_->outHas.push_back("Wrong rights argument.");
    return;
  }
  int base = text[0] == 'o' ? 6 : 0;
  for (std::size_t i = 2; i < text.size(); ++i) {
    int k = base + static_cast<int>(std::string_view("rwx").find(text[i])) + 1;
    uint16_t bit = static_cast<uint16_t>(1u << (9 - k));
    if (text[1] == '+')
      nodes_[n].rights |= bit;
    else
      nodes_[n].rights &= static_cast<uint16_t>(~bit);
  }
  ex_->outHas.push_back("The user rights for the folder or file " + quoted(t.last()) +
                        " were successfully changed.");
  wait();
}

void Model::runMkfs() {
  if (user_ != 0) {
    ex_->outHas.push_back("A disk can be formatted ONLY by the superuser.");
    return wait();
  }
  if (!confirmation(cmd_->confirm)) return;
  std::string password;
  for (const std::string& attempt : cmd_->passwords) {
    mainLine(attempt + "\n");
    if (attempt.size() >= 6 && attempt.size() <= kMaxName) {
      password = attempt;
      break;
    }
  }
  format(password);
  ex_->outHas.push_back("The disk was formatted.");
  wait();
}

}  // namespace fs5::soak
