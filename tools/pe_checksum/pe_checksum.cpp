// Writes the PE header checksum into an executable, so that the program's
// start-up self-check can compare it with the file. Built for the host and
// run after linking: pe_checksum FILE
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/pe_checksum.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pe_checksum FILE\n");
    return 2;
  }
  std::vector<uint8_t> data;
  {
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "pe_checksum: cannot read %s\n", argv[1]);
      return 1;
    }
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  size_t offset = 0;
  if (!FindPeChecksumOffset(data.data(), data.size(), offset)) {
    std::fprintf(stderr, "pe_checksum: %s is not a PE image\n", argv[1]);
    return 1;
  }
  const uint32_t sum = ComputePeChecksum(data.data(), data.size(), offset);
  for (int i = 0; i < 4; ++i) data[offset + i] = uint8_t(sum >> (8 * i));
  std::ofstream out(argv[1], std::ios::binary | std::ios::in | std::ios::out);
  out.seekp(std::streamoff(offset));
  out.write(reinterpret_cast<const char*>(data.data() + offset), 4);
  if (!out) {
    std::fprintf(stderr, "pe_checksum: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
