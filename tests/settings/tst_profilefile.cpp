#include "settings/profilefile.h"
#include "support/testhome.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace morvane;

namespace {
// Byte strings with NUL bytes inside keep their full length.
template <std::size_t N> QByteArray bytes(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}
} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString fileWith(const QByteArray& content) {
        static int count = 0;
        const QString path = m_dir.filePath(QStringLiteral("p%1.ini").arg(++count));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        out.write(content);
        return path;
    }

private slots:
    void reads_data();
    void reads();
    void missingFileReadsDefaults();
    void keysInFileOrder_data();
    void keysInFileOrder();

    void replacingKeepsEveryOtherByte_data();
    void replacingKeepsEveryOtherByte();
    void caseVariantsAreOneEntry();
    void emptyTextKeepsTheKey();
    void nullValueDeletesEveryCopy();
    void newKeyGoesAfterTheSectionsLastEntry();
    void newSectionIsAppended_data();
    void newSectionIsAppended();
    void longValueIsStoredWholeAndReadCut();
    void refusesWhatALineCannotHold_data();
    void refusesWhatALineCannotHold();
    void removeSectionDropsItsLines();

    void writeCreatesAMissingFile();
    void deletingFromAMissingFileCreatesNothing();
    void writesFailWhereTheFileCannotBeReplaced_data();
    void writesFailWhereTheFileCannotBeReplaced();
    void saveLeavesNoTemporaryFiles();
};

void TestProfileFile::reads_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QByteArray basic = "[Paths]\nHevea=/usr/bin\nEmpty=\n";
    QTest::newRow("plain value") << basic << "Paths"
                                 << "Hevea"
                                 << "/usr/bin";
    QTest::newRow("missing key gives default") << basic << "Paths"
                                               << "Tth"
                                               << "DEF";
    QTest::newRow("missing section gives default") << basic << "Other"
                                                   << "Hevea"
                                                   << "DEF";
    QTest::newRow("empty value is not the default") << basic << "Paths"
                                                    << "Empty"
                                                    << "";
    QTest::newRow("section and key in any case") << basic << "pATHS"
                                                 << "HEVEA"
                                                 << "/usr/bin";
    QTest::newRow("blanks around value removed")
        << QByteArray("[S]\nk =  \t spaced value \t \n") << "S"
        << "k"
        << "spaced value";
    QTest::newRow("blanks around names ignored") << QByteArray("[ S ]\n  k  = v\n") << "S"
                                                 << "k"
                                                 << "v";
    QTest::newRow("one pair of quotes removed") << QByteArray("[S]\nk=\"a b\"\n") << "S"
                                                << "k"
                                                << "a b";
    QTest::newRow("only one pair removed") << QByteArray("[S]\nk=\"\"x\"\"\n") << "S"
                                           << "k"
                                           << "\"x\"";
    QTest::newRow("quotes inside blanks removed") << QByteArray("[S]\nk=  \"q\"  \n") << "S"
                                                  << "k"
                                                  << "q";
    QTest::newRow("lone quote kept") << QByteArray("[S]\nk=\"\n") << "S"
                                     << "k"
                                     << "\"";
    QTest::newRow("quote at one end kept") << QByteArray("[S]\nk=\"abc\n") << "S"
                                           << "k"
                                           << "\"abc";
    QTest::newRow("two quotes give empty text") << QByteArray("[S]\nk=\"\"\n") << "S"
                                                << "k"
                                                << "";
    QTest::newRow("value with equals signs") << QByteArray("[S]\nk=a=b=c\n") << "S"
                                             << "k"
                                             << "a=b=c";
    QTest::newRow("CR LF file") << QByteArray("[S]\r\nk=v\r\nj=w\r\n") << "S"
                                << "j"
                                << "w";
    QTest::newRow("a lone CR ends the value")
        << QByteArray("[S]\nk=\"/opt/my editor\"\r\xef\xbf\xbdrest\n") << "S"
        << "k"
        << "/opt/my editor";
    QTest::newRow("no final line end") << QByteArray("[S]\nk=last") << "S"
                                       << "k"
                                       << "last";
    QTest::newRow("utf-8 byte order mark") << QByteArray("\xEF\xBB\xBF[S]\nk=v\n") << "S"
                                           << "k"
                                           << "v";
    QTest::newRow("first duplicate key wins") << QByteArray("[S]\nk=1\nK=2\n") << "S"
                                              << "k"
                                              << "1";
    QTest::newRow("duplicate sections are one section")
        << QByteArray("[S]\na=1\n[T]\nb=2\n[s]\nc=3\na=4\n") << "S"
        << "c"
        << "3";
    QTest::newRow("first duplicate across sections wins")
        << QByteArray("[S]\na=1\n[T]\n[S]\na=4\n") << "S"
        << "a"
        << "1";
    QTest::newRow("entries before any section unreadable") << QByteArray("k=0\n[S]\nj=1\n") << "S"
                                                           << "k"
                                                           << "DEF";
    QTest::newRow("comment line is no key") << QByteArray("[S]\n;k=1\n#k=2\nk=3\n") << "S"
                                            << "k"
                                            << "3";
    QTest::newRow("garbage lines ignored")
        << QByteArray("[S\nnonsense line\n=nokey\n]]]\n[S]\nk=v\n") << "S"
        << "k"
        << "v";
    QTest::newRow("binary bytes around")
        << bytes("\x00\xff\xfe[\x01]\n[S]\nk=\xc3\xa9t\xc3\xa9\n\x00=\x80\n") << "S"
        << "k" << QString::fromUtf8("\xc3\xa9t\xc3\xa9");
    QTest::newRow("value cut to 199 characters")
        << (QByteArray("[S]\nk=") + QByteArray(10000, 'x') + '\n') << "S"
        << "k" << QString(199, QLatin1Char('x'));
    QTest::newRow("default cut to 199 characters") << basic << "S"
                                                   << "long" << QString(199, QLatin1Char('d'));
}

