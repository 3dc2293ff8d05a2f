// The version note of the zeltora executable. Compiled into that program only,
// with the four numbers of the project version given by the build.

#include "common/versionnote.h"

namespace {

[[gnu::section(".note.zeltora.version"), gnu::used, gnu::retain,
  gnu::aligned(4)]] const versionnote::TNote zeltoraVersionNote = {
    sizeof(versionnote::Name),
    sizeof(versionnote::TNote::version),
    versionnote::Type,
    "Zeltora",
    {ZELTORA_VERSION_MAJOR, ZELTORA_VERSION_MINOR, ZELTORA_VERSION_PATCH, ZELTORA_VERSION_TWEAK},
};

} // namespace
