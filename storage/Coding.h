// Fixed-width little-endian encoding of the image's 16-bit fields.
#ifndef FS5_STORAGE_CODING_H_
#define FS5_STORAGE_CODING_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace fs5 {

inline void encodeFixed16(uint8_t* buf, uint16_t value) {
  buf[0] = static_cast<uint8_t>(value & 0xff);
  buf[1] = static_cast<uint8_t>(value >> 8);
}

inline uint16_t decodeFixed16(const uint8_t* buf) {
  return static_cast<uint16_t>(buf[0] | (buf[1] << 8));
}

inline void encodeSigned16(uint8_t* buf, int16_t value) {
  encodeFixed16(buf, static_cast<uint16_t>(value));
}

inline int16_t decodeSigned16(const uint8_t* buf) {
  return static_cast<int16_t>(decodeFixed16(buf));
}

// True when all n bytes are zero, as a free i-node record or a free datablock is.
inline bool allZero(const uint8_t* bytes, std::size_t n) {
  return std::all_of(bytes, bytes + n, [](uint8_t b) { return b == 0; });
}

}  // namespace fs5

#endif  // FS5_STORAGE_CODING_H_
