#pragma once

// Byte-level helpers shared by the page and TeX-file fix-ups.

#include "platform/pointershape.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

namespace morvane::fixups {

// Position of `lowerNeedle` in `haystack` from `from`, comparing ASCII letters
// without regard to case (other bytes exactly); -1 when absent. The needle
// must be given in lower case. Unlike lower-casing the line first, this never
// moves a position and never touches a non-ASCII byte.
qsizetype indexOfAnyCase(QByteArrayView haystack, QByteArrayView lowerNeedle, qsizetype from = 0);

inline bool containsAnyCase(QByteArrayView haystack, QByteArrayView lowerNeedle) {
    return indexOfAnyCase(haystack, lowerNeedle) >= 0;
}

// ASCII lower case of a (short) pattern built from user text.
QByteArray asciiLower(QByteArrayView text);

// A line edit: gets one line without its line end and returns its new text,
// or nothing when the line stays as it is.
using LineEdit = std::function<std::optional<QByteArray>(QByteArrayView line)>;

// Runs `edit` on every line of `content` (lines end in LF or CR LF; each keeps
// its own end, and a last line without one stays without). Returns the new
// content, or nothing when no line's bytes changed.
std::optional<QByteArray> editLines(const QByteArray& content, const LineEdit& edit);

// Reads a whole file; nothing when it cannot be read.
std::optional<QByteArray> readFile(const QString& path);

// Replaces a page's or a log's contents atomically, without waiting for the
// disk, and notes the change for the image folder's cache.
bool replaceFile(const QString& path, const QByteArray& content);

// Reads `path`, applies `edit` to its lines and replaces the file only when
// some line changed, so an untouched page keeps its modification time.
void editFileLines(const QString& path, const LineEdit& edit);

// True when both paths name the same existing file.
bool sameFile(const QString& a, const QString& b);

// True when `name` is a relative path that stays below the folder it is
// joined to: not empty, not absolute, no "." or ".." component.
bool staysInside(const QString& name);

// A file name taken from page bytes, as the file system spells it.
QString pathFromBytes(QByteArrayView bytes);

// The busy pointer while a fix-up works, and the normal one while a question
// is up inside it.
class BusyPointer : public PointerOverride {
public:
    BusyPointer() : PointerOverride(PointerShape::Busy) {}
};
class NormalPointer : public PointerOverride {
public:
    NormalPointer() : PointerOverride(PointerShape::Normal) {}
};

} // namespace morvane::fixups
