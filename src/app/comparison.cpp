#include "app/comparison.h"

#include "app/batchreport.h"
#include "app/optionhandlers.h"
#include "app/startup.h"
#include "pipeline/appcontext.h"
#include "pipeline/route.h"
#include "pipeline/watchedfiles.h"
#include "platform/childprograms.h"
#include "platform/pathutils.h"
#include "platform/programdir.h"
#include "platform/prompter.h"
#include "settings/optionsmodel.h"
#include "settings/profilefile.h"
#include "tex4ht/tex4htcommand.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <algorithm>
#include <cstdio>

namespace morvane {

namespace {

QString S(const char* text) {
    return QString::fromLatin1(text);
}

// A copy of the document's folder holds what TeX and the converters read:
// its TeX files, bibliographies, styles and pictures, a few folders deep,
// and no more than a document's worth.
constexpr int kCopyDepth = 4;
constexpr int kMaxCopiedFiles = 3000;
constexpr qint64 kMaxCopiedBytes = qint64(300) << 20;

bool isDocumentFile(const QString& name) {
    static const QStringList suffixes = {
        S("tex"), S("ltx"), S("sty"), S("cls"),  S("bib"), S("bst"), S("bbx"),
        S("cbx"), S("lbx"), S("cfg"), S("def"),  S("clo"), S("fd"),  S("ist"),
        S("csl"), S("png"), S("jpg"), S("jpeg"), S("gif"), S("pdf"), S("eps"),
        S("ps"),  S("svg"), S("mps"), S("tikz"), S("dat"), S("csv"), S("hva")};
    return suffixes.contains(QFileInfo(name).suffix().toLower());
}

// Copies the document's files from `from` to `to`, leaving out `skip` (the
// comparison folder, when it lies below the document's).
void copyDocumentFiles(const QString& from, const QString& to, const QString& skip) {
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    const QDir source(from);
    int files = 0;
    qint64 bytes = 0;
    while (it.hasNext() && files < kMaxCopiedFiles && bytes < kMaxCopiedBytes) {
        const QString path = it.next();
        const QString relative = source.relativeFilePath(path);
        if (relative.count(QLatin1Char('/')) >= kCopyDepth ||
            relative.startsWith(QLatin1Char('.')) || relative.contains(S("/.")) ||
            (!skip.isEmpty() && path.startsWith(skip + QLatin1Char('/'))) ||
            !isDocumentFile(relative))
            continue;
        const QString target = to + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (QFile::copy(path, target)) {
            ++files;
            bytes += it.fileInfo().size();
        }
    }
}

// The program directory of one route's run: the user's files, with the
// output roots in the route's folder and the route's own choices.
bool makeProgramDirectory(const AppContext& ctx, const ComparedRoute& route, const QString& home) {
    if (!QDir().mkpath(home))
        return false;
    const QFileInfoList files = QDir(ctx.programDir).entryInfoList(QDir::Files);
    for (const QFileInfo& file : files)
        QFile::copy(file.absoluteFilePath(), home + QLatin1Char('/') + file.fileName());
    ProfileFile ini = ProfileFile::load(home + S("/Morvane.ini"));
    for (const Route& each : ctx.routes)
        if (each.outputRoot && each.iniSection)
            ini.writeText(QLatin1String(each.iniSection), S("SaveTo"), route.folder + S("/out"));
    for (const QString& setting : route.settings) {
        const QString key = setting.section(QLatin1Char('='), 0, 0);
        ini.writeText(key.section(QLatin1Char('/'), 0, 0), key.section(QLatin1Char('/'), 1),
                      setting.section(QLatin1Char('='), 1));
    }
    return ini.save();
}

ComparedRoute comparedRoute(const QString& key, const QString& caption,
                            const QStringList& settings = {}) {
    ComparedRoute route;
    route.routeKey = key;
    route.word = key;
    route.caption = caption;
    route.settings = settings;
    return route;
}

// The routes a comparison runs, in tab order: every web route, TeX4ht twice
// (htlatex, and make4ht with MathML). Each makes a web page whatever the
// user's tabs choose.
QList<ComparedRoute> webRoutesOf(const AppContext& ctx) {
    QList<ComparedRoute> routes;
    for (const Route& route : ctx.routes) {
        if (route.shows != ResultKind::WebPage || !routeCanRun(ctx, route))
            continue;
        const QString key = QLatin1String(route.key);
        ComparedRoute compared = comparedRoute(key, QLatin1String(route.caption));
        if (key == S("hevea"))
            compared.settings = {S("Hevea/OutputType=html")};
        if (key == S("pandoc"))
            compared.settings = {S("Pandoc/Format=html5")};
        if (key == S("latexml"))
            compared.settings = {S("LaTeXML/Format=html5")};
        if (key == S("tex4ht")) {
            compared.settings = {S("TeX4ht/Make4ht=No")};
            routes.append(compared);
            if (QStandardPaths::findExecutable(S("make4ht")).isEmpty())
                continue;
            compared = comparedRoute(key, S("make4ht (MathML)"),
                                     {S("TeX4ht/Make4ht=Yes"), S("TeX4ht/Make4htFormat=html5"),
                                      S("TeX4ht/Cmdline=mathml")});
        }
        routes.append(compared);
    }
    return routes;
}

// A folder name from a caption: "make4ht (MathML)" gives "make4ht-mathml".
QString slugOf(const QString& caption) {
    QString slug;
    for (const QChar c : caption.toLower())
        slug += c.isLetterOrNumber() ? c : QLatin1Char('-');
    while (slug.contains(S("--")))
        slug.replace(S("--"), S("-"));
    while (slug.endsWith(QLatin1Char('-')))
        slug.chop(1);
    return slug;
}

// A new folder of its own: NAME, else NAME-2, NAME-3, ...
QString makeNewFolder(const QString& parent, const QString& name) {
    for (int n = 1; n < 1000; ++n) {
        const QString path =
            parent + QLatin1Char('/') + name + (n == 1 ? QString() : QStringLiteral("-%1").arg(n));
        if (QDir(parent).mkdir(QFileInfo(path).fileName()))
            return path;
        if (!QFileInfo(parent).isDir())
            break;
    }
    return {};
}

QStringList childOptions(const AppContext& ctx) {
    QStringList options{S("--report=json")};
    if (ctx.settings.vars.timeLimitSeconds > 0)
        options << QStringLiteral("--timeout=%1").arg(ctx.settings.vars.timeLimitSeconds);
    if (ctx.settings.vars.memoryLimitMB > 0)
        options << QStringLiteral("--memory=%1").arg(ctx.settings.vars.memoryLimitMB);
    return options;
}

QString percent(double share) {
    return QString::number(qRound(share * 100)) + QLatin1Char('%');
}

QString htmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

int statusBucket(const ComparedRoute& route) {
    return route.produced() ? route.status : 3;
}

} // namespace

QStringList measureCells(const ComparedRoute& r) {
    const ResultMeasures& m = r.measures;
    return {QString::number(r.errors),
            QString::number(r.warnings),
            QString::number(m.undefinedReferences),
            QString::number(m.brokenLinks.size()),
            QString::number(m.mathml),
            QString::number(m.formulaImages),
            QString::number(m.rawTex),
            percent(r.textCoverage),
            QString::number(m.pages),
            QString::number(r.seconds, 'f', 1),
            QString::number(r.peakMB)};
}

QStringList measureHeaders() {
    return {S("Errors"), S("Warnings"),         S("??"),       S("Broken links"),
            S("MathML"), S("Formula pictures"), S("TeX left"), S("Text held"),
            S("Pages"),  S("Seconds"),          S("Peak MB")};
}

bool betterThan(const ComparedRoute& a, const ComparedRoute& b) {
    if (a.produced() != b.produced())
        return a.produced();
    // A page the converter gave up on is worse than any whole one.
    if ((statusBucket(a) == 2) != (statusBucket(b) == 2))
        return statusBucket(a) != 2;
    const int coverageA = int(a.textCoverage * 20);
    const int coverageB = int(b.textCoverage * 20);
    if (coverageA != coverageB)
        return coverageA > coverageB;
    const int unresolvedA = a.measures.undefinedReferences + int(a.measures.brokenLinks.size());
    const int unresolvedB = b.measures.undefinedReferences + int(b.measures.brokenLinks.size());
    if (unresolvedA != unresolvedB)
        return unresolvedA < unresolvedB;
    if (a.measures.rawTex != b.measures.rawTex)
        return a.measures.rawTex < b.measures.rawTex;
    if ((a.measures.mathml > 0) != (b.measures.mathml > 0))
        return a.measures.mathml > 0;
    return a.seconds < b.seconds;
}

Comparison::Comparison(AppContext& ctx, QString document)
    : m_ctx(ctx), m_document(std::move(document)) {}

Comparison::~Comparison() = default;

bool Comparison::prepare(QString* error) {
    const QFileInfo document(m_document);
    if (!document.isFile()) {
        *error = QDir::toNativeSeparators(m_document) + S(" is not a file.");
        return false;
    }
    m_routes = webRoutesOf(m_ctx);
    if (m_routes.isEmpty()) {
        *error = S("No web route can run: install a converter, or set its folder in Program "
                   "Locations.");
        return false;
    }
    const QString root = m_ctx.settings.vars.tex4htSaveTo.isEmpty()
                             ? QDir::homePath()
                             : m_ctx.settings.vars.tex4htSaveTo;
    m_folder = makeNewFolder(root, document.completeBaseName() + S("-compare"));
    if (m_folder.isEmpty()) {
        *error = S("Cannot make a comparison folder in ") + QDir::toNativeSeparators(root) +
                 S(": check that it can be written.");
        return false;
    }
    const Route* pdf = routeForKey(m_ctx.routes, S("pdf"));
    if (pdf && routeCanRun(m_ctx, *pdf) &&
        !QStandardPaths::findExecutable(S("pdftotext")).isEmpty())
        m_referencePdf = m_folder + S("/pdf/doc/") + document.completeBaseName() + S(".pdf");
    QList<ComparedRoute*> prepared;
    for (ComparedRoute& route : m_routes)
        prepared.append(&route);
    ComparedRoute reference = comparedRoute(S("pdf"), S("PDF"));
    if (!m_referencePdf.isEmpty())
        prepared.append(&reference);
    for (ComparedRoute* route : prepared) {
        route->folder = m_folder + QLatin1Char('/') + slugOf(route->caption);
        copyDocumentFiles(document.absolutePath(), route->folder + S("/doc"), m_folder);
        if (!QFileInfo::exists(route->folder + S("/doc/") + document.fileName()) ||
            !QDir().mkpath(route->folder + S("/out")) ||
            !makeProgramDirectory(m_ctx, *route, route->folder + S("/home"))) {
            *error = S("Cannot prepare ") + QDir::toNativeSeparators(route->folder) +
                     S(": check that the disk is not full.");
            return false;
        }
    }
    return true;
}

namespace {

// How long a route usually takes against the others, longest first: LaTeXML
// and LaTeX2HTML run for seconds where HeVeA, TtH and pandoc take a fraction.
constexpr int kQuickRoutes = 3; // the rank of every route not named below
int usualLengthRank(const QString& routeKey) {
    static const QStringList longestFirst{S("latexml"), S("latex2html"), S("tex4ht")};
    const qsizetype rank = longestFirst.indexOf(routeKey);
    return rank < 0 ? kQuickRoutes : int(rank);
}

} // namespace

ChildPrograms& Comparison::runs(int jobs) {
    const QString fileName = QFileInfo(m_document).fileName();
    QList<ChildProgram> children;
    m_childRoutes.clear();
    auto add = [&](const QString& word, const QString& folder, int route) {
        children.append(
            {QCoreApplication::applicationFilePath(),
             QStringList{S("--convert=") + word} + childOptions(m_ctx) + QStringList{fileName},
             folder + S("/doc"),
             {S("MORVANE_HOME=") + folder + S("/home")}});
        m_childRoutes.append(route);
    };
    // The longest converters start first, so that the last to end is not a
    // long one started when the others are done; the table keeps the routes'
    // own order.
    QList<int> order;
    for (int i = 0; i < m_routes.size(); ++i)
        order.append(i);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return usualLengthRank(m_routes[a].routeKey) < usualLengthRank(m_routes[b].routeKey);
    });
    // The PDF of the reference text takes about as long as a TeX4ht run: it
    // starts after the long converters, before the quick ones.
    bool referenceAdded = m_referencePdf.isEmpty();
    for (const int i : order) {
        if (!referenceAdded && usualLengthRank(m_routes[i].routeKey) == kQuickRoutes) {
            add(S("pdf"), m_folder + S("/pdf"), -1);
            referenceAdded = true;
        }
        add(m_routes[i].word, m_routes[i].folder, i);
    }
    if (!referenceAdded)
        add(S("pdf"), m_folder + S("/pdf"), -1);
    m_reports = QList<QByteArray>(children.size());
    m_runs = std::make_unique<ChildPrograms>(children, jobs);
    m_runs->onLine([this](int child, bool standardError, const QByteArray& line) {
        if (!standardError && line.startsWith('{'))
            m_reports[child] = line;
    });
    return *m_runs;
}

