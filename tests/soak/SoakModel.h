// The soak test's model of the system: the tree of folders and files with their owners,
// rights and datablock contents, the user map, and the shell's login state. Given one command
// line and the answers planned for its questions, the model works out what the shell will
// read from the console (in the order it reads it), what it must print, and what the image
// must hold afterwards. The model is written from the commands' documented behaviour; it
// shares no code with the system except the fixed sizes.
#ifndef FS5_TESTS_SOAK_SOAKMODEL_H_
#define FS5_TESTS_SOAK_SOAKMODEL_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fs5::soak {

inline constexpr int kInodes = 100;
inline constexpr int kBlocks = 1000;
inline constexpr int kUserNumbers = 100;
inline constexpr int kBlockBytes = 100;
inline constexpr int kMaxName = 30;
inline constexpr int kMaxDepth = 8;
inline constexpr int kMaxPathText = 239;
inline constexpr int kMaxTyped = 9999;
inline constexpr char kEscape = 27;
inline constexpr uint16_t kFolderRights = 0x1ED;
inline constexpr uint16_t kFileRights = 0x1A4;
inline constexpr uint16_t kAccountRights = 0x180;

// A path as the shell holds it: its components and its text ("/" is the root, no components).
struct Path {
  std::vector<std::string> parts;
  std::string text;
  bool isRoot() const { return text == "/"; }
  int depth() const { return static_cast<int>(parts.size()); }
  // The last component, "/" for the root.
  std::string last() const { return parts.empty() ? "/" : parts.back(); }
  std::string part(int i) const { return i >= 0 && i < depth() ? parts[i] : std::string(); }
};

// "/a//b" -> [a, "", b]; the text after a leading "/" split at every "/".
std::vector<std::string> splitPath(std::string_view text);
// False when the text is longer than 239 characters or has more than 8 components.
bool parsePath(std::string_view text, Path& out);
// Appends one component; false (unchanged) past 8 components or 239 characters.
bool appendName(Path& p, std::string_view name);
// Drops the last component (the caller has made sure it is not the root).
void goUp(Path& p);
// Appends a path text that begins with "/"; false (unchanged) past the limits.
bool appendPath(Path& p, std::string_view path);

struct Entry {
  std::string name;
  int node = -1;
};

struct Node {
  bool alive = false;
  bool folder = false;
  int16_t owner = 0;
  uint16_t rights = 0;
  std::vector<uint8_t> data;   // a file's datablocks, 100 bytes each, in list order
  std::vector<Entry> entries;  // a folder's entries in slot order, ".." and "." first
};

// What one command is to be given: the line typed at the prompt and the answers to the
// questions it may ask. The model decides which of them the shell will actually read.
struct Command {
  std::string word;
  std::string options;  // option letters, typed as one group "-<letters>"
  std::vector<std::string> args;
  bool confirm = true;                 // Enter (true) or Escape at a confirmation
  std::string content;                 // vi -i typing, without the closing Escape
  std::vector<std::string> passwords;  // adduser and mkfs attempts, in order
  std::string line() const;
};

// What the model expects from one command.
struct Expect {
  std::string input;  // the console lines the shell reads, in the order it reads them
  std::vector<std::string> outHas, outLacks, errHas, errLacks;
  bool exits = false;
  bool reenters = false;
  bool listing = false;  // ls prints a listing: checked against the image's i-node numbers
  Path listed;
  bool longForm = false;
};

class Model {
 public:
  Model() = default;

  // A freshly formatted standard image whose superuser password is `password`.
  void format(const std::string& password);

  // Login: true when `name` has an account with `password`; `input` gets the lines read.
  // A refused attempt reads one more key (its wait).
  bool login(const std::string& name, const std::string& password, std::string& input);
  void logout();
  // A new program run: its console buffers start empty.
  void newConsole() { keyPending_ = false; }

  // Runs one command against the model.
  Expect run(const Command& c);

  // Read access for the generator and the image comparison.
  const std::vector<Node>& nodes() const { return nodes_; }
  int lookup(int folder, const std::string& name) const;
  int resolve(const Path& p, int lastIndex) const;
  int resolveWhole(const Path& p) const { return resolve(p, p.depth() - 1); }
  int freeInodes() const;
  int freeBlocks() const;
  int usedBlocks() const;
  bool userNumberUsed(int u) const { return userUsed_[u]; }
  // The accounts: name, number and password, in the order of /etc/passwd.
  struct Account {
    std::string name;
    int16_t number;
    std::string password;
  };
  std::vector<Account> accounts() const;
  int16_t currentUser() const { return user_; }
  const std::string& userName() const { return userName_; }
  const Path& workFolder() const { return work_; }
  // The users table of the current login.
  const std::vector<std::pair<int16_t, std::string>>& usersTable() const { return users_; }
  bool keyPending() const { return keyPending_; }
  static int blocksOf(const Node& n);

 private:
  // Console input, in reading order.
  void wait();
  bool confirmation(bool yes);
  void mainLine(const std::string& text);

  // Arguments of the current command.
  bool hasArg(int n) const;
  const std::string& argText(int n) const;
  bool resolveArgument(int n, Path& target);
  bool resolveTarget(int n, Path& target);
  bool targetExists(const Path& target);
  bool isFile(int node) const;
  bool isFolder(int node) const;
  bool access(const Path& p, int lastIndex, int k);
  bool holderAllows(const Path& p, int k) { return access(p, p.depth() - 2, k); }
  bool objectAllows(const Path& p, int k) { return access(p, p.depth() - 1, k); }
  void finish() { wait(); }

  // Operations on the tree, mirroring the file-system operations.
  int resolveHolder(const Path& p) const;
  int newNode(bool folder, int16_t owner, int parent);
  int createNode(const std::string& text, bool folder, int16_t owner);
  int findFile(const std::string& text);
  int eraseFile(const std::string& text);
  int removeEntry(const std::string& text);
  int deleteFileQuiet(const std::string& text);
  int deleteTree(const std::string& text);
  int copyFile(const std::string& from, const std::string& to, bool verbose);
  int copyTree(const std::string& from, const std::string& to, bool verbose);
  int moveFile(const std::string& from, const std::string& to);
  bool insideTree(int folder, int top) const;

  // Branches.
  void runCd();
  void runLs();
  void runMkdir();
  void runVi();
  void runCat();
  void runRm();
  void runRmdir();
  void runCp();
  void runMv();
  void runAdduser();
  void runDeluser();
  void runChown();
  void runChmod();
  void runMkfs();

  int addUser(const std::string& name);
  int deleteUser(const std::string& name);
  bool accountFile(const std::string& name) const;
  bool accountRecord(const std::string& name, int16_t& number, std::string& password) const;
  std::vector<uint8_t> accountContent(int16_t number, const std::string& password) const;

  std::vector<Node> nodes_;
  std::array<bool, kUserNumbers> userUsed_{};

  // Login state.
  int16_t user_ = 0;
  std::string userName_;
  Path home_;
  Path work_;
  std::vector<std::pair<int16_t, std::string>> users_;
  bool keyPending_ = false;  // a "\n" left in the key buffer after an Escape answer

  // The command being run.
  const Command* cmd_ = nullptr;
  std::vector<Path> args_;
  Expect* ex_ = nullptr;
};

}  // namespace fs5::soak

#endif  // FS5_TESTS_SOAK_SOAKMODEL_H_
