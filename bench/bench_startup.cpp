// Start-up time of the program up to its window being shown, against a bare
// QMainWindow started the same way from this very binary (same build, same
// libraries, offscreen). Each iteration starts both once, after one untimed
// start of each (the first start of a fresh installation asks hevea where
// its library is, once); the counters report the medians and their ratio
// (goal: at most 1.5).
//
// The program ends right after showing its window when MORVANE_QUIT_WHEN_SHOWN
// is set; its program directory is a temporary copy of the shipped files with
// a Morvane.ini padded to 200 entries and a 10-entry file history.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const char* const bareWindowSwitch = "--bare-window";
QString benchProgram;

int runBareWindow(int argc, char** argv) {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Morvane"));
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}

QByteArray readFile(const QString& path) {
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(content);
}

int entryCount(const QByteArray& ini) {
    int count = 0;
    for (const QByteArray& line : ini.split('\n')) {
        if (!line.startsWith(';') && !line.startsWith('[') && line.contains('='))
            ++count;
    }
    return count;
}

// A program directory like a long-used installation.
void prepareHome(const QString& home) {
    const QString shipped = QStringLiteral(MORVANE_BUILD_PROGRAM_DIR);
    QByteArray ini = readFile(shipped + QStringLiteral("/Morvane.ini"));
    ini.append("\n[Notes]\n");
    for (int i = entryCount(ini); i < 200; ++i)
        ini.append("Note" + QByteArray::number(i) + "=remembered value " + QByteArray::number(i) +
                   "\n");
    // No first-run dialog and no one-time notice: nothing may wait for a click.
    ini.replace("FirstTime=Yes", "FirstTime=No");
    writeFile(home + QStringLiteral("/Morvane.ini"), ini);
    writeFile(home + QStringLiteral("/convert.sh"),
              readFile(shipped + QStringLiteral("/convert.sh")));
    QByteArray history = ";This is the file list of tex files that have been converted\n"
                         ";You can delete this file if you wish\n";
    for (int i = 0; i < 10; ++i)
        history.append("/home/user/papers/paper" + QByteArray::number(i) + ".tex\n");
    writeFile(home + QStringLiteral("/FileList.txt"), history);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

double timedRun(const QString& program, const QStringList& args, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, args);
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    return timer.nsecsElapsed() / 1e6;
}

void BM_StartupToWindowShown(benchmark::State& state) {
    QTemporaryDir work;
    const QString home = work.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    prepareHome(home);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), work.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("MORVANE_HOME"), home);
    env.insert(QStringLiteral("MORVANE_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    const QString morvane = QStringLiteral(MORVANE_BUILD_PROGRAM_DIR "/morvane");

    const QStringList bare{QString::fromLatin1(bareWindowSwitch)};
    timedRun(morvane, {}, env);
    timedRun(benchProgram, bare, env);
    std::vector<double> morvaneMs, bareMs;
    for (auto _ : state) {
        const double m = timedRun(morvane, {}, env);
        const double b = timedRun(benchProgram, bare, env);
        if (m < 0 || b < 0) {
            state.SkipWithError("a program did not end");
            return;
        }
        morvaneMs.push_back(m);
        bareMs.push_back(b);
    }
    state.counters["morvane_ms"] = median(morvaneMs);
    state.counters["bare_window_ms"] = median(bareMs);
    state.counters["ratio"] = median(morvaneMs) / median(bareMs);
    state.SetLabel("goal: ratio at most 1.5");
}
BENCHMARK(BM_StartupToWindowShown)->Iterations(15)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], bareWindowSwitch) == 0)
        return runBareWindow(argc, argv);
    QCoreApplication app(argc, argv);
    benchProgram = QCoreApplication::applicationFilePath();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