int Comparison::routeOfChild(int child) const {
    return child >= 0 && child < m_childRoutes.size() ? m_childRoutes.at(child) : -1;
}

void Comparison::readReport(ComparedRoute& route, const QByteArray& line) {
    const QJsonObject report = QJsonDocument::fromJson(line).object();
    route.ran = !report.isEmpty();
    route.status = report.value(S("status")).toInt(2);
    route.result = report.value(S("result")).toString();
    route.log = report.value(S("log")).toString();
    route.errors = report.value(S("errors")).toInt();
    route.warnings = report.value(S("warnings")).toInt();
    route.seconds = report.value(S("seconds")).toDouble();
    route.peakMB = report.value(S("peak_mb")).toInteger();
}

void Comparison::makeReferenceText() {
    QString pdf;
    for (int child = 0; child < m_childRoutes.size(); ++child)
        if (m_childRoutes[child] < 0)
            pdf = QJsonDocument::fromJson(m_reports.value(child))
                      .object()
                      .value(S("result"))
                      .toString();
    if (!pdf.isEmpty()) {
        const QString text = pdf.chopped(4) + S(".txt");
        ChildPrograms extract({{S("pdftotext"), {S("-enc"), S("UTF-8"), pdf, text}, QString(), {}}},
                              1);
        extract.start();
        extract.waitForAll();
        QFile file(text);
        if (file.open(QIODevice::ReadOnly)) {
            m_referenceWords = wordsOf(QString::fromUtf8(file.readAll()));
            m_referenceName = S("the PDF's text");
        }
    }
    if (!m_referenceWords.isEmpty())
        return;
    for (const QString& file : watchedFilesOf(m_document)) {
        if (!file.endsWith(S(".tex"), Qt::CaseInsensitive))
            continue;
        QFile tex(file);
        if (!tex.open(QIODevice::ReadOnly))
            continue;
        const QHash<QString, int> words = texWordsOf(tex.readAll());
        for (auto it = words.cbegin(); it != words.cend(); ++it)
            m_referenceWords[it.key()] += it.value();
    }
    m_referenceName = S("the source's words");
}

