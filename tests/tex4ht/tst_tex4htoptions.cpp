#include "support/testmain.h"
#include "tex4ht/tex4htoptions.h"

#include <QTest>

using namespace morvane;

namespace {

Tex4htOptions withFormat(Tex4htFormat format) {
    Tex4htOptions o;
    o.format = format;
    return o;
}

} // namespace

Q_DECLARE_METATYPE(Tex4htOptions)

class TestTex4htOptions : public QObject {
    Q_OBJECT
private slots:
    void composes_data() {
        QTest::addColumn<Tex4htOptions>("options");
        QTest::addColumn<QString>("packageOptions");
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<QString>("packageLine");

        QTest::newRow("html 4.0 alone is the default") << Tex4htOptions{} << ""
                                                       << "htlatex"
                                                       << "";
        Tex4htOptions o = withFormat(Tex4htFormat::Html32);
        o.info = true;
        QTest::newRow("html 3.2 with info") << o << "html,3.2,info"
                                            << "htlatex \"html,3.2,info\""
                                            << "";
        o = {};
        o.useConfig = true;
        o.images = PictureFormat::Png;
        QTest::newRow("configuration gets html after it") << o << "myconfig,html,png"
                                                          << "htlatex \"myconfig,html,png\""
                                                          << "";
        o = withFormat(Tex4htFormat::MathMl);
        o.htrun = true;
        QTest::newRow("mathml with htrun") << o << ""
                                           << "htrun -xhm"
                                           << "";
        o.htrun = false;
        o.usePackage = true;
        QTest::newRow("mathml in the package line") << o << "xhtml,mathml"
                                                    << "ht latex"
                                                    << "\\usepackage[xhtml,mathml]{tex4ht}";
        o = {};
        o.font = Tex4htFont::Symbol;
        QTest::newRow("symbol font keeps its position") << o << ""
                                                        << "htlatex \"\" \"symbol/!\""
                                                        << "";
        o.glyphs = PictureFormat::Png;
        o.noPictures = true;
        QTest::newRow("font, glyphs and no pictures in one argument")
            << o << ""
            << "htlatex \"\" \"symbol/! -g.png -p\""
            << "";
        o = {};
        o.htrun = true;
        o.altSwitch = true;
        o.switchText = "xyz";
        QTest::newRow("alternative htrun switch") << o << ""
                                                  << "htrun -xyz"
                                                  << "";
        o = withFormat(Tex4htFormat::BitmapMaths);
        o.info = true;
        QTest::newRow("xhtml formats turn the html token into xhtml") << o << "html,info"
                                                                      << "htlatex \"xhtml,info\""
                                                                      << "";
        o.useConfig = true;
        o.configName = "myhtml";
        QTest::newRow("a configuration name holding html stays") << o << "myhtml,html,info"
                                                                 << "htlatex \"myhtml,xhtml,info\""
                                                                 << "";
        o = {};
        o.tocLinks = true;
        o.nextLinks = true;
        QTest::newRow("section links need a depth") << o << ""
                                                    << "htlatex"
                                                    << "";
        o.sectionDepth = 2;
        o.tocLinks = false;
        o.picturesFor[4] = true;
        o.footnote = true;
        QTest::newRow("depth, next, footnotes and pictures in order")
            << o << "html,2,next,fn-in,pic-tabular"
            << "htlatex \"html,2,next,fn-in,pic-tabular\""
            << "";
        o = {};
        o.imagesFolder = "images";
        QTest::newRow("images folder last") << o << "html,imgdir:images/"
                                            << "htlatex \"html,imgdir:images/\""
                                            << "";
        o = {};
        o.otherBatch = true;
        o.batchName = "mybatch\\\\\\tail";
        o.usePackage = true;
        o.mouseover = true;
        QTest::newRow("other batch with usepackage") << o << "html,mouseover"
                                                     << "mybatch"
                                                     << "\\usepackage[html,mouseover]{tex4ht}";
    }

