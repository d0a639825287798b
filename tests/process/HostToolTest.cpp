// The host tool fs5 run as a process: copies between host folders and an image, the
// refusals made before anything is written, the rights of -u, and the image sound after each.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <thread>

#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

namespace fsys = std::filesystem;

// "status|standard output|standard error" of `fs5 args` run in `dir`.
std::string runFs5(const TempDir& dir, const std::string& args) {
  int raw = std::system(("cd " + dir.path() + " && " + FS5_BINARY_DIR + "/fs5 " + args +
                         " </dev/null >stdout 2>stderr")
                            .c_str());
  std::vector<uint8_t> out = readBytes(dir.file("stdout")), err = readBytes(dir.file("stderr"));
  return std::to_string(WEXITSTATUS(raw)) + "|" + std::string(out.begin(), out.end()) + "|" +
         std::string(err.begin(), err.end());
}

void writeText(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Every file under `root` by its relative path, with its bytes; folders as "<folder>".
std::map<std::string, std::string> treeOf(const std::string& root) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fsys::recursive_directory_iterator(root)) {
    std::string name = fsys::relative(entry.path(), root).string();
    std::vector<uint8_t> bytes;
    if (entry.is_regular_file()) bytes = readBytes(entry.path().string());
    tree[name] = entry.is_directory() ? "<folder>" : std::string(bytes.begin(), bytes.end());
  }
  return tree;
}

// A tree of files from empty to the largest a file can be, holding every byte value but 27,
// with names of 1 to 30 characters, four folders deep.
void makeTree(const std::string& root) {
  std::mt19937 random(5);
  std::string allBytes;
  for (int i = 0; allBytes.size() < 9999; ++i)
    if (i % 256 != 27) allBytes.push_back(static_cast<char>(i % 256));
  fsys::create_directories(root + "/sub/deeper/x");
  writeText(root + "/largest", allBytes);
  writeText(root + "/empty", "");
  writeText(root + "/1", allBytes.substr(200, 1));
  writeText(root + "/sub/a-name_of.thirty+chars=long", allBytes.substr(1, 99) + std::string(2, 0));
  writeText(root + "/sub/deeper/99", allBytes.substr(300, 99));
  for (int i = 0; i < 12; ++i) {
    std::string bytes(std::uniform_int_distribution<int>(500, 3000)(random), '\0');
    for (char& c : bytes) c = static_cast<char>(allBytes[random() % allBytes.size()]);
    writeText(root + "/sub/deeper/x/f" + std::to_string(i), bytes);
  }
}

class HostTool : public ::testing::Test {
 protected:
  void SetUp() override { writeBytes(image, standardImage()); }
  void expectSound() { EXPECT_EQ(checkImageProblems(image), std::vector<std::string>{}); }
  TempDir dir;
  std::string image = dir.file("disk.fs5");
};