void Comparison::makeThumbnails() {
    QList<ChildProgram> children;
    QList<int> routes;
    for (int i = 0; i < m_routes.size(); ++i) {
        if (!m_routes[i].produced())
            continue;
        const QString png = m_routes[i].folder + S("/thumbnail.png");
        children.append({QCoreApplication::applicationFilePath(),
                         {S("--thumbnail=") + png, m_routes[i].result},
                         m_routes[i].folder,
                         {}});
        routes.append(i);
    }
    ChildPrograms thumbnails(children, availableProcessors());
    thumbnails.onEnd([&](int child, int status, double) {
        const QString png = children[child].arguments.first().mid(12);
        if (status == 0 && QFileInfo(png).size() > 0)
            m_routes[routes[child]].thumbnail = png;
    });
    thumbnails.start();
    thumbnails.waitForAll();
}

void Comparison::finish() {
    for (int child = 0; child < m_childRoutes.size(); ++child)
        if (m_childRoutes[child] >= 0)
            readReport(m_routes[m_childRoutes[child]], m_reports.value(child));
    makeReferenceText();
    for (ComparedRoute& route : m_routes) {
        if (!route.produced())
            continue;
        route.measures = measureResult(QFileInfo(route.result).absolutePath());
        route.textCoverage = textCoverage(m_referenceWords, route.measures.words);
    }
    makeThumbnails();
    writeJson();
    writeHtml();
}

