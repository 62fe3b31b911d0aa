#include "platform/programdir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace morvane {

namespace {
const QString iniName = QStringLiteral("Morvane.ini");
}

void seedProgramDirectory(const QString& dir, const QString& defaults) {
    if (defaults.isEmpty() || !QFileInfo(defaults).isDir())
        return;
    QDir().mkpath(dir);
    const QDir source(defaults);
    for (const QString& name : source.entryList(QDir::Files)) {
        const QString target = dir + QLatin1Char('/') + name;
        if (!QFileInfo::exists(target))
            QFile::copy(source.filePath(name), target);
    }
}

QString resolveProgramDirectory(const ProgramDirectoryInputs& inputs) {
    // Absolute, since converters run in other folders and are handed paths
    // into it (the LaTeX2HTML init file).
    if (!inputs.morvaneHome.isEmpty())
        return QDir::cleanPath(QDir::current().absoluteFilePath(inputs.morvaneHome));
    if (!inputs.executableDir.isEmpty() &&
        QFileInfo::exists(inputs.executableDir + QLatin1Char('/') + iniName))
        return QDir::cleanPath(inputs.executableDir);
    const QString dir = QDir::cleanPath(inputs.configHome + QStringLiteral("/morvane"));
    seedProgramDirectory(dir, inputs.installedDefaults);
    return dir;
}

void keepPerUserStoreIn(const QString& morvaneHome) {
    if (morvaneHome.isEmpty())
        return;
    const QString dir = QDir::cleanPath(morvaneHome);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir);
}

ProgramDirectoryInputs currentProgramDirectoryInputs() {
    ProgramDirectoryInputs inputs;
    inputs.morvaneHome = qEnvironmentVariable("MORVANE_HOME");
    inputs.executableDir = QCoreApplication::applicationDirPath();
    inputs.configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (inputs.configHome.isEmpty())
        inputs.configHome = QDir::homePath() + QStringLiteral("/.config");
    // The defaults of the prefix the executable sits in (a copy installed with
    // DESTDIR or moved elsewhere), else those of the configured prefix.
    const QString besideExecutable =
        QDir::cleanPath(inputs.executableDir + QStringLiteral("/" MORVANE_DATA_RELATIVE_DIR));
    inputs.installedDefaults = QFileInfo(besideExecutable).isDir()
                                   ? besideExecutable
                                   : QStringLiteral(MORVANE_DATA_INSTALL_DIR);
    return inputs;
}

} // namespace morvane
