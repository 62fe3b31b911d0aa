#include "fixups/workingcopyfiles.h"

#include "fixups/fixupfiles.h"
#include "fixups/texlines.h"
#include "platform/atomicfile.h"
#include "platform/pathutils.h"

#include <QDir>
#include <QFileInfo>

namespace morvane {

using namespace fixups;

namespace {

constexpr int classLineLimit = 500;

// The whole file is rarely needed: the class line lies near the top.
constexpr qsizetype classSearchBytes = 1 << 20;

} // namespace

void copyIfDifferent(const QString& source, const QString& destination) {
    if (!sameFile(source, destination))
        copyFileAtomically(source, destination, Durability::NoWait);
}

void copyClassFile(const QString& sourceDir, const QString& workingCopy) {
    const QByteArray start = readFileStart(workingCopy, classSearchBytes);
    const std::optional<DocumentClass> documentClass = findDocumentClass(start, classLineLimit);
    if (!documentClass)
        return;
    const QString name = pathFromBytes(documentClass->name.trimmed()) + QStringLiteral(".cls");
    // A class named with a folder would be copied out of the output folder.
    if (name.contains(QLatin1Char('/')))
        return;
    const QString source = QDir(sourceDir).filePath(name);
    if (QFileInfo(source).isFile())
        copyIfDifferent(source, QFileInfo(workingCopy).absoluteDir().filePath(name));
}

bool copyMydocFiles(const QString& sourceDir, const QString& destinationDir) {
    const QFileInfoList files = QDir(sourceDir).entryInfoList(
        {QStringLiteral("mydoc.*")}, QDir::Files | QDir::CaseSensitive, QDir::Name);
    bool copied = true;
    for (const QFileInfo& file : files) {
        const QString destination = joinPath(destinationDir, file.fileName());
        if (!sameFile(file.filePath(), destination) &&
            !copyFileAtomically(file.filePath(), destination, Durability::NoWait))
            copied = false;
    }
    return copied;
}

} // namespace morvane
