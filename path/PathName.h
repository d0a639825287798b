// The path layer: PathName holds a path both as its components and as its text. It reads
// nothing from the image; it prints its refusals through the console.
//
// A path has at most 8 components and a text of at most 239 characters. The root folder is
// the text "/" with depth 0; an empty (new or cleared) object has depth 0 and an empty text.
// Examples of parse: "a" -> [a]; "/a/b" -> [a, b]; "/a/b/" -> [a, b, ""]; "a//b" -> [a, "", b];
// "" -> [""]. Components are kept whole, however long: the lookup and the creation decide
// what a component over 30 characters means.
#ifndef FS5_PATH_PATHNAME_H_
#define FS5_PATH_PATHNAME_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "console/Console.h"

namespace fs5 {

inline constexpr int MAX_PATH_TEXT = 239;

class PathName {
 public:
  PathName() = default;

  void clear();
  // Parses a path text. -1 (the object emptied) after
  //   "The maximum pathname length can not exceed 239 symbols." or
  //   "The maximum pathname depth can not exceed 8 levels."
  // then "The pathname was not deshifrated." on standard error.
  int16_t parse(Console& con, std::string_view text);
  // Component i, or "" outside 0..depth-1.
  std::string component(int i) const;
  int getDepth() const { return static_cast<int>(parts_.size()); }
  const std::string& getText() const { return text_; }
  // The last component, or "/" for the root (the name shown for it in messages).
  std::string lastName() const;
  bool isRoot() const { return text_ == "/"; }

  // Appends one component. -1 (unchanged) after the depth or length messages when the path
  // would grow past 8 components or 239 characters.
  int16_t append(Console& con, std::string_view name);
  // Drops the last component; at the root prints "You can not move upper than "/" folder.",
  // waits for Enter and stays the root. Returns the text.
  std::string goUp(Console& con);
  // Drops the first component and rebuilds the text as "/" and the rest joined by "/"; at the
  // root refuses as goUp does. Dropping the only component gives the root. Returns the text.
  std::string dropFirst(Console& con);
  // Puts "/" in front of the text; the components stay.
  void makeAbsolute();
  // Appends the components of a path that begins with "/" ("/" itself adds nothing).
  // -1 (unchanged) after the depth or the length messages. Depth is tested first.
  int16_t appendPath(Console& con, std::string_view path);

 private:
  static void printTooDeep(Console& con);
  static void printTooLong(Console& con);
  void rebuildText();

  std::vector<std::string> parts_;
  std::string text_;
};

// Splits the text after a leading "/" into its components ("" gives one empty component).
std::vector<std::string> splitPath(std::string_view text);

}  // namespace fs5

#endif  // FS5_PATH_PATHNAME_H_
