// The host tool fs5: files copied between the host and a disk image, and a look inside the
// image, from the host's shell. It is a front end over the storage, fsops and users layers,
// as the console is: every rule (names, rights, creation, deletion, content) is theirs. All of
// its calls into the fsops layer are in ImageOps.h.
//
// A Session is one command's run on one image: the parsed options, the image stream, the
// acting user, the console the lower layers print through (kept, never shown as it is), and
// the exit status. Failures are one line each on standard error, "fs5: PATH: reason".
#ifndef FS5_TOOLS_FS5_SESSION_H_
#define FS5_TOOLS_FS5_SESSION_H_

#include <memory>
#include <sstream>
#include <vector>

#include "console/Console.h"
#include "fsops/Lookup.h"
#include "path/PathName.h"
#include "storage/Inode.h"

namespace fs5 {

// The exit statuses: success, anything failed, a usage error.
enum ToolStatus { TOOL_OK = 0, TOOL_FAILED = 1, TOOL_USAGE = 2 };

// The command line, parsed: the image, the account, the command word, its one-letter options
// (R, n, l), map's --path and the remaining arguments in order.
struct ToolOptions {
  std::string image = "disk.fs5";
  std::string user;
  std::string command;
  std::string options;
  std::string mapPath;
  std::vector<std::string> operands;
  bool colour = false;
  bool has(char letter) const { return options.find(letter) != std::string::npos; }
};

// True when the argument names something in the image: "::" and then the path.
bool isImagePath(std::string_view arg);
// The image path of an argument starting with "::": the text after it, without the slashes
// that end it ("::/a/" gives "/a", "::/" gives "/").
std::string imagePathText(std::string_view arg);

class Session {
 public:
  Session(const ToolOptions& options, std::ostream& out, std::ostream& err);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Opens the image, for reading and writing when `writes`, and finds the acting user. False
  // after the failure line: the image missing, not a regular file, empty, not formatted,
  // read-only (for a command that writes), or no such account.
  bool open(bool writes);

  const ToolOptions& options() const { return options_; }
  DiskStream& ds() { return *ds_; }
  int16_t user() const { return user_; }
  std::ostream& out() { return out_; }

  // Prints "fs5: <path>: <reason>" on standard error; the run ends with status 1.
  void fail(std::string_view path, std::string_view reason);
  // fail() with the first line the lower layers printed on standard error since the last
  // call, or `fallback` when they printed none (or the image failed: then its own line).
  void failWithReason(std::string_view path, std::string_view fallback);
  // What the lower layers printed on standard output since the last call.
  std::string takeOutput();
  int status() const { return status_; }

  // Parses the image path of `arg` ("::" and the path); false after the failure line naming
  // `named` (the path too long or too deep).
  bool parseImagePath(std::string_view arg, std::string_view named, PathName& path);
  // Parses the image path of `arg` and looks up what it names, once, into `found`. False after
  // the failure line ("no such file or folder.", or why the record can not be used).
  bool findObject(std::string_view arg, Handle& found);
  // Before an operation of the lower layers: forgets what they printed so far.
  void clearMessages();

  // The image's lock around one reading of one argument: shared, so consoles and other readers
  // wait only while it reads. A writing command takes the stream's exclusive lock instead.
  void beginReading();
  void endReading();
  // Ends the command's writing as one transaction: when everything succeeded the image's lock
  // is given back, which commits it; after any refusal or failure the command's changes are
  // dropped unwritten, so the image is left as it was.
  void endWriting();

 private:
  bool checkImageFile(bool writes);
  bool findUser();

  ToolOptions options_;
  std::ostream& out_;
  std::ostream& err_;
  std::istringstream noInput_;
  std::ostringstream said_;
  std::ostringstream complained_;
  Console con_{noInput_, said_, complained_};
  std::unique_ptr<DiskStream> ds_;
  FileDiskStream* writer_ = nullptr;
  int readLock_ = -1;
  int16_t user_ = 0;
  int status_ = TOOL_OK;
};

// Why a new name can not be given to an object made in the image, or "" when it can: longer
// than 30 characters, or holding a blank or a control character (the console could not type
// it; the creation refuses the rest).
std::string nameRefusal(std::string_view name);

// The commands; each returns the session's status.
int runCopy(Session& s);
int runList(Session& s);
int runPrint(Session& s);
int runMakeFolders(Session& s);
int runRemove(Session& s);
int runStat(Session& s);
int runMap(Session& s);

// The whole program over its arguments (without the program name). `colour` says whether
// standard output is a terminal (map draws in colour then).
int runHostTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                bool colour);

}  // namespace fs5

#endif  // FS5_TOOLS_FS5_SESSION_H_
