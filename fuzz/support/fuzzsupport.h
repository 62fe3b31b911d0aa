#pragma once

// What the fuzz targets share: reading structured values from the fuzzer's
// bytes, a scratch folder on a memory file system, a prompter that answers
// nothing, and the check that stops a run when an invariant breaks.

#include "platform/prompter.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstddef>
#include <cstdint>

namespace morvane::fuzz {

// Stops the run with a message naming the broken invariant; libFuzzer keeps
// the input that led here. `detail` is printed as it is (it may hold the
// compared values).
[[noreturn]] void fail(const char* invariant, const QString& detail = QString());

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::morvane::fuzz::fail(#condition, (detail));                                           \
    } while (false)

// The input split at NUL bytes: the targets take their pieces (file text,
// names, values) in order, so a seed stays readable and a mutation of one
// piece leaves the others where they were. A missing piece is empty.
class Pieces {
public:
    Pieces(const uint8_t* data, size_t size);
    QByteArray bytes();
    // A piece as text (UTF-8; broken sequences become U+FFFD, so the text is
    // always valid Unicode, as text from a window or a file read is).
    QString text();
    // The first byte of the next piece (0 for an empty or missing piece).
    int small();
    // Everything not yet taken, NUL bytes included (a file's own bytes).
    QByteArray rest();
    bool atEnd() const { return m_next >= m_pieces.size(); }

private:
    QList<QByteArray> m_pieces;
    qsizetype m_next = 0;
};

// A folder for the targets' files, made once per process. It lies on a
// memory file system (/dev/shm) where there is one, so that the files the
// code under test replaces "waiting for the disk" cost no disk.
QString scratchDir();

// Writes `bytes` to `path` (replacing it); aborts the run when it cannot.
void writeScratchFile(const QString& path, const QByteArray& bytes);
QByteArray readScratchFile(const QString& path);

// Answers every question with its default button and counts the messages.
class SilentPrompter : public Prompter {
public:
    using Prompter::ask;
    Answer ask(const Prompt& prompt) override;
    int messages = 0;
};

// Shows a byte string with its control bytes escaped, for failure messages.
QString shown(const QByteArray& bytes);

} // namespace morvane::fuzz
