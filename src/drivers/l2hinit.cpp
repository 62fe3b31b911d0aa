#include "drivers/l2hinit.h"

#include "pipeline/appcontext.h"
#include "pipeline/conversion.h"
#include "platform/atomicfile.h"
#include "platform/prompter.h"
#include "settings/optionsmodel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

const QByteArray kAutomaticMarker = "# Automatic settings";
const QByteArray kUserMarker = "# User settings";

// The text shown by a list combo (the model keeps its index).
QString listText(const OptionsModel& model, ctl::Control name) {
    return model.items(name).value(model.index(name), S("Default"));
}

// Depths and verbosity reach Perl as numbers; anything else is left out.
bool isNumber(const QString& text) {
    bool ok = false;
    text.toInt(&ok);
    return ok;
}

// Where the marker line starts, and the first byte after its one line end.
struct MarkerLine {
    qsizetype start = -1;
    qsizetype userStart = -1;
};

MarkerLine findUserMarker(const QByteArray& text) {
    for (qsizetype at = text.indexOf(kUserMarker); at >= 0;
         at = text.indexOf(kUserMarker, at + 1)) {
        if (at > 0 && text.at(at - 1) != '\n')
            continue;
        const qsizetype end = at + kUserMarker.size();
        if (end == text.size())
            return {at, end};
        if (text.at(end) == '\n')
            return {at, end + 1};
        if (text.mid(end, 2) == "\r\n")
            return {at, end + 2};
    }
    return {};
}

} // namespace

L2hInitOptions L2hInitOptions::from(const OptionsModel& model) {
    L2hInitOptions options;
    static const char* const types[] = {"gif", "png", "svg"};
    const int type = model.index(ctl::optGifPng);
    options.imageType = QLatin1String(types[type >= 0 && type < 3 ? type : 1]);
    options.navigation = model.isChecked(ctl::chkNavigation);
    options.splitDepth = listText(model, ctl::cmbSplit);
    options.verbosity = listText(model, ctl::cmbVerbosity);
    options.about = model.text(ctl::cmbAbout);
    options.address = model.text(ctl::cmbAddress);
    options.title = model.text(ctl::cmbTitle);
    return options;
}

QString perlQuoted(const QString& text) {
    QString quoted;
    quoted.reserve(text.size() + 2);
    quoted += QLatin1Char('\'');
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\''))
            quoted += QLatin1Char('\\');
        quoted += (c == QLatin1Char('\r') || c == QLatin1Char('\n')) ? QChar(QLatin1Char(' ')) : c;
    }
    quoted += QLatin1Char('\'');
    return quoted;
}

QString automaticL2hSettings(const L2hInitOptions& o, const QString& outputDir) {
    const QString def = S("Default");
    QString text = S("$DESTDIR = ") + perlQuoted(outputDir) + S(";\n");
    text += S("$IMAGE_TYPE = ") + perlQuoted(o.imageType) + S(";\n");
    if (!o.navigation)
        text += S("$NO_NAVIGATION = 1;\n");
    if (o.splitDepth != def && isNumber(o.splitDepth))
        text += S("$MAX_SPLIT_DEPTH = ") + o.splitDepth.trimmed() + S(";\n");
    if (o.verbosity != def && isNumber(o.verbosity))
        text += S("$VERBOSITY = ") + o.verbosity.trimmed() + S(";\n");
    if (o.about == S("None"))
        text += S("$INFO = 0;\n");
    else if (o.about != def)
        text += S("$INFO = ") + perlQuoted(o.about) + S(";\n");
    if (o.address != def)
        text += S("$ADDRESS = ") + perlQuoted(o.address) + S(";\n");
    if (!o.title.isEmpty() && o.title != def)
        text += S("$TITLE = ") + perlQuoted(o.title) + S(";\n");
    return text + S("1;\n");
}

QByteArray userPartOf(const QByteArray& initText) {
    const MarkerLine marker = findUserMarker(initText);
    if (marker.start >= 0)
        return initText.mid(marker.userStart);
    if (initText.trimmed().startsWith(kAutomaticMarker))
        return {};
    return initText;
}

std::optional<QByteArray> readUserSettings(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return QByteArray();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return userPartOf(file.readAll());
}

QByteArray composeInitFile(const QString& automatic, const QByteArray& user) {
    return kAutomaticMarker + '\n' + automatic.toUtf8() + '\n' + kUserMarker + '\n' + user;
}

bool writeInitFile(const QString& path, const QString& automatic, const QByteArray& user,
                   QString* error) {
    // Most conversions repeat the settings of the one before: the file is
    // then left as it is, without a write and a wait for the disk.
    return replaceFileIfChanged(path, composeInitFile(automatic, user), Durability::WaitForDisk,
                                error);
}

QString l2hInitPath(const AppContext& ctx) {
    return ctx.programDir + S("/LaTeX2HTML.init");
}

bool WriteInit(AppContext& ctx, const OptionsModel& options, const QString& outputDir,
               QByteArray* written) {
    const QString path = l2hInitPath(ctx);
    const std::optional<QByteArray> user = readUserSettings(path);
    QString error;
    if (!user) {
        QFile unreadable(path);
        unreadable.open(QIODevice::ReadOnly);
        error = unreadable.errorString();
    } else {
        const QString automatic = automaticL2hSettings(L2hInitOptions::from(options), outputDir);
        if (writeInitFile(path, automatic, *user, &error)) {
            if (written)
                *written = composeInitFile(automatic, *user);
            return true;
        }
    }
    ctx.seams.prompter->tell(S("Unable to write the LaTeX2HTML init file\n\n") +
                                 QDir::toNativeSeparators(path) + S("\n\n") + error,
                             S("LaTeX2HTML Init File"), Icon::Exclamation);
    return false;
}

} // namespace morvane
