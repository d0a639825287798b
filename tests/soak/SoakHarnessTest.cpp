// The soak's own checks must be able to fail: each test here makes the image and the model
// part in one way and expects the comparison (or the input count) to say so.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fsops/Create.h"
#include "tests/soak/SoakImage.h"
#include "tests/soak/SoakModel.h"
#include "tests/soak/SoakShell.h"
#include "tests/support/TestSupport.h"

namespace fs5::soak {
namespace {

// A formatted image and a model of it, with the superuser logged in to both.
class Pair {
 public:
  Pair() : image_(dir_.file("disk.fs5")) {
    ShellRun shell(image_);
    EXPECT_EQ(shell.format("secret1").trouble, "");
    model_.format("secret1");
  }

  const std::string& image() const { return image_; }
  Model& model() { return model_; }

  // Runs the commands as root in one program run, each through the model and the shell.
  std::vector<StepResult> asRoot(const std::vector<Command>& commands) {
    ShellRun shell(image_);
    model_.newConsole();
    std::string input;
    EXPECT_TRUE(model_.login("root", "secret1", input));
    shell.login(input);
    std::vector<StepResult> steps;
    for (const Command& c : commands) steps.push_back(shell.command(c.line(), model_.run(c).input));
    return steps;
  }

  std::string difference() {
    ImageSnapshot snapshot(image_);
    return compareWithModel(snapshot, model_, inodeOf_);
  }
  const std::vector<int16_t>& inodeOf() const { return inodeOf_; }

 private:
  test::TempDir dir_;
  std::string image_;
  Model model_;
  std::vector<int16_t> inodeOf_;
};

Command command(const std::string& word, std::vector<std::string> args,
                const std::string& options = "") {
  Command c;
  c.word = word;
  c.options = options;
  c.args = std::move(args);
  return c;
}

Command write(const std::string& path, const std::string& typed) {
  Command c = command("vi", {path}, "i");
  c.content = typed;
  return c;
}

int64_t find(const std::vector<uint8_t>& bytes, const std::string& text) {
  auto at = std::search(bytes.begin(), bytes.end(), text.begin(), text.end());
  return at == bytes.end() ? -1 : at - bytes.begin();
}

TEST(SoakHarness, FormattedImageAgreesWithModel) {
  Pair p;
  EXPECT_EQ(p.difference(), "");
  ImageSnapshot snapshot(p.image());
  EXPECT_TRUE(imageProblems(snapshot).empty());
}

TEST(SoakHarness, ChangedContentByteIsADifference) {
  Pair p;
  p.asRoot({command("vi", {"notes"}), write("notes", "abc\ndef")});
  ASSERT_EQ(p.difference(), "");
  int64_t at = find(test::readBytes(p.image()), "abc\ndef\x1b");
  ASSERT_GE(at, 0);
  test::poke(p.image(), at + 1, {'x'});
  EXPECT_EQ(p.difference(),
            "/root/notes: datablock 0 of its list differs from the model's content");
}

TEST(SoakHarness, EntryTheModelLacksIsADifference) {
  Pair p;
  {
    test::ImageFixture::Direct d(p.image());
    ASSERT_EQ(createFile(d.ds, false, 0, "/tmp/stray"), 0);
  }
  EXPECT_EQ(p.difference(), "/tmp: 3 entries, the model has 2 (image: .. . stray)");
}

TEST(SoakHarness, OwnerAndRightsAreCompared) {
  Pair p;
  p.difference();
  int16_t tmp = p.inodeOf()[p.model().resolveWhole([] {
    Path t;
    parsePath("/tmp", t);
    return t;
  }())];
  ASSERT_EQ(tmp, 15);
  test::poke(p.image(), test::inodeAt(tmp), {3, 0});
  EXPECT_EQ(p.difference(), "/tmp: owner 3, the model has 0");
  test::poke(p.image(), test::inodeAt(tmp), {0, 0, 0xC0, 0x01});
  EXPECT_EQ(p.difference(), "/tmp: rights rwx --- --- , the model has 493");
}

TEST(SoakHarness, UnreadInputIsCounted) {
  Pair p;
  // A missing target reads the one key of its wait; the second scripted line stays unread.
  ShellRun shell(p.image());
  shell.login("root\nsecret1\n");
  StepResult r = shell.command("rm nosuch", "\n\n");
  EXPECT_EQ(r.err, "Folder or file \"nosuch\" not found.\n");
  EXPECT_EQ(r.scripted, std::string("rm nosuch\n\n\n").size());
  EXPECT_EQ(r.consumed, std::string("rm nosuch\n\n").size());
  EXPECT_EQ(r.spareLines, 0);
  // The model scripts exactly what the shell reads.
  Model& m = p.model();
  std::string login;
  ASSERT_TRUE(m.login("root", "secret1", login));
  EXPECT_EQ(m.run(command("rm", {"nosuch"})).input, "\n");
  EXPECT_EQ(m.run(command("cd", {"../bin"})).input, "");
  EXPECT_EQ(m.run(command("cd", {"/"})).input, "");
  EXPECT_EQ(m.run(command("cd", {"../x"})).input, "\n\n");
}

TEST(SoakHarness, ExpectedListingIsWhatTheShellPrints) {
  Pair p;
  std::vector<StepResult> steps = p.asRoot(
      {command("mkdir", {"/tmp/sub"}), command("vi", {"/tmp/f"}), command("ls", {"/tmp"}, "l")});
  ASSERT_EQ(p.difference(), "");
  Path tmp;
  parsePath("/tmp", tmp);
  std::string listing = expectedListing(p.model(), p.inodeOf(), tmp, true);
  EXPECT_EQ(listing,
            "The folder \"tmp\" content:\n\n"
            "tmp           i-node\n"
            " ├ .            15      rwx r-x r-x   root\n"
            " ├ ..            0      rwx r-x r-x   root\n"
            " ├ sub          20      rwx r-x r-x   root\n"
            " ╚ f            21      rw- r-- r--   root\n\n");
  EXPECT_NE(steps[2].out.find(listing), std::string::npos) << steps[2].out;
}

}  // namespace
}  // namespace fs5::soak
