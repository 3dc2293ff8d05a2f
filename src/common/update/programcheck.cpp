#include "common/update/programcheck.h"

#include <QFile>

#include <elf.h>

#include <cstring>

namespace {

// class, byte order and machine, read once from the running program itself.
struct TMachine {
    unsigned char elfClass = 0;
    unsigned char data = 0;
    uint16_t machine = 0;
    uint16_t type = 0;
    bool known = false;
};

bool readMachine(const QByteArray& head, TMachine& m) {
    if (head.size() < qsizetype(sizeof(Elf64_Ehdr)) ||
        std::memcmp(head.constData(), ELFMAG, SELFMAG) != 0)
        return false;
    const auto* ident = reinterpret_cast<const unsigned char*>(head.constData());
    m.elfClass = ident[EI_CLASS];
    m.data = ident[EI_DATA];
    // e_machine sits at the same offset in 32- and 64-bit headers.
    std::memcpy(&m.machine, head.constData() + offsetof(Elf64_Ehdr, e_machine), sizeof m.machine);
    std::memcpy(&m.type, head.constData() + offsetof(Elf64_Ehdr, e_type), sizeof m.type);
    m.known = true;
    return true;
}

const TMachine& ownMachine() {
    static const TMachine own = [] {
        TMachine m;
        QFile self(QStringLiteral("/proc/self/exe"));
        if (self.open(QIODevice::ReadOnly))
            readMachine(self.read(sizeof(Elf64_Ehdr)), m);
        return m;
    }();
    return own;
}

} // namespace

bool IsProgramOfThisMachine(const QByteArray& head) {
    const TMachine& own = ownMachine();
    TMachine m;
    return own.known && readMachine(head, m) && m.elfClass == own.elfClass && m.data == own.data &&
           m.machine == own.machine && (m.type == ET_EXEC || m.type == ET_DYN);
}