TEST_F(HostTool, CopiesATreeInAndOutUnchanged) {
  makeTree(dir.file("tree"));
  EXPECT_EQ(runFs5(dir, "cp -R tree ::/tmp"), "0||");
  expectSound();
  EXPECT_EQ(runFs5(dir, "ls ::/tmp/tree"),
            "0|The folder \"tree\" content:\n\ntree          i-node\n ├ .            20\n"
            " ├ ..           15\n ├ sub          24\n ╟ 1            21\n ╟ empty        22\n"
            " ╚ largest      23\n\n|");
  EXPECT_EQ(runFs5(dir, "stat ::/tmp/tree/sub/deeper/99"),
            "0|::/tmp/tree/sub/deeper/99\n  i-node      27\n  kind        file\n"
            "  owner       root (0)\n  rights      rw-r--r--\n  blocks      1\n"
            "  datablocks  135\n  length      99 bytes\n|");
  EXPECT_EQ(runFs5(dir, "cp -R ::/tmp/tree back"), "0||");
  EXPECT_EQ(treeOf(dir.file("back")), treeOf(dir.file("tree")));
  EXPECT_EQ(fsys::status(dir.file("back/largest")).permissions(),
            fsys::perms::owner_read | fsys::perms::owner_write | fsys::perms::group_read |
                fsys::perms::others_read);
  // A second copy replaces each file in place; -n keeps what is there.
  writeText(dir.file("tree/1"), "new");
  writeText(dir.file("back/empty"), "kept");
  EXPECT_EQ(runFs5(dir, "cp -Rn tree ::/tmp"), "0||");
  EXPECT_EQ(runFs5(dir, "cat ::/tmp/tree/1"), "0|\xc9|");
  EXPECT_EQ(runFs5(dir, "cp -R tree ::/tmp"), "0||");
  EXPECT_EQ(runFs5(dir, "cp -R -n ::/tmp/tree back"), "0||");
  EXPECT_EQ(runFs5(dir, "cat ::/tmp/tree/1 ::/tmp/tree/empty back/empty"),
            "2||fs5: cat takes image paths only (they start with \"::/\").\n"
            "Usage: fs5 [-i IMAGE] [-u NAME] cat PATH...\n");
  EXPECT_EQ(runFs5(dir, "cat ::/tmp/tree/1 ::/tmp/tree/empty ::/tmp/tree/1"), "0|newnew|");
  EXPECT_EQ(treeOf(dir.file("back"))["empty"], "kept");
  EXPECT_EQ(runFs5(dir, "cp ::/tmp/tree/1 one"), "0||");
  EXPECT_EQ(readBytes(dir.file("one")), (std::vector<uint8_t>{'n', 'e', 'w'}));
  EXPECT_TRUE(runFs5(dir, "rm -R ::/tmp/tree").starts_with("0||"));
  EXPECT_EQ(readBytes(image), standardImage());
}

TEST_F(HostTool, RefusesWhatTheImageCanNotHoldBeforeWritingAnything) {
  writeText(dir.file("mark"), "abcde\x1b");
  writeText(dir.file("long"), std::string(10000, 'a'));
  writeText(dir.file("a b"), "");
  writeText(dir.file(std::string(31, 'n')), "");
  writeText(dir.file("good"), "fine");
  fsys::create_symlink("good", dir.file("link"));
  ::mkfifo(dir.file("fifo").c_str(), 0644);
  EXPECT_EQ(runFs5(dir, "cp mark long 'a b' nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn link fifo good ::/tmp"),
            "1||fs5: mark: the content holds the byte 27 (the end mark) at offset 5.\n"
            "fs5: long: the file is 10000 bytes long; the largest file holds 9999 bytes.\n"
            "fs5: a b: the name holds a blank, which the console can not type.\n"
            "fs5: nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn: the name is longer than 30 characters.\n"
            "fs5: link: is neither a regular file nor a folder; it is not copied.\n"
            "fs5: fifo: is neither a regular file nor a folder; it is not copied.\n");
  EXPECT_EQ(runFs5(dir, "cp good ::/a/b/c/d/e/f/g/h/i"),
            "1||fs5: good: The maximum pathname depth can not exceed 8 levels.\n");
  std::string thirty(30, 't'), path;
  for (int i = 0; i < 7; ++i) path += "/" + thirty;
  fsys::create_directories(dir.file("deep") + path);
  writeText(dir.file("deep") + path + "/" + thirty, "");
  EXPECT_EQ(runFs5(dir, "cp -R deep/" + thirty + " ::/"),
            "1||fs5: deep" + path + "/" + thirty +
                ": The maximum pathname length can not exceed 239 symbols.\n");
  EXPECT_EQ(runFs5(dir, "cp good ::/tmp/good/x"),
            "1||fs5: ::/tmp/good/x: the folder that would hold it does not exist.\n");
  EXPECT_EQ(runFs5(dir, "cp good ./good ::/tmp"),
            "1||fs5: ./good: ::/tmp/good is copied from good too.\n");
  EXPECT_EQ(readBytes(image), standardImage());
  fsys::create_directories(dir.file("many"));
  for (int i = 0; i < 81; ++i) writeText(dir.file("many/") + std::to_string(i), "");
  for (int i = 0; i < 10; ++i)
    writeText(dir.file("big") + std::to_string(i), std::string(9999, 'b'));
  EXPECT_EQ(runFs5(dir, "cp -R many ::/tmp"),
            "1||fs5: ::/tmp: the copy needs 82 free i-nodes; the image has 80.\n");
  EXPECT_EQ(runFs5(dir, "cp big0 big1 big2 big3 big4 big5 big6 big7 big8 big9 ::/tmp"),
            "1||fs5: ::/tmp: the copy needs 1003 free datablocks; the image has 974.\n");
  EXPECT_EQ(readBytes(image), standardImage());
}

