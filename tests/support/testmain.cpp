// The main of every grouped test executable: runs the one registered test
// class its first argument names (a file name such as tst_savedpath, or the
// class name), passing the arguments after it on to QtTest.

#include "support/testmain.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace morvane::test {
namespace {

struct Registered {
    std::string file;
    std::string className;
    TestRun run;
};

// Filled by the files' static initialisers, hence a function-local static.
std::vector<Registered>& registry() {
    static std::vector<Registered> tests;
    return tests;
}

std::string baseName(const char* path) {
    std::string name(path);
    const auto slash = name.find_last_of('/');
    if (slash != std::string::npos)
        name.erase(0, slash + 1);
    const auto dot = name.find('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

const Registered* find(const char* name) {
    for (const Registered& test : registry()) {
        if (test.file == name || test.className == name)
            return &test;
    }
    return nullptr;
}

int usage(const char* program) {
    std::fprintf(stderr, "usage: %s TEST [QtTest arguments]\nTEST is one of:\n", program);
    for (const Registered& test : registry())
        std::fprintf(stderr, "  %s (%s)\n", test.file.c_str(), test.className.c_str());
    return 2;
}

} // namespace

bool registerTest(const char* sourceFile, const char* className, TestRun run) {
    registry().push_back({baseName(sourceFile), className, run});
    return true;
}

} // namespace morvane::test

int main(int argc, char** argv) {
    using namespace morvane::test;
    if (argc < 2 || argv[1][0] == '-')
        return usage(argv[0]);
    const Registered* test = find(argv[1]);
    if (!test) {
        std::fprintf(stderr, "%s: no test named %s\n", argv[0], argv[1]);
        return usage(argv[0]);
    }
    // QtTest sees the program name and the arguments after the test's name,
    // as if the test were its own executable.
    std::vector<char*> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    args.push_back(nullptr);
    return test->run(argc - 1, args.data());
}
