// Runs every registered benchmark after recording the compiler and build type
// in the report's context, so that figures can be compared across builds.
#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string compilerName() {
#if defined(__clang__)
    return "clang " __clang_version__;
#elif defined(__GNUC__)
    return "gcc " __VERSION__;
#else
    return "unknown";
#endif
}

} // namespace

int main(int argc, char** argv) {
    benchmark::AddCustomContext("compiler", compilerName());
    benchmark::AddCustomContext("build_type", CHARSETKIT_BUILD_TYPE);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
