// Helpers of the decoder fuzz targets. A mutated datagram almost never keeps a
// valid checksum, so each target also decodes a repaired copy: the same bytes
// with the sender mark of a host and both sums put right, which carries the
// mutation past the reply prologue into the decoder's own rows.
#pragma once
#include <cstdint>
#include <string>

#include "protocol/frame_codec.h"

namespace tarnwick::fuzz {

// The datagram as the exchange hands it to a decoder.
inline std::string Received(const uint8_t* data, size_t size) {
    return NormalizeReceived(std::string(reinterpret_cast<const char*>(data), size));
}

// The received frame with sender mark 01 and correct sums, or empty text when
// it is too short or odd to carry a class and a command.
inline std::string Repaired(const std::string& frame) {
    if (frame.size() < 16 || frame.size() % 2 != 0) return {};
    // Bytes 4 to n-2: addressee mark, class, command, data.
    const std::string covered = frame.substr(6, frame.size() - 10);
    const std::string summed = "01" + covered + HexCheckCode(covered);
    return "7E" + HexChecksum(summed) + summed + "7E";
}

}  // namespace tarnwick::fuzz
