#include "fixups/missingpictures.h"

#include "platform/directorylisting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

namespace morvane {

QStringList missingPictures(const QString& dir) {
    // The pages a name filter "*.htm*" or "*.xht" would give.
    const auto isPage = [](const QString& name) {
        return name.contains(QLatin1String(".htm"), Qt::CaseInsensitive) ||
               name.endsWith(QLatin1String(".xht"), Qt::CaseInsensitive);
    };
    return missingPicturesOf(dir, fileNamesIn(dir, isPage, Qt::CaseInsensitive));
}

QStringList missingPicturesOf(const QString& dir, const QStringList& pages) {
    static const QRegularExpression source(QStringLiteral("\\bsrc=\"([^\"]*)\""),
                                           QRegularExpression::CaseInsensitiveOption);
    const QDir folder(dir);
    QStringList missing;
    for (const QString& page : pages) {
        QFile file(folder.filePath(page));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = file.readAll();
        // The expression runs only on a page that shows a picture at all.
        if (!QLatin1String(bytes).contains(QLatin1String("src="), Qt::CaseInsensitive))
            continue;
        const QString text = QString::fromUtf8(bytes);
        for (auto it = source.globalMatch(text); it.hasNext();) {
            const QString target = it.next().captured(1);
            // A web address, a data: picture or a script's own source.
            if (target.isEmpty() || target.contains(QLatin1Char(':')))
                continue;
            const QString path =
                QUrl::fromPercentEncoding(target.section(QLatin1Char('?'), 0, 0).toUtf8());
            if (!QFileInfo::exists(folder.filePath(path)))
                missing.append(page + QStringLiteral(": ") + path);
        }
    }
    return missing;
}

QByteArray missingPicturesLogLine(const QStringList& missing) {
    return QStringLiteral("! Morvane: %1 picture(s) the pages show were not made (is dvipng, "
                          "ImageMagick or Ghostscript installed? morvane --check says): %2\n")
        .arg(missing.size())
        .arg(missing.mid(0, 20).join(QStringLiteral(", ")))
        .toUtf8();
}

} // namespace morvane
