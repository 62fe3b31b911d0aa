#pragma once

// The test files of one tests/<area> folder build into one executable, so that
// the area compiles its QtTest set-up and links once instead of once a file.
// Each file registers its test class here, under its file name, and the
// shared main (testmain.cpp) runs the class its first argument names:
//
//     tests_pipeline tst_savedpath [QtTest arguments]
//
// A file ends with one of these in place of QTEST_MAIN and its kin; each
// creates the application object its QtTest counterpart creates:
//
//   MORVANE_TEST_MAIN(Class)          a QApplication (QTEST_MAIN with widgets)
//   MORVANE_TEST_GUILESS_MAIN(Class)  a QCoreApplication (QTEST_GUILESS_MAIN)
//   MORVANE_TEST_APPLESS_MAIN(Class)  none (QTEST_APPLESS_MAIN)
//   MORVANE_TEST_CUSTOM_MAIN(Class, run)
//       `int run(int argc, char** argv)` of the file, for a test that must set
//       attributes before its application exists; it runs QTest::qExec itself.

#include <QCoreApplication>
#include <QTest>
#ifdef QT_WIDGETS_LIB
#include <QApplication>
#endif

namespace morvane::test {

using TestRun = int (*)(int argc, char** argv);

// Records `run` under the base name of `sourceFile` without its extension
// (tst_savedpath) and under `className`. Returns true, to initialise a static.
bool registerTest(const char* sourceFile, const char* className, TestRun run);

} // namespace morvane::test

#define MORVANE_TEST_REGISTER_(TestObject, ...)                                                    \
    namespace {                                                                                    \
    [[maybe_unused]] const bool morvaneTestRegistered_##TestObject =                               \
        ::morvane::test::registerTest(__FILE__, #TestObject, __VA_ARGS__);                         \
    }

// What QTEST_MAIN_WRAPPER does; the arguments after the class make the
// application object.
#define MORVANE_TEST_RUN_(TestObject, ...)                                                         \
    MORVANE_TEST_REGISTER_(TestObject, [](int argc, char** argv) -> int {                          \
        QTest::Internal::callInitMain<TestObject>();                                               \
        __VA_ARGS__                                                                                \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    })

#define MORVANE_TEST_APP_(AppClass)                                                                \
    AppClass app(argc, argv);                                                                      \
    app.setAttribute(Qt::AA_Use96Dpi, true);

#define MORVANE_TEST_MAIN(TestObject) MORVANE_TEST_RUN_(TestObject, MORVANE_TEST_APP_(QApplication))
#define MORVANE_TEST_GUILESS_MAIN(TestObject)                                                      \
    MORVANE_TEST_RUN_(TestObject, MORVANE_TEST_APP_(QCoreApplication))
#define MORVANE_TEST_APPLESS_MAIN(TestObject) MORVANE_TEST_RUN_(TestObject, )
#define MORVANE_TEST_CUSTOM_MAIN(TestObject, run) MORVANE_TEST_REGISTER_(TestObject, run)
