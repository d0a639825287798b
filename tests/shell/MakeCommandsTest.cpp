#include <gtest/gtest.h>

#include "fsops/Create.h"
#include "storage/AllocMaps.h"
#include "tests/support/TestSupport.h"
#include "users/AccountStore.h"

namespace fs5::test {
namespace {

const std::string kRootHome = "[root @fs5 /root/ ]# ";
const std::string kAnnaHome = "[anna @fs5 /home/anna/ ]$ ";
const std::string kWait = "Press Enter to continue.\n";

std::string loggedIn(const std::string& prompt) { return "Login: \nPassword: " + prompt + prompt; }

// An account made as adduser would: its number, its record and its home folder.
int16_t addAccount(ImageFixture& f, const std::string& name) {
  return f.addAccount(name, "pw" + name);
}

SessionResult asAnna(ImageFixture& f, const std::string& commands) {
  return f.as("anna", "pwanna", commands);
}

void setMode(ImageFixture& f, int inode, uint16_t mode) {
  poke(f.image(), inodeAt(inode) + 2,
       {static_cast<uint8_t>(mode), static_cast<uint8_t>(mode >> 8)});
}

std::vector<uint8_t> inodeRecord(ImageFixture& f, int n) {
  return peek(f.image(), inodeAt(n), 208);
}
int firstBlockOf(ImageFixture& f, int n) { return peek16(f.image(), inodeAt(n) + 6); }
std::vector<uint8_t> blockBytes(ImageFixture& f, int k) { return peek(f.image(), blockAt(k), 100); }

// The i-node numbers with the account anna: record 20, home 21; the next object is 22.
constexpr int kNext = 22;

TEST(Mkdir, MakesAFolderOwnedByTheUser) {
  ImageFixture f;
  int16_t anna = addAccount(f, "anna");
  SessionResult r = asAnna(f, "mkdir docs\n\nls docs\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) +
                                      "\nThe folder \"docs\" was created successfully.\n\n" +
                                      kWait + kAnnaHome +
                                      "\nThe folder \"docs\" content:\n"
                                      "\n"
                                      "docs          i-node\n"
                                      " ├ .            22\n"
                                      " └ ..           21\n"
                                      "\n\n" +
                                      kWait + kAnnaHome);
  std::vector<uint8_t> record = inodeRecord(f, kNext);
  EXPECT_EQ(peek16(f.image(), inodeAt(kNext)), anna);
  EXPECT_EQ(std::vector<uint8_t>(record.begin() + 2, record.begin() + 6),
            (std::vector<uint8_t>{0xED, 0x01, 0x01, 0x00}));
  EXPECT_EQ(peek16(f.image(), inodeAt(kNext) + 206), 1);
  EXPECT_TRUE(checkImageProblems(f.image()).empty());
}

TEST(Mkdir, RefusedWithoutWriteOnTheHolder) {
  ImageFixture f;
  addAccount(f, "anna");
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = asAnna(f, "mkdir /x\n\nmkdir /etc/y\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kAnnaHome) + "\nAccess denied.\nYou can not make the \"x\" folder.\n\n" +
                kWait + kAnnaHome + "\nAccess denied.\nYou can not make the \"y\" folder.\n\n" +
                kWait + kAnnaHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Mkdir, OthersWriteBitLetsAnyUserMake) {
  ImageFixture f;
  addAccount(f, "anna");
  setMode(f, 15, 0x1EF);  // /tmp: rwxr-xrwx
  SessionResult r = asAnna(f, "mkdir /tmp/x\n\n");
  EXPECT_EQ(
      withoutClears(r.out),
      loggedIn(kAnnaHome) + "\nThe folder \"x\" was created successfully.\n\n" + kWait + kAnnaHome);
}

TEST(Mkdir, ExistingNamesDotAndDotDotAreRefused) {
  ImageFixture f;
  SessionResult setup = f.asRoot("mkdir d\n\n");
  ASSERT_EQ(setup.err, "");
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = f.asRoot("mkdir d\n\nmkdir .\n\nmkdir ..\n\nvi d\n\n");
  EXPECT_EQ(r.err,
            "The folder or file \"d\" already exists.\n"
            "The folder or file \".\" already exists.\n"
            "The folder or file \"..\" already exists.\n"
            "The folder or file \"d\" already exists.\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n\n" + kWait + kRootHome + "\n\n" +
                                      kWait + kRootHome + "\n\n" + kWait + kRootHome + "\n\n" +
                                      kWait + kRootHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Mkdir, WithoutArgumentAsksForOne) {
  ImageFixture f;
  SessionResult r = f.asRoot("mkdir\n\nmkdir   \n\ncat\n\nvi -i\n\n");
  EXPECT_EQ(r.err, "");
  const std::string one = "\nThis command requires 1 argument.\n" + kWait + kRootHome;
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + one + one + one + one);
}

TEST(Mkdir, MissingParentAndTooDeepTarget) {
  ImageFixture f;
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = f.asRoot("mkdir nosuch/x\n\nmkdir a/b/c/d/e/f/g/h\n\n");
  EXPECT_EQ(r.err,
            "Folder or file \"nosuch\" not found.\n"
            "Can not create folder \"x\".\n"
            "The maximum pathname depth can not exceed 8 levels.\n"
            "The pathname was not deshifrated.\n");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kRootHome) + "\n\n" + kWait + kRootHome + "\n" + kWait + kRootHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Vi, WithoutOptionMakesAnEmptyFile) {
  ImageFixture f;
  int16_t anna = addAccount(f, "anna");
  SessionResult r = asAnna(f, "vi notes\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) +
                                      "\nThe file \"notes\" was created successfully.\n\n" + kWait +
                                      kAnnaHome);
  EXPECT_EQ(peek16(f.image(), inodeAt(kNext)), anna);
  EXPECT_EQ(peek(f.image(), inodeAt(kNext) + 2, 4), (std::vector<uint8_t>{0xA4, 0x01, 0x02, 0x00}));
  EXPECT_EQ(peek16(f.image(), inodeAt(kNext) + 206), 1);
  EXPECT_EQ(blockBytes(f, firstBlockOf(f, kNext)), std::vector<uint8_t>(100, 0));
}

TEST(Vi, WithoutOptionRefusedWithoutWriteOnTheHolder) {
  ImageFixture f;
  addAccount(f, "anna");
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = asAnna(f, "vi /tmp/f\n\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kAnnaHome) +
                                      "\nAccess denied.\nYou can not make the \"f\" file.\n\n" +
                                      kWait + kAnnaHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Vi, OptionIStoresTheTypingAndLeavesTheEndOfLine) {
  ImageFixture f;
  SessionResult r = f.asRoot("vi f\n\nvi -i f\nabc\x1b\n\n");
  EXPECT_EQ(r.err, "");
  // The Enter after the Escape is read as the next command line: an empty one.
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) +
                                      "\nThe file \"f\" was created successfully.\n\n" + kWait +
                                      kRootHome +
                                      "\nErasing the file \"f\"\n"
                                      "Press \"Esc\", then \"Enter\" to finish your input and "
                                      "save the file.\n"
                                      "Input the data here:\n"
                                      "\n" +
                                      kWait + kRootHome + kRootHome);
  std::vector<uint8_t> expected(100, 0);
  expected[0] = 'a';
  expected[1] = 'b';
  expected[2] = 'c';
  expected[3] = 27;
  EXPECT_EQ(blockBytes(f, firstBlockOf(f, 20)), expected);
  EXPECT_EQ(peek16(f.image(), inodeAt(20) + 206), 1);
}

TEST(Vi, OptionIOnAMissingNameWaitsAndMakesNothing) {
  ImageFixture f;
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = f.asRoot("vi -i nosuch\n\n");
  EXPECT_EQ(r.err, "Folder or file \"nosuch\" not found.\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n" + kWait + kRootHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Vi, OptionIRefusedWithoutWriteOnTheFile) {
  ImageFixture f;
  addAccount(f, "anna");
  {
    auto d = f.open();
    ASSERT_EQ(createFile(d->ds, false, 0, "/tmp/f"), 0);
  }
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = asAnna(f, "vi -i /tmp/f\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kAnnaHome) +
                "\nAccess denied.\nYou can not write in and save the \"f\" file.\n\n" + kWait +
                kAnnaHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Vi, OptionIOnAFolderIsRefusedByTheEditor) {
  ImageFixture f;
  std::vector<uint8_t> before = readBytes(f.image());
  SessionResult r = f.asRoot("vi -i /etc\n\n");
  EXPECT_EQ(r.err, "\"etc\" is a folder,not a file.\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n\n" + kWait + kRootHome);
  EXPECT_EQ(readBytes(f.image()), before);
}

TEST(Cat, NewFileShowsItsHundredZeroBytes) {
  ImageFixture f;
  SessionResult r = f.asRoot("vi f\n\ncat f\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) +
                                      "\nThe file \"f\" was created successfully.\n\n" + kWait +
                                      kRootHome + "\nThis is the file \"f\" content:\n" +
                                      std::string(100, '\0') + "\n" + kWait + kRootHome);
}

TEST(Cat, TypedTextAndExactlyHundredCharacters) {
  ImageFixture f;
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred.push_back(static_cast<char>('0' + i % 10));
  SessionResult r = f.asRoot("vi a\n\nvi -i a\nabc\x1b\n\nvi b\n\nvi -i b\n" + hundred +
                             "\x1b\n\ncat a\n\ncat b\n\n");
  EXPECT_EQ(r.err, "");
  std::string out = withoutClears(r.out);
  std::string tail = kRootHome + "\nThis is the file \"a\" content:\nabc\n\n\n" + kWait +
                     kRootHome + "\nThis is the file \"b\" content:\n" + hundred + "\n\n\n" +
                     kWait + kRootHome;
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  int b = 21;
  EXPECT_EQ(peek16(f.image(), inodeAt(b) + 206), 2);
  std::vector<uint8_t> second = blockBytes(f, peek16(f.image(), inodeAt(b) + 8));
  EXPECT_EQ(second[0], 27);
}

TEST(Cat, FolderRootAndMissingNames) {
  ImageFixture f;
  SessionResult r = f.asRoot("cat /etc\n\ncat /\n\ncat nosuch\n\n");
  EXPECT_EQ(r.err,
            "\"etc\" is a folder,not a file.\n"
            "This is a \"/\" folder, not a file\n"
            "Folder or file \"nosuch\" not found.\n");
  EXPECT_EQ(withoutClears(r.out), loggedIn(kRootHome) + "\n\n" + kWait + kRootHome + "\n\n" +
                                      kWait + kRootHome + "\n" + kWait + kRootHome);
}

TEST(Cat, RefusedWithoutReadAndAllowedByTheOwnerBit) {
  ImageFixture f;
  addAccount(f, "anna");
  {
    auto d = f.open();
    ASSERT_EQ(createFile(d->ds, false, 0, "/tmp/f"), 0);
    ASSERT_EQ(createFile(d->ds, false, 1, "/tmp/g"), 0);
  }
  setMode(f, kNext, 0x1A0);      // rw-r-----
  setMode(f, kNext + 1, 0x100);  // r--------, owned by anna
  SessionResult r = asAnna(f, "cat /tmp/f\n\ncat /tmp/g\n\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(withoutClears(r.out),
            loggedIn(kAnnaHome) +
                "\nAccess denied.\nYou can not view the contents of the \"f\" file.\n\n" + kWait +
                kAnnaHome + "\nThis is the file \"g\" content:\n" + std::string(100, '\0') + "\n" +
                kWait + kAnnaHome);
}

}  // namespace
}  // namespace fs5::test
