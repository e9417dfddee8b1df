#pragma once
// The main of a benchmark program that draws as the program does: the
// offscreen platform unless another is set, the program's application set-up
// (fonts and their substitutions), then the registered benchmarks.

#include <benchmark/benchmark.h>

#include <QApplication>

#include "shell/application.h"

namespace belvorine {

inline int runWidgetBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    prepareApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace belvorine
