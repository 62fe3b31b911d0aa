#pragma once

// Shared set-up of the fix-up tests: a context with an options model, a
// scripted link question and a temporary folder to write pages into.

#include "fixups/htmlfixups.h"
#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "settings/optionsmodel.h"
#include "support/routetabs.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>

namespace morvane::test {

// Answers the link question from a queue of link-answer states and records
// every question asked. Named apart from the driver rig's ScriptedLinkQuestion,
// which answers otherwise: two classes of one name in one executable clash.
class QueuedLinkQuestion : public LinkQuestion {
public:
    int ask(const QString& text) override {
        texts.append(text);
        return answers.isEmpty() ? 1 : answers.dequeue();
    }
    QQueue<int> answers;
    QStringList texts;
};

struct FixupFixture {
    FixupFixture() {
        ctx.model = &model;
        ctx.seams.linkQuestion = &question;
    }

    QString path(const QString& relative) const { return dir.path() + QLatin1Char('/') + relative; }

    QString write(const QString& relative, const QByteArray& content) const {
        const QString file = path(relative);
        QDir().mkpath(QFileInfo(file).absolutePath());
        QFile out(file);
        if (out.open(QIODevice::WriteOnly))
            out.write(content);
        return file;
    }

    QByteArray read(const QString& relative) const {
        QFile in(path(relative));
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    }

    bool exists(const QString& relative) const { return QFileInfo::exists(path(relative)); }

    // Puts a file's modification time an hour back, so that a rewrite shows.
    void ageFile(const QString& relative) const {
        QFile file(path(relative));
        if (file.open(QIODevice::ReadWrite))
            file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                             QFileDevice::FileModificationTime);
    }
    bool wasRewritten(const QString& relative) const {
        return QFileInfo(path(relative)).lastModified() >
               QDateTime::currentDateTime().addSecs(-1800);
    }

    QTemporaryDir dir;
    OptionsModel model;
    AppContext ctx;
    // The conversion the fix-ups work for (they read the live options).
    Conversion conv{ctx, builtInRoutes()[2], QString()};
    LinkRules rules; // TeX4ht's pages with the default extension
    QueuedLinkQuestion question;
};

} // namespace morvane::test
