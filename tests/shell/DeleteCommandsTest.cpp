#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fsops/Create.h"
#include "fsops/Lookup.h"
#include "fsops/Write.h"
#include "path/PathName.h"
#include "tests/support/TestSupport.h"
#include "users/UserAdmin.h"

namespace fs5::test {
namespace {

using Bytes = std::vector<uint8_t>;

const std::string kClear(25, '\n');
const std::string kRoot = "[root @fs5 /root/ ]# ";
const std::string kBob = "[bob @fs5 /home/bob/ ]$ ";
const std::string kWait = "Press Enter to continue.\n";
const std::string kFileQuestion =
    "Delete file with all its content?\n(\"Enter\" - yes, \"Esc\" + \"Enter\"- no)\n";
const std::string kFolderQuestion =
    "Delete folder with all its content?\n(\"Enter\" - yes, \"Esc\" - no)\n";

// The whole standard output of a session that logs in, runs one command whose output is
// `body`, and exits.
std::string session(const std::string& prompt, const std::string& body) {
  return kClear + "Login: \nPassword: " + kClear + prompt + kClear + prompt + body + kClear +
         prompt + kClear;
}

// Makes folders ("/" at the end) and files, owned by `owner`, straight on the image.
void make(ImageFixture& fx, int16_t owner, const std::vector<std::string>& paths) {
  auto dir = fx.open();
  for (const std::string& p : paths) {
    if (p.ends_with("/"))
      createFolder(dir->ds, false, owner, p.substr(0, p.size() - 1));
    else
      createFile(dir->ds, false, owner, p);
  }
}

bool exists(ImageFixture& fx, const std::string& path) {
  auto dir = fx.open();
  PathName p;
  p.parse(dir->con, path);
  return resolveWhole(dir->ds, false, p) >= 0;
}

void addBob(ImageFixture& fx) {
  auto dir = fx.open("bobpass\n");
  ASSERT_EQ(addUser(dir->ds, "bob"), 0);
}

TEST(RmCommand, DeletesFileAfterEnterLeavingTheImageAsBefore) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  {
    auto dir = fx.open(std::string(150, 'z') + "\x1b\n");
    createFile(dir->ds, false, 0, "/root/f");
    ASSERT_EQ(writeFile(dir->ds, "/root/f"), 0);
  }
  SessionResult r = fx.asRoot("rm f\n\n\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, session(kRoot, "\n" + kFileQuestion +
                                      "Erasing the file \"f\"\nDeleting file: \"f\".\n\n" + kWait));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(RmCommand, EscapeKeepsTheFileAndItsEnterAnswersTheWait) {
  ImageFixture fx;
  make(fx, 0, {"/root/f"});
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("rm f\n\x1b\n");
  EXPECT_EQ(r.out, session(kRoot, "\n" + kFileQuestion + "\n" + kWait));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(RmCommand, MissingNameAndMissingArgument) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("rm nope\n\n");
  EXPECT_EQ(r.out, session(kRoot, "\n" + kWait));
  EXPECT_EQ(r.err, "Folder or file \"nope\" not found.\n");
  r = fx.asRoot("rm\n\n");
  EXPECT_EQ(r.out, session(kRoot, "\nThis command requires 1 argument.\n" + kWait));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(RmCommand, FolderIsRefusedAfterTheQuestion) {
  ImageFixture fx;
  make(fx, 0, {"/root/d/"});
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("rm d\n\n\n");
  EXPECT_EQ(r.out, session(kRoot, "\n" + kFileQuestion + "\n" + kWait));
  EXPECT_EQ(r.err, "\"d\" is a folder,not a file.\n");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(RmCommand, OnlyTheWriteRightOnTheHolderCounts) {
  ImageFixture fx;
  addBob(fx);
  make(fx, 0, {"/tmp/f", "/home/bob/rootfile"});
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.as("bob", "bobpass", "rm /tmp/f\n\n");
  EXPECT_EQ(r.out,
            session(kBob, "\nAccess denied.\nYou can not delete the \"f\" file.\n\n" + kWait));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);

  // A file of root's in bob's own folder: bob may write the holder.
  r = fx.as("bob", "bobpass", "rm rootfile\n\n\n");
  EXPECT_EQ(r.out, session(kBob, "\n" + kFileQuestion +
                                     "Erasing the file \"rootfile\"\n"
                                     "Deleting file: \"rootfile\".\n\n" +
                                     kWait));
  EXPECT_FALSE(exists(fx, "/home/bob/rootfile"));
}

TEST(RmdirCommand, EmptyFolderClearsTheScreenOnce) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  make(fx, 0, {"/root/d/"});
  SessionResult r = fx.asRoot("rmdir d\n\n\n");
  EXPECT_EQ(r.out, session(kRoot, "\n" + kFolderQuestion + kClear + "Deleting folder: \"d\".\n\n" +
                                      kWait));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(RmdirCommand, EscapeKeepsTheFolderAndItsEnterAnswersTheWait) {
  ImageFixture fx;
  make(fx, 0, {"/root/d/", "/root/d/f"});
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("rmdir d\n\x1b\n");
  EXPECT_EQ(r.out, session(kRoot, "\n" + kFolderQuestion + "\n" + kWait));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(RmdirCommand, FileIsSentToRm) {
  ImageFixture fx;
  make(fx, 0, {"/root/f"});
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("rmdir f\n\n");
  EXPECT_EQ(r.out, session(kRoot,
                           "\n\"f\" is a file, not a folder. You can not delete a file with this "
                           "command.\nUse \"rm\" command to delete a file.\n" +
                               kWait));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(RmdirCommand, WorkingFolderByItsTextIsRefused) {
  ImageFixture fx;
  addBob(fx);
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("rmdir /root\n\n");
  EXPECT_EQ(r.out, session(kRoot, "\nYou can not delete a folder while you are in it.\n" + kWait));
  r = fx.as("bob", "bobpass", "rmdir /home/bob\n\n");
  EXPECT_EQ(r.out, session(kBob, "\nYou can not delete a folder while you are in it.\n" + kWait));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(RmdirCommand, DotAndDotDotAreRefusedAfterTheQuestion) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.asRoot("rmdir .\n\n\n");
  EXPECT_EQ(r.out, session(kRoot, "\n" + kFolderQuestion + "\n" + kWait));
  EXPECT_EQ(r.err, "The folder \".\" can not be deleted.\n");
  r = fx.asRoot("rmdir ..\n\n\n");
  EXPECT_EQ(r.out, session(kRoot, "\n" + kFolderQuestion + "\n" + kWait));
  EXPECT_EQ(r.err, "The folder \"..\" can not be deleted.\n");
  r = fx.asRoot("rmdir /\n\n\n");
  EXPECT_EQ(r.out, session(kRoot, "\n" + kFolderQuestion + "\n" + kWait));
  EXPECT_EQ(r.err, "The root folder \"/\" can not be destroyed.\n");
  EXPECT_EQ(readBytes(fx.image()), before);
}

TEST(RmdirCommand, NeedsTheWriteRightOnTheHolderOnly) {
  ImageFixture fx;
  addBob(fx);
  make(fx, 0, {"/tmp/d/", "/home/bob/x/", "/home/bob/x/secret"});
  Bytes before = readBytes(fx.image());
  SessionResult r = fx.as("bob", "bobpass", "rmdir /tmp/d\n\n");
  EXPECT_EQ(r.out,
            session(kBob, "\nAccess denied.\nYou can not delete the \"d\" folder.\n\n" + kWait));
  EXPECT_EQ(readBytes(fx.image()), before);

  // x and its file belong to root and bob may not write x; nothing below x is tested.
  r = fx.as("bob", "bobpass", "rmdir x\n\n\n");
  EXPECT_EQ(r.out,
            session(kBob, "\n" + kFolderQuestion + kClear + "Deleting folder: \"x\".\n\n" + kWait));
  EXPECT_EQ(r.err, "");
  EXPECT_FALSE(exists(fx, "/home/bob/x"));
}

TEST(RmdirCommand, ThreeLevelTreeLeavesTheImageByteForByte) {
  ImageFixture fx;
  Bytes before = readBytes(fx.image());
  {
    // Content for f1 (three datablocks), f2 (two), f3 and f4 (one each), in that order.
    std::string typed =
        std::string(250, 'a') + "\x1b" + std::string(120, 'b') + "\x1b" + "ccc" + "\x1b" + "\x1b\n";
    auto dir = fx.open(typed);
    for (const char* folder : {"/root/t", "/root/t/u", "/root/t/u/v"}) {
      createFolder(dir->ds, false, 0, folder);
    }
    for (const char* file : {"/root/t/f1", "/root/t/u/f2", "/root/t/u/v/f3", "/root/t/u/v/f4"}) {
      createFile(dir->ds, false, 0, file);
      ASSERT_EQ(writeFile(dir->ds, file), 0);
    }
  }
  SessionResult r = fx.asRoot("rmdir t\n\n\n");
  // t holds [.., ., u] [f1], u [.., ., v] [f2], v [.., ., f3] [f4]. Depth first: f3 (f4 moves
  // into its slot: an empty line), f4, v (f2 moves), f2, u (f1 moves), f1, t; each of the three
  // folders clears the screen before its entry is removed.
  EXPECT_EQ(r.out, session(kRoot, "\n" + kFolderQuestion + "\n\n\n" + kClear + kClear + kClear +
                                      "Deleting folder: \"t\".\n\n" + kWait));
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(readBytes(fx.image()), before);
}

}  // namespace
}  // namespace fs5::test
