#include <gtest/gtest.h>

#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

const std::string kClear(25, '\n');

TEST(Startup, EmptyFolderFormatsLogsInAndExits) {
  TempDir dir;
  SessionResult r = runSession(dir.file("disk.fs5"), "secret1\n\nroot\nsecret1\nexit\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  std::string expected = kClear + "The disk is empty. A new disk will be formatted.\n" +
                         "The folder \"/\" was created successfully.\n";
  for (const char* name :
       {"bin", "boot", "dev", "etc", "home", "initrd", "lib", "lost+found", "misc", "mnt", "opt",
        "proc", "root", "sbin", "tmp", "usr", "var", "passwd"})
    expected += std::string("The folder \"") + name + "\" was created successfully.\n";
  expected +=
      "\nEnter the superuser password (min. 6 tokens, max. 30 tokens):\n"
      "\nThe superuser account \"root\" was successfully created.\n"
      "The disk was formatted.\n\n"
      "Press Enter to continue.\n" +
      kClear + "Login: \nPassword: " + kClear + "[root @fs5 /root/ ]# " + kClear +
      "[root @fs5 /root/ ]# " + kClear;
  EXPECT_EQ(r.out, expected);
  std::vector<uint8_t> bytes = readBytes(dir.file("disk.fs5"));
  ASSERT_EQ(bytes.size(), 122010u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 10),
            (std::vector<uint8_t>{0x0a, 0x00, 0x6e, 0x00, 0x56, 0x04, 0xba, 0x04, 0xfa, 0x55}));
  EXPECT_TRUE(checkImageProblems(dir.file("disk.fs5")).empty());
}

}  // namespace
}  // namespace fs5::test
