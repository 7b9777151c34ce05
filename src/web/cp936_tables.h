#pragma once

#include <cstdint>
#include <span>

namespace quoinry::web {

// CP936 as the host's iconv has it (make_cp936_tables.py), 0xFFFF where it has nothing:
// the bytes of each BMP character (below 0x100 one byte, else lead byte high), the character of
// each single byte, and of each pair of lead byte 0x81..0xFE and trail byte 0x40..0xFE.
std::span<const std::uint16_t> Cp936EncodeTable();
std::span<const std::uint16_t> Cp936SingleTable();
std::span<const std::uint16_t> Cp936PairTable();

}  // namespace quoinry::web
