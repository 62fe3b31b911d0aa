// The profile file (Morvane.ini): reading, writing and the settings cycle.
//
// Input: a count byte N, then N edits (an operation byte, a section, a key
// and a value, each ended by a NUL byte), then the file's bytes (NUL bytes
// included). Invariants:
//  - a file read and saved unchanged comes back byte for byte;
//  - a read gives at most ValueLimit characters;
//  - a successful write reads back as the value (trimmed, one pair of
//    enclosing quotes removed, cut at ValueLimit) and changes no other key;
//    a refused write changes no byte; a deleted key is gone;
//  - writing the same value twice changes nothing the second time;
//  - what the profile saves reads back the same after loading it again;
//  - readini followed by writeini settles: the third round changes nothing
//    the second did not (values are written bare, so blanks that quotes
//    kept around a hand-edited value go in the first);
//  - the INI number and argument encodings stay in range and settle after
//    one round.

#include "pipeline/route.h"
#include "settings/iniencoding.h"
#include "settings/inikeys.h"
#include "settings/inisync.h"
#include "settings/optionsmodel.h"
#include "settings/profilefile.h"
#include "settings/settingsvariables.h"
#include "support/fuzzsupport.h"

#include <QList>
#include <QPair>
#include <cmath>

using namespace morvane;
using namespace morvane::fuzz;

