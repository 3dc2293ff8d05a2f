#include "common/myfun.h"

#include "common/versionnote.h"

#include <QFile>

#include <elf.h>

#include <cstring>
#include <optional>
#include <vector>

// The version lives in an ELF note written by the build (see versionnote.h).
// Every offset and size read from the file is checked against the file before
// use: the file can be anything the caller names.

namespace {

// Upper bounds that keep a damaged header from making us read or allocate
// much; real executables stay far below them.
constexpr quint64 MaxSections = 1u << 16;
constexpr quint64 MaxNoteSection = 1u << 20;

bool readAt(QFile& file, quint64 offset, void* dst, quint64 size) {
    const quint64 fileSize = quint64(file.size());
    if (offset > fileSize || size > fileSize - offset)
        return false;
    if (!file.seek(qint64(offset)))
        return false;
    return file.read(static_cast<char*>(dst), qint64(size)) == qint64(size);
}

// Looks for our note among the notes of one SHT_NOTE section.
std::optional<QString> findInNotes(const std::vector<char>& data, quint64 align) {
    auto padded = [align](quint64 n) {
        return (n + align - 1) / align * align;
    };
    quint64 pos = 0;
    while (data.size() - pos >= sizeof(Elf32_Nhdr)) {
        Elf32_Nhdr header; // Elf64_Nhdr has the same 32-bit fields
        std::memcpy(&header, data.data() + pos, sizeof header);
        const quint64 nameAt = pos + sizeof header;
        const quint64 descAt = pos + padded(sizeof header + header.n_namesz);
        const quint64 next = descAt + padded(header.n_descsz);
        if (next > data.size())
            return std::nullopt;
        const bool ours =
            header.n_type == versionnote::Type && header.n_namesz == sizeof(versionnote::Name) &&
            header.n_descsz == sizeof(versionnote::TNote::version) &&
            std::memcmp(data.data() + nameAt, versionnote::Name, sizeof(versionnote::Name)) == 0;
        if (ours) {
            uint32_t v[4];
            std::memcpy(v, data.data() + descAt, sizeof v);
            return QStringLiteral("%1.%2.%3.%4").arg(v[0]).arg(v[1]).arg(v[2]).arg(v[3]);
        }
        pos = next;
    }
    return std::nullopt;
}

template <typename Ehdr, typename Shdr> QString versionFromElf(QFile& file) {
    Ehdr eh;
    if (!readAt(file, 0, &eh, sizeof eh) || eh.e_shoff == 0 || eh.e_shentsize < sizeof(Shdr))
        return QString();
    quint64 count = eh.e_shnum;
    if (count == 0) {
        // More sections than fit the header field: the real count is in section 0.
        Shdr first;
        if (!readAt(file, eh.e_shoff, &first, sizeof first))
            return QString();
        count = first.sh_size;
    }
    // The whole table must be in the file; a cut file is not read further.
    const quint64 fileSize = quint64(file.size());
    if (count > MaxSections || eh.e_shoff > fileSize ||
        count * eh.e_shentsize > fileSize - eh.e_shoff)
        return QString();
    for (quint64 i = 0; i < count; ++i) {
        Shdr sh;
        if (!readAt(file, eh.e_shoff + i * eh.e_shentsize, &sh, sizeof sh))
            return QString();
        if (sh.sh_type != SHT_NOTE || sh.sh_size > MaxNoteSection)
            continue;
        std::vector<char> data(sh.sh_size);
        if (!readAt(file, sh.sh_offset, data.data(), data.size()))
            continue;
        if (auto version = findInNotes(data, sh.sh_addralign == 8 ? 8 : 4))
            return *version;
    }
    return QString();
}

} // namespace

QString GetVersion(const QString& FileName) {
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    unsigned char ident[EI_NIDENT];
    if (!readAt(file, 0, ident, sizeof ident) || std::memcmp(ident, ELFMAG, SELFMAG) != 0)
        return QString();
    // Only files in this machine's byte order: the note is read as native numbers.
    constexpr unsigned char native =
        QSysInfo::ByteOrder == QSysInfo::LittleEndian ? ELFDATA2LSB : ELFDATA2MSB;
    if (ident[EI_DATA] != native)
        return QString();
    switch (ident[EI_CLASS]) {
    case ELFCLASS64:
        return versionFromElf<Elf64_Ehdr, Elf64_Shdr>(file);
    case ELFCLASS32:
        return versionFromElf<Elf32_Ehdr, Elf32_Shdr>(file);
    default:
        return QString();
    }
}
