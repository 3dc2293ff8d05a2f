#pragma once

// Whether downloaded bytes are a program this machine can run: an ELF file of
// the running program's own class, byte order and machine.

#include <QByteArray>

// The first bytes of a file (at least the ELF header, 64 bytes).
bool IsProgramOfThisMachine(const QByteArray& head);
