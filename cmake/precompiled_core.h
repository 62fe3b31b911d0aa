// The precompiled header of the core library: the Qt and standard headers
// most of its files include, parsed once instead of once a file. Only Qt's
// and the standard library's own, stable headers belong here. Every file
// still includes what it uses: with -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON it
// must compile as well.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
