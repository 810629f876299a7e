#include "app/pe_checksum.h"

namespace {

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

bool FindPeChecksumOffset(const uint8_t* data, size_t size, size_t& offset) {
  if (size < 0x40 || data[0] != 'M' || data[1] != 'Z') return false;
  const size_t pe = ReadU32(data + 0x3C);
  // signature (4) + file header (20) + optional header up to CheckSum (64) + CheckSum (4)
  if (pe > size || size - pe < 4 + 20 + 64 + 4) return false;
  if (data[pe] != 'P' || data[pe + 1] != 'E' || data[pe + 2] != 0 || data[pe + 3] != 0) return false;
  const unsigned magic = data[pe + 24] | data[pe + 25] << 8;
  if (magic != 0x10B && magic != 0x20B) return false;
  offset = pe + 4 + 20 + 64;
  return true;
}

uint32_t ComputePeChecksum(const uint8_t* data, size_t size, size_t checksum_offset) {
  uint64_t sum = 0;
  for (size_t i = 0; i + 1 < size; i += 2) {
    if (i >= checksum_offset && i < checksum_offset + 4) continue;
    sum += uint32_t(data[i]) | uint32_t(data[i + 1]) << 8;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  if (size & 1) {
    sum += data[size - 1];
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return uint32_t(sum + size);
}
