#include "platform/programmodule.h"

#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

// Where an installed program's modules lie, seen from its executable.
#ifndef MORVANE_MODULE_RELATIVE_DIR
#define MORVANE_MODULE_RELATIVE_DIR "../lib/morvane"
#endif

namespace morvane {

QString executableDirectory() {
    // Known before any application object exists, unlike
    // QCoreApplication::applicationDirPath.
    return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath();
}

void* resolveProgramModule(const QString& name, const char* symbol, QString* error) {
    const QString here = executableDirectory();
    const QStringList candidates{here + QLatin1Char('/') + name,
                                 here + QStringLiteral("/" MORVANE_MODULE_RELATIVE_DIR "/") + name,
                                 QStringLiteral(MORVANE_MODULE_INSTALL_DIR "/") + name};
    QStringList problems;
    for (const QString& candidate : candidates) {
        if (!QFileInfo::exists(candidate))
            continue;
        auto* library = new QLibrary(candidate); // stays loaded for the program's life
        if (library->load()) {
            if (void* found = reinterpret_cast<void*>(library->resolve(symbol)))
                return found;
        }
        problems.append(library->errorString());
        delete library;
    }
    if (error)
        *error = problems.isEmpty() ? name + QStringLiteral(" was not found next to ") + here
                                    : problems.join(QLatin1Char('\n'));
    return nullptr;
}

} // namespace morvane