int Comparison::recommended() const {
    int best = -1;
    for (int i = 0; i < m_routes.size(); ++i)
        if (m_routes[i].produced() && (best < 0 || betterThan(m_routes[i], m_routes[best])))
            best = i;
    return best;
}

void Comparison::writeJson() const {
    QJsonArray routes;
    for (const ComparedRoute& route : m_routes) {
        const ResultMeasures& m = route.measures;
        routes.append(QJsonObject{{"route", route.routeKey},
                                  {"caption", route.caption},
                                  {"produced", route.produced()},
                                  {"status", route.status},
                                  {"errors", route.errors},
                                  {"warnings", route.warnings},
                                  {"undefined_references", m.undefinedReferences},
                                  {"broken_links", QJsonArray::fromStringList(m.brokenLinks)},
                                  {"mathml", m.mathml},
                                  {"formula_images", m.formulaImages},
                                  {"raw_tex", m.rawTex},
                                  {"text_coverage", qRound(route.textCoverage * 1000) / 1000.0},
                                  {"pages", m.pages},
                                  {"seconds", route.seconds},
                                  {"peak_mb", route.peakMB},
                                  {"result", route.result},
                                  {"log", route.log},
                                  {"thumbnail", route.thumbnail}});
    }
    const int best = recommended();
    const QJsonObject report{{"document", m_document},
                             {"reference", m_referenceName},
                             {"routes", routes},
                             {"recommended", best < 0 ? QString() : m_routes[best].caption}};
    QFile file(m_folder + S("/compare.json"));
    if (file.open(QIODevice::NewOnly))
        file.write(QJsonDocument(report).toJson());
}

