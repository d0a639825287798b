// The pieces the checker's and the repair's lines are made of.
#ifndef FS5_TOOLS_FS5CK_TEXTS_H_
#define FS5_TOOLS_FS5CK_TEXTS_H_

#include <cstdint>
#include <string>

namespace fs5 {

inline std::string decimal(int64_t n) { return std::to_string(n); }

// The path of the entry `name` in the folder at `folder`.
inline std::string childPath(const std::string& folder, const std::string& name) {
  return folder == "/" ? "/" + name : folder + "/" + name;
}

}  // namespace fs5

#endif  // FS5_TOOLS_FS5CK_TEXTS_H_
