// The path object as a table: a path parsed from `start`, one operation, what it leaves (the
// text and the components) and what it says (D: too deep, L: too long, U: above the root).
#include <gtest/gtest.h>

#include "path/PathName.h"
#include "tests/support/TestSupport.h"

namespace fs5::test {
namespace {

TEST(PathName, OperationsTable) {
  const std::map<char, std::string> said = {
      {'-', ""},
      {'D', "The maximum pathname depth can not exceed 8 levels.\n"},
      {'L', "The maximum pathname length can not exceed 239 symbols.\n"},
      {'U', "You can not move upper than \"/\" folder.\nPress Enter to continue.\n"}};
  const std::string x238(238, 'x'), c31(31, 'c'), p200 = "/" + std::string(200, 'p'),
                                                  eight = "/1/2/3/4/5/6/7/8",
                                                  parts8 = "[1][2][3][4][5][6][7][8]";
  std::string twelve;
  for (int i = 0; i < 12; ++i) twelve += "/" + std::string(25, 'd');
  const std::tuple<std::string, std::string, std::string, int, std::string, std::string, char>
      rows[] = {{"", "parse", "/", 0, "/", "", '-'},
                {"", "parse", "/etc/passwd/", 0, "/etc/passwd/", "[etc][passwd][]", '-'},
                {"", "parse", "a//b", 0, "a//b", "[a][][b]", '-'},
                {"", "parse", "", 0, "", "[]", '-'},
                {"", "parse", eight, 0, eight, parts8, '-'},
                {"", "parse", eight + "/9", -1, "", "", 'D'},
                {"", "parse", "/" + c31, 0, "/" + c31, "[" + c31 + "]", '-'},
                {"", "parse", "/" + x238, 0, "/" + x238, "[" + x238 + "]", '-'},
                {"", "parse", "/" + x238 + "y", -1, "", "", 'L'},
                {"", "parse", twelve, -1, "", "", 'L'},
                {"/", "append", "bin", 0, "/bin", "[bin]", '-'},
                {"/bin", "append", "x", 0, "/bin/x", "[bin][x]", '-'},
                {eight, "append", "9", -1, eight, parts8, 'D'},
                {"/" + x238.substr(2), "append", "y", 0, "/" + x238.substr(2) + "/y",
                 "[" + x238.substr(2) + "][y]", '-'},
                {"/" + x238.substr(2), "append", "yy", -1, "/" + x238.substr(2),
                 "[" + x238.substr(2) + "]", 'L'},
                {"/bin/x", "goUp", "", 0, "/bin", "[bin]", '-'},
                {"/bin", "goUp", "", 0, "/", "", '-'},
                {"/", "goUp", "", 0, "/", "", 'U'},
                {"/", "dropFirst", "", 0, "/", "", 'U'},
                {"../x/y", "dropFirst", "", 0, "/x/y", "[x][y]", '-'},
                {"../", "dropFirst", "", 0, "/", "", '-'},
                {"..", "dropFirst", "", 0, "/", "", '-'},
                {"docs", "makeAbsolute", "", 0, "/docs", "[docs]", '-'},
                {"/home/ann", "appendPath", "/docs", 0, "/home/ann/docs", "[home][ann][docs]", '-'},
                {"/", "appendPath", "/docs", 0, "/docs", "[docs]", '-'},
                {"/docs", "appendPath", "/", 0, "/docs", "[docs]", '-'},
                {"/1/2/3/4/5/6/7", "appendPath", "/a/b", -1, "/1/2/3/4/5/6/7",
                 "[1][2][3][4][5][6][7]", 'D'},
                {p200, "appendPath", "/" + std::string(40, 'q'), -1, p200,
                 "[" + p200.substr(1) + "]", 'L'}};
  for (const auto& [start, op, arg, result, text, parts, says] : rows) {
    std::istringstream in("\n\n");
    std::ostringstream out;
    Console con(in, out, out);
    PathName p;
    if (!start.empty()) p.parse(con, start);
    int r = op == "parse"        ? p.parse(con, arg)
            : op == "append"     ? p.append(con, arg)
            : op == "appendPath" ? p.appendPath(con, arg)
                                 : 0;
    std::string returned = op == "goUp" ? p.goUp(con) : op == "dropFirst" ? p.dropFirst(con) : text;
    if (op == "makeAbsolute") p.makeAbsolute();
    std::string got;
    for (int i = 0; i < p.getDepth(); ++i) got += "[" + p.component(i) + "]";
    std::string expectedSaid = said.at(says);
    if (says == 'D' || says == 'L') expectedSaid += "The pathname was not deshifrated.\n";
    EXPECT_EQ(std::tuple(r, p.getText(), got, out.str(), returned, p.isRoot()),
              std::tuple(result, text, parts, expectedSaid, text, text == "/"))
        << start.substr(0, 20) << " " << op << " " << arg.substr(0, 20);
  }
}

}  // namespace
}  // namespace fs5::test