void TestProfileFile::reads() {
    QFETCH(QByteArray, content);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, expected);
    const QString path = fileWith(content);
    const QString def =
        key == QStringLiteral("long") ? QString(300, QLatin1Char('d')) : QStringLiteral("DEF");
    QCOMPARE(readProfileString(path, section, key, def), expected);
    QCOMPARE(ProfileFile::load(path).read(section, key, def), expected);
}

void TestProfileFile::missingFileReadsDefaults() {
    const QString path = m_dir.filePath(QStringLiteral("none/missing.ini"));
    QCOMPARE(readProfileString(path, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("d")),
             QStringLiteral("d"));
    QVERIFY(readProfileKeys(path, QStringLiteral("S")).isEmpty());
    // A directory where the file should be reads like a missing file.
    QCOMPARE(readProfileString(m_dir.path(), QStringLiteral("S"), QStringLiteral("k"),
                               QStringLiteral("d")),
             QStringLiteral("d"));
}

void TestProfileFile::keysInFileOrder_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("file order") << QByteArray("[C]\nzeta=1\nalpha=2\nmid=3\n")
                                << QStringList{"zeta", "alpha", "mid"};
    QTest::newRow("spelling of first occurrence, once")
        << QByteArray("[C]\nConfig1=a\nconfig1=b\nConfig2=c\n")
        << QStringList{"Config1", "Config2"};
    QTest::newRow("over duplicate sections")
        << QByteArray("[C]\na=1\n[D]\nx=1\n[c]\nb=2\n") << QStringList{"a", "b"};
    QTest::newRow("comments and garbage skipped")
        << QByteArray("[C]\n;c=1\njunk\na=1\n") << QStringList{"a"};
    QTest::newRow("empty section") << QByteArray("[C]\n[D]\nx=1\n") << QStringList{};
}

