#include "settings/heveaconfigs.h"
#include "support/testmain.h"

#include <QTest>

using namespace morvane;

namespace {
const QString sep(26, QLatin1Char('-'));
}

class TestHeveaConfigs : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("parsed");
        QTest::addColumn<QStringList>("styles");
        QTest::addColumn<QString>("excluded");
        QTest::addColumn<QString>("type");
        QTest::newRow("styles, excluded file, type")
            << "a.hva b.hva -e x.tex,html" << true << QStringList{"a.hva", "b.hva"} << "x.tex"
            << "html";
        QTest::newRow("only the excluded file")
            << "-e x.tex,text" << true << QStringList{} << "x.tex"
            << "text";
        QTest::newRow("excluded file with blanks")
            << "a.hva -e my file.tex,info" << true << QStringList{"a.hva"} << "my file.tex"
            << "info";
        QTest::newRow("no comma yields nothing") << "a.hva b.hva" << false << QStringList{} << ""
                                                 << "";
        QTest::newRow("two commas: the type follows the last")
            << "my,style.hva,html" << true << QStringList{"my,style.hva"} << ""
            << "html";
        QTest::newRow("a style that begins with -e is a style")
            << "-extra.hva,html" << true << QStringList{"-extra.hva"} << ""
            << "html";
        QTest::newRow("double blanks make no empty style")
            << "a.hva  b.hva,html" << true << QStringList{"a.hva", "b.hva"} << ""
            << "html";
        QTest::newRow("empty combination") << ",html" << true << QStringList{} << ""
                                           << "html";
    }
    void parse() {
        QFETCH(QString, value);
        QFETCH(bool, parsed);
        const std::optional<HeveaConfig> config = parseConfigValue(value);
        QCOMPARE(config.has_value(), parsed);
        if (!config)
            return;
        QTEST(config->styles, "styles");
        QTEST(config->excluded, "excluded");
        QTEST(config->type, "type");
    }

    void value_data() {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QString>("excluded");
        QTest::addColumn<QString>("value");
        QTest::newRow("two styles, excluded, html")
            << QStringList{"a.hva", "b.hva", sep, "c.hva"} << "x.tex"
            << "a.hva b.hva -e x.tex,html";
        QTest::newRow("seven styles store six")
            << QStringList{"1", "2", "3", "4", "5", "6", "7", sep} << ""
            << "1 2 3 4 5 6,html";
        QTest::newRow("only the excluded file") << QStringList{sep, "a.hva"} << "x.tex"
                                                << "-e x.tex,html";
    }
    void value() {
        QFETCH(QStringList, list);
        QFETCH(QString, excluded);
        QFETCH(QString, value);
        QCOMPARE(configValue(list, excluded, "html"), value);
        // What is stored comes back as it was.
        const auto config = parseConfigValue(value);
        QVERIFY(config);
        QCOMPARE(config->excluded, excluded);
    }

    void emptyCombination() {
        QVERIFY(isEmptyCombination({sep, "a.hva"}, ""));
        QVERIFY(isEmptyCombination({}, ""));
        QVERIFY(!isEmptyCombination({}, "x.tex"));
        QVERIFY(!isEmptyCombination({"a.hva", sep}, ""));
    }

    void suggestion_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("suggestion");
        QTest::newRow("none") << QStringList{} << "Config1";
        QTest::newRow("gap") << QStringList{"Config1", "Config3"} << "Config2";
        QTest::newRow("other case counts") << QStringList{"config1"} << "Config2";
        QStringList hundred;
        for (int i = 1; i <= 100; ++i)
            hundred.append(QStringLiteral("Config%1").arg(i));
        QTest::newRow("any number of configurations") << hundred << "Config101";
    }
    void suggestion() {
        QFETCH(QStringList, names);
        QTEST(suggestedConfigName(names), "suggestion");
    }

    void stylesOnTop_data() {
        QTest::addColumn<QStringList>("list");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("result");
        QTest::newRow("listed styles move above the separator")
            << QStringList{sep, "a.hva", "b.hva", "c.hva"} << QStringList{"c.hva", "a.hva"}
            << QStringList{"c.hva", "a.hva", sep, "b.hva"};
        QTest::newRow("a style that no longer exists is placed all the same")
            << QStringList{sep, "a.hva"} << QStringList{"gone.hva"}
            << QStringList{"gone.hva", sep, "a.hva"};
        QTest::newRow("empty list")
            << QStringList{} << QStringList{"a.hva", "b.hva"} << QStringList{"a.hva", "b.hva"};
    }
    void stylesOnTop() {
        QFETCH(QStringList, list);
        QFETCH(QStringList, names);
        QTEST(withStylesOnTop(list, names), "result");
    }
};

MORVANE_TEST_GUILESS_MAIN(TestHeveaConfigs)
#include "tst_heveaconfigs.moc"