TEST_F(HostTool, ActsWithTheRightsOfTheAccountGiven) {
  {
    ImageStream s(image);
    addAccount(s.ds, "anna", "pw");
  }
  pokeRecord(image, {"poke", "inode", "15", "2", "ff", "01"});  // /tmp rwxrwxrwx
  writeText(dir.file("f"), "text");
  EXPECT_EQ(runFs5(dir, "-u anna cat ::/etc/passwd/root"),
            "1||fs5: ::/etc/passwd/root: access denied.\n");
  EXPECT_EQ(
      runFs5(dir, "cp -R ::/etc out -u anna"),
      "1||fs5: ::/etc/passwd/root: access denied.\nfs5: ::/etc/passwd/anna: access denied.\n");
  EXPECT_EQ(treeOf(dir.file("out")).size(), 1u);
  EXPECT_EQ(runFs5(dir, "-u anna cp f ::/root"), "1||fs5: f: access denied.\n");
  EXPECT_EQ(runFs5(dir, "-u anna cp f ::/root/g"), "1||fs5: f: access denied.\n");
  EXPECT_EQ(runFs5(dir, "-u anna mkdir ::/bin/x ::/tmp/x"), "1||fs5: ::/bin/x: access denied.\n");
  // One refused path leaves the whole command undone: /tmp/x was not made either.
  EXPECT_EQ(runFs5(dir, "-u anna rm -R ::/home/anna ::/tmp/x"),
            "1||fs5: ::/home/anna: access denied.\nfs5: ::/tmp/x: no such file or folder.\n");
  EXPECT_EQ(runFs5(dir, "-u anna cp f ::/tmp"), "0||");
  EXPECT_EQ(runFs5(dir, "-u anna cp f ::/tmp/g"), "0||");
  EXPECT_EQ(runFs5(dir, "cp f ::/tmp/f"), "0||");
  std::string stat = runFs5(dir, "stat ::/tmp/f ::/tmp/x");
  EXPECT_NE(stat.find("owner       anna (1)\n  rights      rw-r--r--\n"), std::string::npos);
  EXPECT_NE(stat.find("fs5: ::/tmp/x: no such file or folder.\n"), std::string::npos);
  EXPECT_EQ(runFs5(dir, "-u nobody ls"),
            "1||fs5: nobody: there is no such account in the image.\n");
  expectSound();
}

