// The command line of fs5: the options every command takes, each command's own, the help and
// version texts, and the dispatch.
#include <algorithm>
#include <iomanip>
#include <string>
#include <vector>

#include "tools/fs5/Session.h"

namespace fs5 {

int copyIntoImage(Session& s, const std::vector<std::string>& sources, const std::string& dest);
int copyOutOfImage(Session& s, const std::vector<std::string>& sources, const std::string& dest);

namespace {

struct ToolCommand {
  const char* word;
  const char* letters;  // the one-letter options it takes
  int (*run)(Session&);
  const char* usage;
  const char* summary;
  const char* help;
};

int runCopyCommand(Session& s);

// clang-format off
constexpr ToolCommand kToolCommands[] = {
    {"cp", "Rn", runCopyCommand, "cp [-R] [-n] SOURCE... DEST", "copy files in or out of the image",
     "Copies files between the host and the image; exactly one side is in the image. DEST is a\n"
     "folder (each source goes into it under its own name) or, for one source, a file name.\n"
     "  -R  copy folder trees\n"
     "  -n  never replace an existing file\n"},
    {"ls", "l", runList, "ls [-l] [PATH...]", "list folders",
     "Lists image folders as the console's ls does (::/ when no PATH is given).\n"
     "  -l  add the rights and the owner of each entry\n"},
    {"cat", "", runPrint, "cat PATH...", "print files", "Writes the content of image files as it is.\n"},
    {"mkdir", "", runMakeFolders, "mkdir PATH...", "make folders", "Makes folders in the image.\n"},
    {"rm", "R", runRemove, "rm [-R] PATH...", "delete files and folder trees",
     "Deletes files from the image.\n"
     "  -R  delete folders with everything in them\n"},
    {"stat", "", runStat, "stat PATH...", "print records",
     "Prints the record of each object: i-node, kind, owner, rights, datablocks, length.\n"},
    {"map", "", runMap, "map [--path PATH]", "draw the image",
     "Draws the image: its regions, then every i-node and datablock as one cell, marked free,\n"
     "folder, file, account or leaked (used in the map, reached by nothing).\n"
     "  --path PATH  highlight the i-node and datablocks of one object\n"},
};
// clang-format on

constexpr const char* kCommonOptions =
    "Options of every command:\n"
    "  -i IMAGE  the disk image (disk.fs5 in the current folder when none is given)\n"
    "  -u NAME   act as the account NAME, with its rights (the superuser when none is given)\n";

constexpr const char* kAbout =
    "Copies files between the host and an fs5 disk image and looks inside the image, without\n"
    "a console session. An image path is \"::\" and an absolute path (::/home/anna/notes); any\n"
    "other argument is a host path.\n";

const ToolCommand* findToolCommand(const std::string& word) {
  for (const ToolCommand& c : kToolCommands)
    if (word == c.word) return &c;
  return nullptr;
}

void printToolUsage(std::ostream& out) {
  out << "Usage: fs5 [-i IMAGE] [-u NAME] COMMAND [ARGUMENTS]\n" << kAbout << "Commands:\n";
  for (const ToolCommand& c : kToolCommands)
    out << "  " << std::left << std::setw(32) << c.usage << c.summary << "\n";
  out << kCommonOptions
      << "  --help    print this text; fs5 COMMAND --help prints the command's\n"
         "  --version print the version\n"
         "Exit status: 0 success, 1 something failed, 2 usage error.\n";
}

void printCommandUsage(std::ostream& out, const ToolCommand& c) {
  out << "Usage: fs5 [-i IMAGE] [-u NAME] " << c.usage << "\n" << c.help << kCommonOptions;
}

int refuseToolUsage(std::ostream& err, const std::string& why, const ToolCommand* c) {
  err << "fs5: " << why << "\n"
      << "Usage: fs5 [-i IMAGE] [-u NAME] " << (c != nullptr ? c->usage : "COMMAND [ARGUMENTS]")
      << "\n";
  return TOOL_USAGE;
}

enum class Parsed { kRun, kHelp, kVersion, kError };

// Takes the value of -i, -u or --path from the next argument. False when there is none.
bool takeValue(const std::vector<std::string>& args, std::size_t& i, std::string& value) {
  if (i + 1 >= args.size()) return false;
  value = args[++i];
  return true;
}

Parsed parseOption(const std::vector<std::string>& args, std::size_t& i, ToolOptions& o,
                   const ToolCommand* c, std::string& why) {
  const std::string& arg = args[i];
  if (arg == "--help") return Parsed::kHelp;
  if (arg == "--version" && c == nullptr) return Parsed::kVersion;
  bool valued = arg == "-i" || arg == "-u" || (arg == "--path" && c != nullptr && c->run == runMap);
  if (valued) {
    std::string& value = arg == "-i" ? o.image : arg == "-u" ? o.user : o.mapPath;
    if (takeValue(args, i, value)) return Parsed::kRun;
    why = "the option " + arg + " needs a value.";
    return Parsed::kError;
  }
  for (char letter : arg.substr(1)) {
    if (c == nullptr || arg.starts_with("--") ||
        std::string(c->letters).find(letter) == std::string::npos) {
      why = "unknown option \"" + arg + "\".";
      return Parsed::kError;
    }
    o.options.push_back(letter);
  }
  return Parsed::kRun;
}

Parsed parseToolArguments(const std::vector<std::string>& args, ToolOptions& o,
                          const ToolCommand*& c, std::string& why) {
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      Parsed p = parseOption(args, i, o, c, why);
      if (p != Parsed::kRun) return p;
    } else if (c == nullptr) {
      c = findToolCommand(arg);
      o.command = arg;
      if (c == nullptr) why = "unknown command \"" + arg + "\".";
      if (c == nullptr) return Parsed::kError;
    } else {
      o.operands.push_back(arg);
    }
  }
  if (c == nullptr) why = "no command given.";
  return c == nullptr ? Parsed::kError : Parsed::kRun;
}