namespace {

using Pair = QPair<QString, QString>; // section, key

bool sameName(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The documented reading of a stored value, written out independently.
QString expectedRead(const QString& stored) {
    QString value = stored.trimmed();
    if (value.size() >= 2 && value.front() == QLatin1Char('"') && value.back() == QLatin1Char('"'))
        value = value.mid(1, value.size() - 2);
    if (value.size() > ProfileFile::ValueLimit) {
        qsizetype n = ProfileFile::ValueLimit;
        if (value.at(n - 1).isHighSurrogate())
            --n;
        value.truncate(n);
    }
    return value;
}

const QString kMissing = QStringLiteral("\x01\x02no such key\x03");

struct Snapshot {
    QList<QString> values; // kMissing when the key is absent
};

Snapshot snapshot(const ProfileFile& profile, const QList<Pair>& pairs) {
    Snapshot s;
    for (const Pair& p : pairs) {
        const QString value = profile.read(p.first, p.second, kMissing);
        FUZZ_CHECK(value.size() <= ProfileFile::ValueLimit, value);
        FUZZ_CHECK(profile.contains(p.first, p.second) == (value != kMissing),
                   p.first + QLatin1Char('/') + p.second);
        s.values.append(value);
    }
    return s;
}

ProfileFile loaded(const QString& path, const QByteArray& bytes) {
    writeScratchFile(path, bytes);
    return ProfileFile::load(path);
}

// Only entries of (section, key) may differ between the two snapshots.
void checkOthersKept(const QList<Pair>& pairs, const Snapshot& before, const Snapshot& after,
                     const QString& section, const QString& key, bool wholeSection) {
    for (qsizetype i = 0; i < pairs.size(); ++i) {
        const bool touched =
            sameName(pairs[i].first, section) && (wholeSection || sameName(pairs[i].second, key));
        if (!touched)
            FUZZ_CHECK(before.values[i] == after.values[i],
                       QStringLiteral("[%1] %2 changed from '%3' to '%4' by an edit of [%5] %6")
                           .arg(pairs[i].first, pairs[i].second, before.values[i], after.values[i],
                                section, key));
    }
}

// Runs the edits of the input on its file; returns the file's bytes.
QByteArray checkEdits(Pieces& in) {
    const QString path = scratchDir() + QStringLiteral("/profile.ini");
    struct Edit {
        int op;
        QString section, key, value;
    };
    QList<Edit> edits;
    const int count = in.small() % 6;
    for (int i = 0; i < count; ++i) {
        Edit e;
        e.op = in.small() % 4;
        e.section = in.text();
        e.key = in.text();
        e.value = in.text();
        edits.append(e);
    }
    const QByteArray bytes = in.rest();

    ProfileFile profile = loaded(path, bytes);
    FUZZ_CHECK(profile.toBytes() == bytes, QStringLiteral("read:\n") + shown(bytes) +
                                               QStringLiteral("\nsaved:\n") +
                                               shown(profile.toBytes()));

    QList<Pair> pairs;
    for (const IniKey& key : allIniKeys(builtInRoutes()))
        pairs.append({QString::fromLatin1(key.section), QString::fromLatin1(key.name)});
    for (const Edit& e : edits)
        pairs.append({e.section, e.key});
    for (const QString& key : profile.keys(QStringLiteral("Preferences")))
        pairs.append({QStringLiteral("Preferences"), key});

    for (const Edit& e : edits) {
        const Snapshot before = snapshot(profile, pairs);
        const QByteArray bytesBefore = profile.toBytes();
        bool ok = true;
        switch (e.op) {
        case 0:
        case 3:
            ok = profile.writeText(e.section, e.key, e.value);
            if (ok) {
                FUZZ_CHECK(profile.read(e.section, e.key, kMissing) == expectedRead(e.value),
                           QStringLiteral("[%1] %2 = '%3' read back as '%4'\n")
                                   .arg(e.section, e.key, e.value,
                                        profile.read(e.section, e.key, kMissing)) +
                               shown(profile.toBytes()));
                FUZZ_CHECK(profile.keys(e.section).contains(e.key.trimmed(), Qt::CaseInsensitive),
                           e.key);
            }
            if (ok && e.op == 3) {
                const QByteArray once = profile.toBytes();
                FUZZ_CHECK(profile.writeText(e.section, e.key, e.value), e.key);
                FUZZ_CHECK(profile.toBytes() == once, shown(once));
            }
            break;
        case 1:
            ok = profile.remove(e.section, e.key);
            if (ok)
                FUZZ_CHECK(!profile.contains(e.section, e.key),
                           e.section + QLatin1Char('/') + e.key);
            break;
        case 2:
            ok = profile.removeSection(e.section);
            FUZZ_CHECK(profile.keys(e.section).isEmpty(), e.section);
            break;
        }
        if (!ok)
            FUZZ_CHECK(profile.toBytes() == bytesBefore, e.section + QLatin1Char('/') + e.key);
        const Snapshot after = snapshot(profile, pairs);
        checkOthersKept(pairs, before, after, e.section, e.key, e.op == 2);
    }

    // What is saved reads back the same.
    const Snapshot final = snapshot(profile, pairs);
    const QByteArray saved = profile.toBytes();
    const ProfileFile reloaded = loaded(path, saved);
    FUZZ_CHECK(reloaded.toBytes() == saved, shown(saved));
    const Snapshot again = snapshot(reloaded, pairs);
    for (qsizetype i = 0; i < pairs.size(); ++i)
        FUZZ_CHECK(final.values[i] == again.values[i],
                   pairs[i].first + QLatin1Char('/') + pairs[i].second);
    return bytes;
}

// readini then writeini, from a fresh start each time, as the program does
// from one run to the next.
QByteArray settingsCycle(const QString& path, SilentPrompter& prompter) {
    OptionsModel model;
    SettingsVariables vars;
    readini(path, model, vars, allIniKeys(builtInRoutes()));
    FUZZ_CHECK(writeini(path, model, vars, prompter, allIniKeys(builtInRoutes())),
               readScratchFile(path));
    return readScratchFile(path);
}

void checkSettingsCycle(const QByteArray& bytes) {
    const QString path = scratchDir() + QStringLiteral("/Morvane.ini");
    writeScratchFile(path, bytes);
    SilentPrompter prompter;
    // Values are written bare: blanks that quotes kept around a hand-edited
    // value are gone after the first round, so the cycle settles from the
    // second round on.
    settingsCycle(path, prompter);
    const QByteArray twice = settingsCycle(path, prompter);
    const QByteArray thrice = settingsCycle(path, prompter);
    FUZZ_CHECK(twice == thrice, QStringLiteral("after two rounds:\n") + shown(twice) +
                                    QStringLiteral("\nafter three:\n") + shown(thrice));
    FUZZ_CHECK(prompter.messages == 0, QString::number(prompter.messages));
}

// What the profile's read gives for a value the program wrote.
QString stored(const QString& written) {
    return expectedRead(written);
}

void checkEncodings(const QByteArray& bytes) {
    const QString value = QString::fromUtf8(bytes.left(300));
    const double number = leadingNumber(value);
    FUZZ_CHECK(std::isfinite(number), value);
    const int n = numberValue(value);
    FUZZ_CHECK(n >= -32768 && n <= 32767, value);
    for (int entries : {4, 5, 10}) {
        const int index = listIndexValue(value, entries);
        FUZZ_CHECK(index >= 0 && index < entries, value);
    }
    for (int routes : {6, 7, 8, 9}) {
        const int tab = startupTabValue(n, routes);
        FUZZ_CHECK(tab >= 0 && tab < routes, value);
    }
    const double fraction = scrollFractionValue(value);
    FUZZ_CHECK(fraction >= 0.0 && fraction <= 0.5, value);
    FUZZ_CHECK(scrollFractionValue(QString::number(scrollPercentValue(fraction))) == fraction,
               value);

    // The two keys that carry pieces of the TeX4ht command settle after one
    // round of saving and loading.
    const QStringList parts = value.split(QChar(0x1f));
    QStringList args;
    for (int i = 0; i < 6; ++i)
        args.append(parts.value(i));
    // Element 2 is htrun's switch: empty or beginning with "-" (without a
    // " -" in the stored value the reading leaves element 2 as it was).
    args[1] = args[1].trimmed();
    if (!args[1].isEmpty() && !args[1].startsWith(QLatin1Char('-')))
        args[1].prepend(QLatin1Char('-'));
    QStringList a = args;
    splitCmdline(stored(joinCmdline(a)), a);
    const QString cmdline1 = stored(joinCmdline(a));
    splitCmdline(cmdline1, a);
    FUZZ_CHECK(stored(joinCmdline(a)) == cmdline1, cmdline1);
    QStringList b = args;
    splitHtruncommand(stored(joinHtruncommand(b)), b);
    const QString htrun1 = stored(joinHtruncommand(b));
    splitHtruncommand(htrun1, b);
    FUZZ_CHECK(stored(joinHtruncommand(b)) == htrun1, htrun1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return -1;
    Pieces in(data, size);
    const QByteArray file = checkEdits(in);
    const QByteArray whole(reinterpret_cast<const char*>(data), qsizetype(size));
    checkSettingsCycle(file);
    checkEncodings(file.left(200) + whole.right(100));
    return 0;
}