void TestProfileFile::keysInFileOrder() {
    QFETCH(QByteArray, content);
    QFETCH(QStringList, expected);
    QCOMPARE(readProfileKeys(fileWith(content), QStringLiteral("c")), expected);
}

void TestProfileFile::replacingKeepsEveryOtherByte_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("comments and unknown keys")
        << QByteArray("; my notes\n[S]\nunknown=1\nk=old\n\n; tail\n[T]\nx=y\n")
        << QByteArray("; my notes\n[S]\nunknown=1\nk=new value\n\n; tail\n[T]\nx=y\n");
    QTest::newRow("CR LF kept") << QByteArray("[S]\r\nk=old\r\nj=1\r\n")
                                << QByteArray("[S]\r\nk=new value\r\nj=1\r\n");
    QTest::newRow("spacing before the value kept")
        << QByteArray("[S]\nk = old\n") << QByteArray("[S]\nk =new value\n");
    QTest::newRow("binary garbage kept") << bytes("\xff\x00junk\n[S]\nk=old\n\x80\x81\n")
                                         << bytes("\xff\x00junk\n[S]\nk=new value\n\x80\x81\n");
    QTest::newRow("no final line end kept")
        << QByteArray("[S]\nk=old") << QByteArray("[S]\nk=new value");
    QTest::newRow("later duplicate untouched")
        << QByteArray("[S]\nk=old\nk=dup\n") << QByteArray("[S]\nk=new value\nk=dup\n");
    QTest::newRow("mixed line ends each kept")
        << QByteArray("[S]\r\nk=old\n; note\r\nj=1\nlast\r")
        << QByteArray("[S]\r\nk=new value\n; note\r\nj=1\nlast\r");
    QTest::newRow("LF lines of a CR LF file kept")
        << QByteArray("[S]\r\n; note\nk=old\r\n") << QByteArray("[S]\r\n; note\nk=new value\r\n");
}

void TestProfileFile::replacingKeepsEveryOtherByte() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QString path = fileWith(before);
    QVERIFY(writeProfileString(path, QStringLiteral("S"), QStringLiteral("k"),
                               QStringLiteral("new value")));
    QCOMPARE(test::readAll(path), after);
}

void TestProfileFile::caseVariantsAreOneEntry() {
    const QString path = fileWith("[Paths]\nTexEditor=/a\n[latex2html]\nSaveTo=/x\n");
    QVERIFY(writeProfileString(path, QStringLiteral("Paths"), QStringLiteral("TeXEditor"),
                               QStringLiteral("/b")));
    QVERIFY(writeProfileString(path, QStringLiteral("LaTeX2HTML"), QStringLiteral("saveto"),
                               QStringLiteral("/y")));
    QCOMPARE(test::readAll(path), QByteArray("[Paths]\nTexEditor=/b\n[latex2html]\nSaveTo=/y\n"));
    QCOMPARE(readProfileString(path, QStringLiteral("paths"), QStringLiteral("TEXEDITOR"), {}),
             QStringLiteral("/b"));
}

void TestProfileFile::emptyTextKeepsTheKey() {
    const QString path = fileWith("[S]\na=1\nb=2\n");
    QVERIFY(writeProfileString(path, QStringLiteral("S"), QStringLiteral("a"), QStringLiteral("")));
    QVERIFY(writeProfileString(path, QStringLiteral("S"), QStringLiteral("b"), QString()));
    QVERIFY(writeProfileString(path, QStringLiteral("S"), QStringLiteral("c"), QString()));
    QCOMPARE(test::readAll(path), QByteArray("[S]\na=\nb=\nc=\n"));
    QCOMPARE(readProfileString(path, QStringLiteral("S"), QStringLiteral("b"), QStringLiteral("d")),
             QString());
    QCOMPARE(readProfileKeys(path, QStringLiteral("S")), (QStringList{"a", "b", "c"}));
}