TEST_F(HostTool, CommandLineAndImageFailures) {
  EXPECT_EQ(runFs5(dir, "--version"), "0|fs5 0.1\n|");
  EXPECT_TRUE(runFs5(dir, "--help").starts_with("0|Usage: fs5 [-i IMAGE] [-u NAME] COMMAND"));
  EXPECT_TRUE(runFs5(dir, "rm --help").starts_with("0|Usage: fs5 [-i IMAGE] [-u NAME] rm [-R] "));
  EXPECT_EQ(runFs5(dir, "ls -R"),
            "2||fs5: unknown option \"-R\".\nUsage: fs5 [-i IMAGE] [-u NAME] ls [-l] [PATH...]\n");
  EXPECT_EQ(runFs5(dir, "ls -i"),
            "2||fs5: the option -i needs a value.\nUsage: fs5 [-i IMAGE] [-u NAME] ls [-l] "
            "[PATH...]\n");
  EXPECT_TRUE(runFs5(dir, "cp ::/a ::/b").starts_with("2||fs5: exactly one side of a copy"));
  EXPECT_TRUE(runFs5(dir, "mkdir ::a").starts_with("2||fs5: the image path \"::a\" is not abs"));
  EXPECT_EQ(runFs5(dir, "rm ::/bin ::/nope"),
            "1||fs5: ::/bin: is a folder; -R deletes a folder with all its content.\n"
            "fs5: ::/nope: no such file or folder.\n");
  EXPECT_EQ(runFs5(dir, "-i other ls"), "1||fs5: other: the image does not exist.\n");
  writeBytes(dir.file("other"), {});
  EXPECT_EQ(runFs5(dir, "mkdir ::/x -i other"),
            "1||fs5: other: the image is empty; fs5 never formats one (fs5sh does).\n");
  writeBytes(dir.file("other"), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  EXPECT_EQ(runFs5(dir, "-i other ls"),
            "1||fs5: other: the image is not formatted: its layout is not valid.\n");
  EXPECT_EQ(readBytes(image), standardImage());
}

// The map's counts, the leak of an i-node no entry reaches and one object's blocks picked out.
TEST_F(HostTool, MapsTheImage) {
  std::string map = runFs5(dir, "map");
  EXPECT_TRUE(
      map.starts_with("0|Disk image disk.fs5: 122010 bytes\n  region          offset     "
                      "size\n  header               0       10\n  i-node map          "
                      "10      100\n"));
  EXPECT_NE(map.find("\n     0 ddddddddddddddddddda..............................\n"),
            std::string::npos);
  EXPECT_TRUE(
      map.ends_with("\nLegend:  . free  d folder  f file  a account  L leaked\n"
                    "I-nodes: free 80, folder 19, file 0, account 1, leaked 0\n"
                    "Datablocks: free 974, folder 25, file 0, account 1, leaked 0\n|"));
  pokeRecord(image, {"poke", "imap", "50", "0", "01"});
  map = runFs5(dir, "map --path ::/etc/passwd/root");
  EXPECT_NE(map.find("\n    50 L......"), std::string::npos);
  EXPECT_NE(map.find("\n     0 ddddddddddddddddddd#....."), std::string::npos);
  EXPECT_NE(map.find("\n     0 ddddddddddddddddddddddddd#....."), std::string::npos);
  EXPECT_NE(map.find("I-nodes: free 79, folder 19, file 0, account 1, leaked 1\n"),
            std::string::npos);
}

// Shared to read, alone to write, as the consoles lock: a console waiting at a confirmation
// holds no copy up, and what it does next sees the copy.
TEST_F(HostTool, LocksTheImageAsTheConsolesDo) {
  auto status = [&](const std::string& args) {
    return WEXITSTATUS(std::system(("cd " + dir.path() + " && timeout 2 " + FS5_BINARY_DIR +
                                    "/fs5 " + args + " >/dev/null 2>&1")
                                       .c_str()));
  };
  struct Held {
    int lock;
    const char* args;
    int status;  // 124: still waiting when timeout stopped it
  };
  int holder = ::open(image.c_str(), O_RDWR | O_CLOEXEC);
  for (Held h : {Held{LOCK_SH, "ls", 0}, Held{LOCK_SH, "mkdir ::/tmp/y", 124},
                 Held{LOCK_EX, "cat ::/etc/passwd/root", 124}}) {
    ASSERT_EQ(::flock(holder, h.lock), 0);
    EXPECT_EQ(status(h.args), h.status) << h.args;
  }
  ::close(holder);
  std::FILE* console =
      popen(("cd " + dir.path() + " && " + FS5_BINARY_DIR + "/fs5sh >held").c_str(), "w");
  ASSERT_NE(console, nullptr);
  std::fputs("root\nsecret1\nvi /tmp/x\n\nrm /tmp/x\n", console);
  std::fflush(console);
  auto held = [&] {
    std::vector<uint8_t> b = readBytes(dir.file("held"));
    return std::string(b.begin(), b.end());
  };
  for (int tries = 0; tries < 200 && held().find("Delete file") == std::string::npos; ++tries)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  writeText(dir.file("f"), "from the host");
  EXPECT_EQ(runFs5(dir, "cp f ::/tmp"), "0||");
  std::fputs("\n\ncat /tmp/f\n\nexit\n", console);
  EXPECT_EQ(pclose(console), 0);
  EXPECT_NE(held().find("Deleting file: \"x\"."), std::string::npos);
  EXPECT_NE(held().find("content:\nfrom the host\n\n"), std::string::npos);
  expectSound();
}

}  // namespace
}  // namespace fs5::test
