#include "settings/hevealibrary.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>

namespace morvane {

namespace {

const QString fallbackLibrary = QStringLiteral("/usr/share/hevea");

QString heveaProgram(const QString& heveaDir) {
    if (!heveaDir.isEmpty()) {
        const QFileInfo inDir(heveaDir + QStringLiteral("/hevea"));
        if (inDir.isFile() && inDir.isExecutable())
            return inDir.filePath();
    }
    return QStandardPaths::findExecutable(QStringLiteral("hevea"));
}

QString askHevea(const QString& program) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {QStringLiteral("-version")});
    process.closeWriteChannel();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(1000);
        return {};
    }
    return libraryDirectoryFromVersionText(QString::fromLocal8Bit(process.readAll()));
}

// What identifies one hevea program: a new or updated program is asked
// again, the same one is not.
QString programStamp(const QString& program) {
    const QFileInfo info(program);
    return program + QLatin1Char('|') + QString::number(info.size()) + QLatin1Char('|') +
           QString::number(info.lastModified().toMSecsSinceEpoch());
}

// The answer is kept in the per-user store (group "Hevea"), so that an
// ordinary start runs no process: asking hevea costs more than building the

QString storedLibrary(const QString& stamp) {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.beginGroup(QStringLiteral("Hevea"));
    if (store.value(QStringLiteral("Program")).toString() != stamp)
        return {};
    const QString library = store.value(QStringLiteral("Library")).toString();
    return QFileInfo(library).isDir() ? library : QString();
}

void storeLibrary(const QString& stamp, const QString& library) {
    QSettings store(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
    store.beginGroup(QStringLiteral("Hevea"));
    store.setValue(QStringLiteral("Program"), stamp);
    store.setValue(QStringLiteral("Library"), library);
}

} // namespace

QString libraryDirectoryFromVersionText(const QString& versionText) {
    static const QString label = QStringLiteral("library directory:");
    const QStringList lines = versionText.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype at = line.indexOf(label, 0, Qt::CaseInsensitive);
        if (at >= 0)
            return line.mid(at + label.size()).trimmed();
    }
    return {};
}

QString heveaLibraryDirectory(const QString& heveaDir) {
    static QHash<QString, QString> known;
    const QString program = heveaProgram(heveaDir);
    if (program.isEmpty())
        return fallbackLibrary;
    const QString stamp = programStamp(program);
    auto it = known.constFind(stamp);
    if (it != known.constEnd())
        return *it;
    QString library = storedLibrary(stamp);
    if (library.isEmpty()) {
        library = askHevea(program);
        // Only a real answer is remembered: a hevea that failed once is asked
        // again at the next start.
        if (library.isEmpty())
            library = fallbackLibrary;
        else
            storeLibrary(stamp, library);
    }
    known.insert(stamp, library);
    return library;
}

QStringList styleFileNames(const QString& dir) {
    if (dir.isEmpty())
        return {};
    // The extension is compared as text: a name filter would build a
    // regular expression for it at every start.
    QStringList names;
    for (QDirIterator it(dir, QDir::Files | QDir::Hidden); it.hasNext();) {
        const QString name = it.nextFileInfo().fileName();
        if (name.endsWith(QStringLiteral(".hva"), Qt::CaseInsensitive))
            names.append(name);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

QStringList styleListFrom(const QStringList& fileNames) {
    QStringList list;
    for (const QString& name : fileNames) {
        const QString lower = name.toLower();
        if (lower == QStringLiteral("hevea.hva") || lower.contains(QStringLiteral("of hevea.hva")))
            continue;
        list.append(name);
    }
    if (!list.isEmpty())
        list.prepend(QString(26, QLatin1Char('-')));
    return list;
}

QString styleDirectory(const Settings& settings, const QString& programDir, bool heveaFound) {
    if (!heveaFound)
        return programDir;
    const QString type = settings.vars.heveaOutputExtension;
    const QString kind = type == QStringLiteral("txt") ? QStringLiteral("text") : type;
    return heveaLibraryDirectory(settings.vars.hevea) + QLatin1Char('/') + kind;
}

} // namespace morvane
