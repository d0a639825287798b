// The soak test's view of the image: a snapshot of the image file served from memory, the
// checker's judgement of it, and its comparison with the model, walking both trees from the
// root folder.
#ifndef FS5_TESTS_SOAK_SOAKIMAGE_H_
#define FS5_TESTS_SOAK_SOAKIMAGE_H_

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "console/Console.h"
#include "storage/DiskStream.h"
#include "tests/soak/SoakModel.h"

namespace fs5::soak {

// The image file as it is now, read whole into memory; nothing is written back.
class ImageSnapshot : public DiskStream {
 public:
  explicit ImageSnapshot(const std::string& path);
  bool loaded() const { return !bytes_.empty(); }

 protected:
  bool readAt(int64_t offset, uint8_t* buf, std::size_t n) override;
  bool writeAt(int64_t offset, const uint8_t* buf, std::size_t n) override;
  int64_t fileSize() override { return static_cast<int64_t>(bytes_.size()); }

 private:
  std::istringstream in_;
  std::ostringstream out_;
  std::ostringstream err_;
  Console con_;
  std::vector<uint8_t> bytes_;
};

// The checker's problem lines for the image (its failure when it can not read it); empty
// when the image is sound.
std::vector<std::string> imageProblems(ImageSnapshot& image);

// Compares the image with the model: every folder's entries in slot order, every i-node's
// type, owner and rights, every file's datablocks byte for byte, the numbers of used
// i-nodes and datablocks, and the user map. Returns the first difference, or "" when they
// agree; `inodeOf` gets the image's i-node number of every model node (-1 for dead ones).
std::string compareWithModel(ImageSnapshot& image, const Model& model,
                             std::vector<int16_t>& inodeOf);

// What ls prints for the folder `path` of the model (its i-node numbers taken from
// `inodeOf`): the heading, the column line, the rows and the closing empty line.
std::string expectedListing(const Model& model, const std::vector<int16_t>& inodeOf,
                            const Path& path, bool longForm);

}  // namespace fs5::soak

#endif  // FS5_TESTS_SOAK_SOAKIMAGE_H_