void TestProfileFile::nullValueDeletesEveryCopy() {
    const QString path = fileWith("[S]\nk=1\nother=x\n[T]\nk=t\n[s]\nK=2\n");
    QVERIFY(deleteProfileKey(path, QStringLiteral("S"), QStringLiteral("k")));
    QCOMPARE(test::readAll(path), QByteArray("[S]\nother=x\n[T]\nk=t\n[s]\n"));
    QCOMPARE(readProfileString(path, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("d")),
             QStringLiteral("d"));
    QVERIFY(writeProfileValue(path, QStringLiteral("T"), QStringLiteral("k"), std::nullopt));
    QCOMPARE(test::readAll(path), QByteArray("[S]\nother=x\n[T]\n[s]\n"));
    // Deleting what is not there succeeds and changes nothing.
    QVERIFY(deleteProfileKey(path, QStringLiteral("S"), QStringLiteral("nothing")));
    QCOMPARE(test::readAll(path), QByteArray("[S]\nother=x\n[T]\n[s]\n"));
}

void TestProfileFile::newKeyGoesAfterTheSectionsLastEntry() {
    const QString path = fileWith("[S]\na=1\n; about T\n\n[T]\nx=1\n");
    QVERIFY(
        writeProfileString(path, QStringLiteral("s"), QStringLiteral("b"), QStringLiteral("2")));
    QVERIFY(
        writeProfileString(path, QStringLiteral("T"), QStringLiteral("y"), QStringLiteral("3")));
    QCOMPARE(test::readAll(path), QByteArray("[S]\na=1\nb=2\n; about T\n\n[T]\nx=1\ny=3\n"));

    const QString headerOnly = fileWith("[S]\n\n[T]\n");
    QVERIFY(writeProfileString(headerOnly, QStringLiteral("S"), QStringLiteral("k"),
                               QStringLiteral("v")));
    QCOMPARE(test::readAll(headerOnly), QByteArray("[S]\nk=v\n\n[T]\n"));
}

void TestProfileFile::newSectionIsAppended_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("blank line before it")
        << QByteArray("[S]\na=1\n") << QByteArray("[S]\na=1\n\n[New]\nk=v\n");
    QTest::newRow("no second blank line")
        << QByteArray("[S]\na=1\n\n") << QByteArray("[S]\na=1\n\n[New]\nk=v\n");
    QTest::newRow("CR LF file") << QByteArray("[S]\r\na=1\r\n")
                                << QByteArray("[S]\r\na=1\r\n\r\n[New]\r\nk=v\r\n");
    QTest::newRow("no final line end")
        << QByteArray("[S]\na=1") << QByteArray("[S]\na=1\n\n[New]\nk=v\n");
    QTest::newRow("empty file") << QByteArray() << QByteArray("[New]\nk=v\n");
}

void TestProfileFile::newSectionIsAppended() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QString path = fileWith(before);
    QVERIFY(
        writeProfileString(path, QStringLiteral("New"), QStringLiteral("k"), QStringLiteral("v")));
    QCOMPARE(test::readAll(path), after);
}

void TestProfileFile::longValueIsStoredWholeAndReadCut() {
    const QString path = fileWith("[S]\n");
    const QString value(10000, QLatin1Char('v'));
    QVERIFY(writeProfileString(path, QStringLiteral("S"), QStringLiteral("k"), value));
    QCOMPARE(test::readAll(path), QByteArray("[S]\nk=") + value.toUtf8() + '\n');
    QCOMPARE(readProfileString(path, QStringLiteral("S"), QStringLiteral("k"), {}).size(), 199);

    // A cut never splits a character made of two UTF-16 units.
    const QString wide = QString(198, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9F\x98\x80");
    QVERIFY(writeProfileString(path, QStringLiteral("S"), QStringLiteral("k"), wide));
    QCOMPARE(readProfileString(path, QStringLiteral("S"), QStringLiteral("k"), {}),
             QString(198, QLatin1Char('a')));
}

void TestProfileFile::refusesWhatALineCannotHold_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("line break in value") << "S"
                                         << "k"
                                         << "a\nb";
    QTest::newRow("carriage return in value") << "S"
                                              << "k"
                                              << "a\rb";
    QTest::newRow("equals in key") << "S"
                                   << "a=b"
                                   << "v";
    QTest::newRow("empty key") << "S"
                               << " "
                               << "v";
    QTest::newRow("empty section") << ""
                                   << "k"
                                   << "v";
    QTest::newRow("comment key") << "S"
                                 << ";k"
                                 << "v";
    QTest::newRow("section-like key") << "S"
                                      << "[k]"
                                      << "v";
    QTest::newRow("line break in section") << "S\nT"
                                           << "k"
                                           << "v";
}