// The arguments a command needs, as usage errors: "" when they are right.
std::string checkOperands(const ToolOptions& o) {
  const std::vector<std::string>& args = o.operands;
  bool anyHost =
      std::any_of(args.begin(), args.end(), [](const std::string& a) { return !isImagePath(a); });
  if (o.command == "cp") {
    if (args.size() < 2) return "cp needs a source and a destination.";
    auto inImage = std::count_if(args.begin(), args.end(), isImagePath);
    bool destInImage = isImagePath(args.back());
    if (destInImage ? inImage != 1 : inImage != static_cast<long>(args.size()) - 1)
      return "exactly one side of a copy is in the image (its paths start with \"::/\").";
  } else if (o.command == "map") {
    if (!args.empty()) return "map takes no path but --path's.";
    if (!o.mapPath.empty() && !isImagePath(o.mapPath)) return "--path needs an image path.";
  } else if (anyHost) {
    return o.command + " takes image paths only (they start with \"::/\").";
  } else if (args.empty() && o.command != "ls") {
    return o.command + " needs at least one path.";
  }
  for (const std::string& a : args)
    if (isImagePath(a) && !imagePathText(a).starts_with("/"))
      return "the image path \"" + a + "\" is not absolute (\"::/\" starts one).";
  return "";
}

int runCopyCommand(Session& s) {
  std::vector<std::string> sources = s.options().operands;
  std::string dest = sources.back();
  sources.pop_back();
  bool inward = isImagePath(dest);
  if (!s.open(inward)) return s.status();
  return inward ? copyIntoImage(s, sources, dest) : copyOutOfImage(s, sources, dest);
}

}  // namespace

int runHostTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                bool colour) {
  ToolOptions options;
  options.colour = colour;
  const ToolCommand* command = nullptr;
  std::string why;
  switch (parseToolArguments(args, options, command, why)) {
    case Parsed::kHelp:
      command != nullptr ? printCommandUsage(out, *command) : printToolUsage(out);
      return TOOL_OK;
    case Parsed::kVersion:
      out << "fs5 " << FS5_VERSION << "\n";
      return TOOL_OK;
    case Parsed::kError:
      return refuseToolUsage(err, why, command);
    case Parsed::kRun:
      break;
  }
  why = checkOperands(options);
  if (!why.empty()) return refuseToolUsage(err, why, command);
  Session session(options, out, err);
  return command->run(session);
}

}  // namespace fs5
