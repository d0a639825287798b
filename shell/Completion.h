// Tab completion at the command prompt: the names the console's line editor offers.
#ifndef FS5_SHELL_COMPLETION_H_
#define FS5_SHELL_COMPLETION_H_

#include <string>
#include <string_view>
#include <vector>

#include "shell/ShellState.h"
#include "storage/DiskStream.h"

namespace fs5 {

// The candidates for the word that ends `before` (the line up to the cursor):
//   - the first word: the command words that begin with it;
//   - a later word: the entries (but ".." and ".") whose names begin with the word's last
//     component, in the folder that its earlier components name, resolved as an argument is
//     (from "/" or from the working folder, through the folders' own ".." and "." entries);
//     a folder's name gets a "/". Nothing when that folder cannot be formed or found, or when
//     the user lacks the read right on it that ls asks for.
// Only reads the image; prints nothing.
std::vector<std::string> completionCandidates(ShellState& state, DiskStream& ds,
                                              std::string_view before);

}  // namespace fs5

#endif  // FS5_SHELL_COMPLETION_H_