void TestProfileFile::refusesWhatALineCannotHold() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QByteArray before("[S]\nk=old\n");
    const QString path = fileWith(before);
    QVERIFY(!writeProfileString(path, section, key, value));
    QCOMPARE(test::readAll(path), before);
}

void TestProfileFile::removeSectionDropsItsLines() {
    const QString path = fileWith("[A]\na=1\n[Links]\nlink(1,1)=x\n; c\n[B]\nb=2\n[links]\nz=9\n");
    ProfileFile profile = ProfileFile::load(path);
    QVERIFY(profile.removeSection(QStringLiteral("LINKS")));
    QCOMPARE(profile.toBytes(), QByteArray("[A]\na=1\n[B]\nb=2\n"));
}

void TestProfileFile::writeCreatesAMissingFile() {
    const QString path = m_dir.filePath(QStringLiteral("created.ini"));
    QVERIFY(!QFileInfo::exists(path));
    QVERIFY(
        writeProfileString(path, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")));
    QCOMPARE(test::readAll(path), QByteArray("[S]\nk=v\n"));
}

void TestProfileFile::deletingFromAMissingFileCreatesNothing() {
    const QString path = m_dir.filePath(QStringLiteral("never.ini"));
    QVERIFY(deleteProfileKey(path, QStringLiteral("S"), QStringLiteral("k")));
    QVERIFY(!QFileInfo::exists(path));
}

void TestProfileFile::writesFailWhereTheFileCannotBeReplaced_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing directory") << "missing directory";
    QTest::newRow("file in place of a directory") << "file as directory";
    QTest::newRow("directory in place of the file") << "directory as file";
}

void TestProfileFile::writesFailWhereTheFileCannotBeReplaced() {
    QFETCH(QString, kind);
    QString path;
    if (kind == QStringLiteral("missing directory")) {
        path = m_dir.filePath(QStringLiteral("no/such/dir/Morvane.ini"));
    } else if (kind == QStringLiteral("file as directory")) {
        path = fileWith("plain file") + QStringLiteral("/Morvane.ini");
    } else {
        path = m_dir.filePath(QStringLiteral("adir.ini"));
        QVERIFY(QDir().mkpath(path));
        QDir(path).mkdir(QStringLiteral("inside"));
    }
    QVERIFY(
        !writeProfileString(path, QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")));
    ProfileFile profile = ProfileFile::load(path);
    QVERIFY(profile.write(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("v")));
    QVERIFY(!profile.save());
    if (kind == QStringLiteral("directory as file"))
        QVERIFY(QFileInfo(path + QStringLiteral("/inside")).isDir());
}

void TestProfileFile::saveLeavesNoTemporaryFiles() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Morvane.ini"));
    for (int i = 0; i < 5; ++i)
        QVERIFY(writeProfileString(path, QStringLiteral("S"), QStringLiteral("k%1").arg(i),
                                   QString::number(i)));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("Morvane.ini")});
    QCOMPARE(readProfileKeys(path, QStringLiteral("S")),
             (QStringList{"k0", "k1", "k2", "k3", "k4"}));
}

MORVANE_TEST_GUILESS_MAIN(TestProfileFile)
#include "tst_profilefile.moc"
