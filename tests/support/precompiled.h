// The precompiled header of the test executables: the Qt headers nearly every
// test file includes, parsed once instead of once a file. Only Qt's own,
// stable headers belong here; the program's headers change too often.
// A file still includes what it uses: with
// -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON it must compile as well.

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QSignalSpy>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
