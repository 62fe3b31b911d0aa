#include "pipeline/previousresult.h"

#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/filelinks.h"
#include "platform/pathutils.h"
#include "platform/privatefile.h"

#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

// A hidden name that nothing else uses, on the result's file system: beside
// the result, or for a result in an output folder of its own (which some
// converters clear before they write) in the folder above.
QString keptNameFor(const QString& output, bool inOutputFolder) {
    QString folder = QFileInfo(output).absolutePath();
    if (inOutputFolder)
        folder = QFileInfo(folder).absolutePath();
    return randomName(folder, QStringLiteral(".morvane-kept-XXXXXX"));
}

} // namespace

PreviousResult::PreviousResult(const Conversion& conversion) {
    const QString output = conversion.expectedOutput;
    // Never the document itself, nor a file the converter reads.
    if (!output.isEmpty() && output != conversion.document && output != conversion.source &&
        QFileInfo(output).isFile() && !QFileInfo(output).isSymLink()) {
        const QString kept = keptNameFor(output, conversion.route.outputRoot != nullptr);
        m_entry = journal::recordKept(output, kept);
        // A result with a second name (LaTeX2HTML's index.html is its first
        // page's) is written through that name: it is copied, not moved.
        const bool moved = hardLinkCount(output) == 1 && renameNoReplace(output, kept);
        if (moved || (hardLinkCount(output) > 1 && QFile::copy(output, kept))) {
            m_output = output;
            m_kept = kept;
        } else {
            journal::done(m_entry);
            m_entry = 0;
        }
    }
    const Route& route = conversion.route;
    if (route.outputRoot && !route.workingFiles.empty()) {
        const QString base =
            withoutSourceExtension(fileNameOf(conversion.source), conversion.sourceExtension);
        const QString folder =
            joinPath(conversion.app.settings.vars.*route.outputRoot, base) + QLatin1Char('/');
        for (const char* name : route.workingFiles)
            m_scratch.append(journal::recordScratch(
                folder + QString::fromLatin1(name).replace(QLatin1String("%1"), base)));
    }
}

PreviousResult::~PreviousResult() {
    for (const journal::Entry entry : std::as_const(m_scratch))
        journal::done(entry);
    if (m_kept.isEmpty())
        return;
    if (m_stopped)
        renameReplacing(m_kept, m_output); // the stopped run's part of a page was its own
    else if (QFileInfo::exists(m_output))
        QFile::remove(m_kept);
    else
        renameNoReplace(m_kept, m_output);
    journal::done(m_entry);
}

} // namespace morvane
