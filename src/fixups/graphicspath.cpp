#include "fixups/graphicspath.h"

#include "fixups/fixupfiles.h"
#include "fixups/workingcopyfiles.h"
#include "pipeline/watchedfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

namespace morvane {

using namespace fixups;

namespace {

// A class or package file may set the path for every document that loads it
// (a thesis class sets its crest's folder); more than this many in one
// folder are not the document's own.
constexpr qsizetype kMaxStyleFiles = 50;

bool isTexText(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("tex") || suffix == QLatin1String("ltx") ||
           suffix == QLatin1String("cls") || suffix == QLatin1String("sty");
}

// The document, the TeX files it inputs and the class and package files
// beside it: where a \graphicspath may stand.
QStringList texFilesOf(const QString& document) {
    QStringList files;
    for (const QString& file : watchedFilesOf(document))
        if (file == document || isTexText(file))
            files.append(file);
    const QFileInfoList styles =
        QDir(QFileInfo(document).absolutePath())
            .entryInfoList({QStringLiteral("*.cls"), QStringLiteral("*.sty")}, QDir::Files,
                           QDir::Name);
    for (qsizetype i = 0; i < styles.size() && i < kMaxStyleFiles; ++i)
        files.append(styles.at(i).absoluteFilePath());
    return files;
}

// A folder or name as a path below the document's folder ("./figs/" is
// "figs"); empty when it reaches out of it or is built by a macro.
QString insidePath(const QString& written) {
    if (written.contains(QLatin1Char('\\')) || written.contains(QLatin1Char('#')))
        return {};
    QString path = written.trimmed();
    while (path.startsWith(QLatin1String("./")))
        path.remove(0, 2);
    path = QDir::cleanPath(path);
    return staysInside(path) ? path : QString();
}

void copyPicture(const QString& from, const QString& to, const QString& beside) {
    if (!QFileInfo(from).isFile())
        return;
    QDir().mkpath(QFileInfo(to).absolutePath());
    copyIfDifferent(from, to);
    if (!beside.isEmpty() && !QFileInfo::exists(beside))
        copyIfDifferent(from, beside);
}

} // namespace

const QStringList& pictureExtensions() {
    static const QStringList extensions = {
        QStringLiteral(".png"), QStringLiteral(".jpg"), QStringLiteral(".jpeg"),
        QStringLiteral(".gif"), QStringLiteral(".eps"), QStringLiteral(".ps"),
        QStringLiteral(".pdf"), QStringLiteral(".svg"), QStringLiteral(".mps"),
        QStringLiteral(".PNG"), QStringLiteral(".JPG"), QStringLiteral(".EPS"),
        QStringLiteral(".PDF")};
    return extensions;
}

QStringList graphicsPathsOf(const QByteArray& texText) {
    static const QRegularExpression command(
        QStringLiteral("\\\\graphicspath\\s*\\{((?:\\s*\\{[^{}]*\\})*)\\s*\\}"));
    static const QRegularExpression folder(QStringLiteral("\\{([^{}]*)\\}"));
    QByteArray text;
    for (const QByteArray& line : texText.split('\n'))
        text += withoutTexComment(line) + '\n';
    QStringList folders;
    // The expression runs only on a text that names the command.
    if (!text.contains("\\graphicspath"))
        return folders;
    for (auto it = command.globalMatch(QString::fromUtf8(text)); it.hasNext();) {
        const QString list = it.next().captured(1);
        for (auto f = folder.globalMatch(list); f.hasNext();)
            folders.append(f.next().captured(1).trimmed());
    }
    return folders;
}

namespace {

// The document's \graphicspath folders and the pictures it names, both
// below its folder.
struct NamedPictures {
    QStringList folders;
    QStringList pictures;
};

NamedPictures namedPicturesOf(const QString& document) {
    NamedPictures named;
    for (const QString& file : texFilesOf(document)) {
        const std::optional<QByteArray> text = readFile(file);
        if (!text)
            continue;
        for (const QString& folder : graphicsPathsOf(*text))
            if (const QString path = insidePath(folder); !path.isEmpty())
                named.folders.append(path);
        for (const NamedInput& input : namedInputsOf(*text))
            if (const QString name = insidePath(input.name); input.graphics && !name.isEmpty())
                named.pictures.append(name);
    }
    named.folders.removeDuplicates();
    named.pictures.removeDuplicates();
    return named;
}

} // namespace

QStringList graphicsFoldersOf(const QString& document) {
    return namedPicturesOf(document).folders;
}

void copyGraphicsPathPictures(const QString& document, const QString& outputDir,
                              PictureCopies copies) {
    const auto [folders, pictures] = namedPicturesOf(document);
    const QDir source(QFileInfo(document).absolutePath());
    const QDir output(outputDir);
    if (source.absolutePath() == output.absolutePath())
        return; // the pictures are where the converter looks already
    const bool beside = copies == PictureCopies::AlsoBeside;
    for (const QString& folder : folders) {
        for (const QString& picture : pictures) {
            const QString name = folder + QLatin1Char('/') + picture;
            const QString bare = QFileInfo(picture).fileName();
            copyPicture(source.filePath(name), output.filePath(name),
                        beside ? output.filePath(bare) : QString());
            for (const QString& extension : pictureExtensions())
                copyPicture(source.filePath(name + extension), output.filePath(name + extension),
                            beside ? output.filePath(bare + extension) : QString());
        }
    }
}

} // namespace morvane