    void composes() {
        QFETCH(Tex4htOptions, options);
        QFETCH(QString, packageOptions);
        QFETCH(QString, commandLine);
        QFETCH(QString, packageLine);
        const Tex4htComposition c = composeTex4htOptions(options);
        QCOMPARE(c.packageOptions, packageOptions);
        QCOMPARE(c.commandLine(), commandLine);
        QCOMPARE(c.packageLine(), packageLine);

        // The dialog reopens on what it stored.
        Tex4htOptions defaults;
        defaults.imagesFolder = options.imagesFolder;
        defaults.batchName = options.batchName;
        const QString stored = c.storedString();
        QCOMPARE(composeTex4htOptions(optionsFromStored(stored, defaults)).storedString(), stored);
    }

    void readsStoredParts_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("htrun");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("no dollar, no parts")
            << "\"x\"*htlatex^" << false << QStringList{"", "", "", ""};
        QTest::newRow("by position, in lower case")
            << "\"Symbol/!\"$HTML,info*ht latex^usepackage" << false
            << QStringList{"\"symbol/!\"", "html,info", "ht latex", "usepackage"};
        QTest::newRow("htrun drops quoted format names")
            << "\"html\" \"xhtml\" \"symbol/!\"$*htrun -xh^" << true
            << QStringList{"\"symbol/!\"", "", "htrun -xh", ""};
    }

    void readsStoredParts() {
        QFETCH(QString, stored);
        QFETCH(bool, htrun);
        QFETCH(QStringList, parts);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(storedOptionPart(stored, i + 1, htrun), parts.at(i));
    }

    void namesAndCaptions() {
        QCOMPARE(configNameForFormat("qvconfig", Tex4htFormat::MathMl), QString("qvconfig-xhm"));
        QCOMPARE(configNameForFormat("QVConfig-mz", Tex4htFormat::Html32), QString("qvconfig"));
        QCOMPARE(configNameForFormat("myconfig", Tex4htFormat::MathMl), QString("myconfig"));
        QCOMPARE(configButtonCaption(Tex4htFormat::MathMlMozilla),
                 QString("Edit qvc&onfig-mz.cfg"));
    }

    void helpTexts_data() {
        QTest::addColumn<bool>("htrun");
        QTest::addColumn<bool>("swp");
        QTest::addColumn<bool>("other");
        QTest::addColumn<bool>("usePackage");
        QTest::addColumn<QString>("text");
        QTest::newRow("htlatex") << false << false << false << false
                                 << "Uses htlatex command without requiring a reference to the "
                                    "tex4ht package.\nAdvanced options will be added to the "
                                    "command line.";
        QTest::newRow("swp without usepackage")
            << false << true << false << false
            << "Not a valid option. If htrun is not used for SWP files then\nyou must use "
               "\\usepackage and the xht batch file";
        QTest::newRow("swp with batch and usepackage")
            << false << true << true << true
            << "If the TeX file doesn't include \\RequirePackage[options]{swpht} then "
               "\\usepackage[options]{tex4ht} is added to a copy of the file.\nThe chosen batch "
               "file will be run together with the options chosen. The left Status Bar shows "
               "the command line.";
        QTest::newRow("htrun with another batch keeps the text")
            << true << false << true << false << "(unchanged)";
    }

    void helpTexts() {
        QFETCH(bool, htrun);
        QFETCH(bool, swp);
        QFETCH(bool, other);
        QFETCH(bool, usePackage);
        QFETCH(QString, text);
        const std::optional<QString> help = advancedHelpText(
            {.htrun = htrun, .swp = swp, .otherBatch = other, .usePackage = usePackage});
        QCOMPARE(help.value_or("(unchanged)"), text);
    }
};

MORVANE_TEST_GUILESS_MAIN(TestTex4htOptions)
#include "tst_tex4htoptions.moc"
