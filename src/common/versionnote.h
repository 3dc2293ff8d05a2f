#pragma once

// Layout of the ELF note that carries the program's version in the executable
// (section ".note.zeltora.version"); written by the build, read by GetVersion.

#include <cstdint>

namespace versionnote {

inline constexpr char Name[] = "Zeltora";
inline constexpr uint32_t Type = 1;

// One complete note: header, name padded to four bytes, descriptor of four
// 32-bit numbers (major, minor, release, build) in the file's byte order.
struct TNote {
    uint32_t namesz;
    uint32_t descsz;
    uint32_t type;
    char name[8];
    uint32_t version[4];
};

static_assert(sizeof(Name) == sizeof(TNote::name));
static_assert(sizeof(TNote) == 12 + 8 + 16);

} // namespace versionnote
