#pragma once
// The PE header checksum, as the platform's image-help library computes it:
// 16-bit one's-complement style sum of the whole file with the checksum
// field counted as zero, plus the file length. The build writes it into the
// executable; start-up compares it with the file's contents.

#include <cstddef>
#include <cstdint>

// Offset of the CheckSum field of the optional header, or false when the
// data is not a PE image.
bool FindPeChecksumOffset(const uint8_t* data, size_t size, size_t& offset);

uint32_t ComputePeChecksum(const uint8_t* data, size_t size, size_t checksum_offset);
