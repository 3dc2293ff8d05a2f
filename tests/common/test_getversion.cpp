#include "common/myfun.h"
#include "common/versionnote.h"
#include "platform/platform.h"

#include "printqstring.h"
#include "tempfolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <elf.h>

#include <cstring>

namespace {

// The built program, where the build put it.
QString zeltoraPath() {
    return QStringLiteral(ZELTORA_PROGRAM);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

template <typename T> void append(QByteArray& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A minimal 32-bit ELF file: header, one note section holding `note`, and the
// section table (null section, note section).
QByteArray elf32WithNote(const QByteArray& note) {
    Elf32_Ehdr eh{};
    std::memcpy(eh.e_ident, ELFMAG, SELFMAG);
    eh.e_ident[EI_CLASS] = ELFCLASS32;
    eh.e_ident[EI_DATA] = ELFDATA2LSB;
    eh.e_ident[EI_VERSION] = EV_CURRENT;
    eh.e_type = ET_EXEC;
    eh.e_machine = EM_386;
    eh.e_version = EV_CURRENT;
    eh.e_ehsize = sizeof eh;
    eh.e_shoff = Elf32_Off(sizeof eh + note.size());
    eh.e_shentsize = sizeof(Elf32_Shdr);
    eh.e_shnum = 2;
    Elf32_Shdr notes{};
    notes.sh_type = SHT_NOTE;
    notes.sh_flags = SHF_ALLOC;
    notes.sh_offset = sizeof eh;
    notes.sh_size = Elf32_Word(note.size());
    notes.sh_addralign = 4;
    QByteArray out;
    append(out, eh);
    out.append(note);
    append(out, Elf32_Shdr{});
    append(out, notes);
    return out;
}

QByteArray versionNote(uint32_t type, const char (&name)[8], uint32_t descsz) {
    versionnote::TNote note{8, descsz, type, {}, {3, 1, 4, 15}};
    std::memcpy(note.name, name, sizeof note.name);
    QByteArray out;
    append(out, note);
    return out;
}

class GetVersionTest : public TempFolderTest {};

TEST_F(GetVersionTest, ReadsTheProjectVersionFromTheBuiltProgram) {
    ASSERT_TRUE(QFile::exists(zeltoraPath())) << zeltoraPath().toStdString();
    EXPECT_EQ(GetVersion(zeltoraPath()), ZELTORA_EXPECTED_VERSION);
}

TEST_F(GetVersionTest, FilesWithoutTheNoteGiveEmpty) {
    ASSERT_TRUE(writeFile(path("notes.txt"), "just some text\n"));
    ASSERT_TRUE(writeFile(path("empty"), ""));
    ASSERT_TRUE(writeFile(path("elf-magic-only"), "\x7f"
                                                  "ELF"));
    for (const QString& file : {platform::ExecutablePath(), path("notes.txt"), path("empty"),
                                path("elf-magic-only"), path("missing"), folder(), QString()})
        EXPECT_EQ(GetVersion(file), "") << file.toStdString();
}

TEST_F(GetVersionTest, TruncatedProgramGivesEmpty) {
    const QByteArray program = readAll(zeltoraPath());
    ASSERT_GT(program.size(), 4096);
    // The section table sits at the end: cutting the tail loses part of it.
    for (qsizetype size : {qsizetype(64), program.size() / 2, program.size() - 100}) {
        ASSERT_TRUE(writeFile(path("cut"), program.left(size)));
        EXPECT_EQ(GetVersion(path("cut")), "") << size;
    }
}

TEST_F(GetVersionTest, ReadsThe32BitFormat) {
    const QByteArray ours = versionNote(versionnote::Type, "Zeltora", 16);
    ASSERT_TRUE(writeFile(path("v32"), elf32WithNote(ours)));
    EXPECT_EQ(GetVersion(path("v32")), "3.1.4.15");

    // Found behind a foreign note in the same section.
    ASSERT_TRUE(writeFile(path("v32b"), elf32WithNote(versionNote(1, "Another", 16) + ours)));
    EXPECT_EQ(GetVersion(path("v32b")), "3.1.4.15");
}

TEST_F(GetVersionTest, ForeignOrDamagedNotesGiveEmpty) {
    const QByteArray bad[] = {
        versionNote(2, "Zeltora", 16),                   // other type
        versionNote(versionnote::Type, "Zeltorb", 16),   // other owner
        versionNote(versionnote::Type, "Zeltora", 8),    // short descriptor
        versionNote(versionnote::Type, "Zeltora", 4096), // runs past the section
    };
    for (const QByteArray& note : bad) {
        ASSERT_TRUE(writeFile(path("bad"), elf32WithNote(note)));
        EXPECT_EQ(GetVersion(path("bad")), "");
    }
    // Other byte order than this machine's.
    QByteArray swapped = elf32WithNote(versionNote(versionnote::Type, "Zeltora", 16));
    swapped[EI_DATA] = ELFDATA2MSB;
    ASSERT_TRUE(writeFile(path("swapped"), swapped));
    EXPECT_EQ(GetVersion(path("swapped")), "");
}

} // namespace
