#pragma once

// HeVeA knows a document class only by its style file CLASS.hva: a
// document in a class of its own (a thesis's or a journal's) stops at
// \documentclass with "No base style" and gives no page at all. The nearest
// standard style stands in for such a class.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace morvane {

struct Conversion;
class PrivateFolder;

// The style that stands in for the class of `texText`: empty when the text
// names no class or one that has its CLASS.hva in one of `styleFolders`;
// else "book" for a document with chapters (or files it \include's) and
// "article" for any other.
QString standInStyleFor(const QByteArray& texText, const QStringList& styleFolders);

// The class named by the first \documentclass of `texText` that is not
// commented out; empty when there is none.
QString documentClassOf(const QByteArray& texText);

// For the HeVeA run of `conv`: when HeVeA has no style for the document's
// class, writes CLASS.hva loading the stand-in style into the prepared
// folder that convert.sh hands to HeVeA (a private one of its own when the
// run has none), and says so in the log. Nothing is written beside the
// document. The folder lives as long as this value.
class HeveaClassStandIn {
public:
    // `heveaDir` is the HeVeA location of the settings (see
    // heveaLibraryDirectory); `log` the run's log, its header written.
    HeveaClassStandIn(Conversion& conv, const QString& heveaDir, const QString& log);
    ~HeveaClassStandIn();
    HeveaClassStandIn(const HeveaClassStandIn&) = delete;
    HeveaClassStandIn& operator=(const HeveaClassStandIn&) = delete;

private:
    std::unique_ptr<PrivateFolder> m_dir;
};

// The log line that says which style stood in for which class.
QByteArray standInLogLine(const QString& className, const QString& style);

} // namespace morvane