void Comparison::writeHtml() const {
    const QDir folder(m_folder);
    const int best = recommended();
    QString html = S("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>") +
                   htmlEscaped(QFileInfo(m_document).fileName()) +
                   S(" compared</title>\n<style>table{border-collapse:collapse}td,th{border:1px "
                     "solid #999;padding:4px 8px;text-align:right}td:first-child{text-align:left}"
                     "tr.best{background:#e4f4e4}img{max-width:240px;border:1px solid "
                     "#ccc}</style></head>\n<body>\n<h1>") +
                   htmlEscaped(QFileInfo(m_document).fileName()) + S(" by every route</h1>\n");
    if (best >= 0)
        html += S("<p>Recommended: <strong>") + htmlEscaped(m_routes[best].caption) +
                S("</strong>. Text held is measured against ") + m_referenceName + S(".</p>\n");
    html += S("<table>\n<tr><th>Route</th><th>Page</th><th>Status</th>");
    for (const QString& header : measureHeaders())
        html += S("<th>") + header + S("</th>");
    html += S("</tr>\n");
    for (int i = 0; i < m_routes.size(); ++i) {
        const ComparedRoute& r = m_routes[i];
        const QString page =
            r.produced()
                ? S("<a href=\"") + htmlEscaped(folder.relativeFilePath(r.result)) + S("\">") +
                      (r.thumbnail.isEmpty()
                           ? S("page")
                           : S("<img src=\"") + htmlEscaped(folder.relativeFilePath(r.thumbnail)) +
                                 S("\" alt=\"first page\">")) +
                      S("</a>")
                : S("failed");
        html += (i == best ? S("<tr class=\"best\">") : S("<tr>")) + S("<td>") +
                htmlEscaped(r.caption) + S("</td><td>") + page + S("</td>");
        for (const QString& cell : QStringList{QString::number(r.status)} + measureCells(r))
            html += S("<td>") + cell + S("</td>");
        html += S("</tr>\n");
    }
    html += S("</table>\n</body></html>\n");
    QFile file(m_folder + S("/compare.html"));
    if (file.open(QIODevice::NewOnly))
        file.write(html.toUtf8());
}

QString Comparison::table() const {
    const QStringList header = QStringList{S("Route"), S("Status")} + measureHeaders();
    QList<QStringList> rows{header};
    for (const ComparedRoute& r : m_routes)
        rows.append(QStringList{r.caption, r.produced() ? QString::number(r.status) : S("failed")} +
                    measureCells(r));
    QList<int> widths(header.size(), 0);
    for (const QStringList& row : rows)
        for (int c = 0; c < row.size(); ++c)
            widths[c] = std::max(widths[c], int(row[c].size()));
    QString text;
    for (const QStringList& row : rows) {
        QString line;
        for (int c = 0; c < row.size(); ++c)
            line += c == 0 ? row[c].leftJustified(widths[c])
                           : S("  ") + row[c].rightJustified(widths[c]);
        text += line + QLatin1Char('\n');
    }
    return text;
}

void useComparedRoute(AppContext& ctx, const ComparedRoute& compared) {
    const Route* route = routeForKey(ctx.routes, compared.routeKey);
    if (!route)
        return;
    // The choices are read as Morvane.ini's keys would be: the same rows of
    // the key table set the same controls.
    ProfileFile choices;
    for (const QString& setting : compared.settings) {
        const QString key = setting.section(QLatin1Char('='), 0, 0);
        choices.writeText(key.section(QLatin1Char('/'), 0, 0), key.section(QLatin1Char('/'), 1),
                          setting.section(QLatin1Char('='), 1));
    }
    IniPlace place{*ctx.model, ctx.settings.vars};
    for (const IniKey& key : allIniKeys(ctx.routes))
        if (choices.contains(QLatin1String(key.section), QLatin1String(key.name)))
            readIniKey(key, choices, place);
    ctx.model->setIndex(ctl::tbstrip, tabOf(ctx.routes, *route));
    composeTex4htCommandLine(ctx);
}

int runComparison(QStringList arguments) {
    const int jobs = takeJobsOption(arguments);
    int seconds = 0;
    int megabytes = 0;
    for (auto arg = arguments.begin(); arg != arguments.end();) {
        if (arg->startsWith(S("--timeout=")))
            seconds = arg->mid(10).toInt();
        else if (arg->startsWith(S("--memory=")))
            megabytes = arg->mid(9).toInt();
        else {
            ++arg;
            continue;
        }
        arg = arguments.erase(arg);
    }
    if (jobs < 0 || arguments.size() != 1) {
        std::fputs("morvane: usage: morvane --compare [--jobs=N] [--timeout=SECONDS] "
                   "[--memory=MB] FILE\n",
                   stderr);
        return 2;
    }
    OptionsModel model;
    DefaultAnswerPrompter prompter;
    AppContext ctx;
    ctx.programDir = resolveProgramDirectory(currentProgramDirectoryInputs());
    ctx.model = &model;
    ctx.seams.prompter = &prompter;
    ctx.unattended = true;
    ctx.seams.quitProgram = [] {};
    connectOptionHandlers(ctx);
    if (!loadStep(ctx, QString()))
        return 2;
    if (seconds > 0)
        ctx.settings.vars.timeLimitSeconds = seconds;
    if (megabytes > 0)
        ctx.settings.vars.memoryLimitMB = megabytes;

    Comparison comparison(ctx, QDir::current().absoluteFilePath(arguments.first()));
    QString error;
    if (!comparison.prepare(&error)) {
        std::fprintf(stderr, "morvane: %s\n", error.toUtf8().constData());
        return 2;
    }
    std::printf("Comparing %d routes in %s\n", int(comparison.routes().size()),
                QDir::toNativeSeparators(comparison.folder()).toUtf8().constData());
    std::fflush(stdout);
    ChildPrograms& runs = comparison.runs(jobs > 0 ? jobs : availableProcessors());
    const auto captionOf = [&comparison](int child) {
        const int route = comparison.routeOfChild(child);
        return route < 0 ? S("PDF (the reference text)") : comparison.routes()[route].caption;
    };
    runs.onStart([&](int child) {
        std::printf("%s: running\n", captionOf(child).toUtf8().constData());
        std::fflush(stdout);
    });
    runs.onEnd([&](int child, int status, double took) {
        std::printf("%s: ended with status %d after %.1f s\n",
                    captionOf(child).toUtf8().constData(), status, took);
        std::fflush(stdout);
    });
    runs.start();
    runs.waitForAll();
    comparison.finish();
    std::printf("\n%s", comparison.table().toUtf8().constData());
    const int best = comparison.recommended();
    if (best >= 0)
        std::printf("\nRecommended: %s\n", comparison.routes()[best].caption.toUtf8().constData());
    std::printf(
        "Report: %s\n",
        QDir::toNativeSeparators(comparison.folder() + S("/compare.html")).toUtf8().constData());
    for (const ComparedRoute& route : comparison.routes())
        if (route.produced() && route.status == 0)
            return 0;
    return 1;
}

} // namespace morvane
