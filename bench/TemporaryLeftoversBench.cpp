// The start-up pass over the temporary folder that removes what ended runs left: over an empty folder (the
// baseline), over 20,000 files of other programs, and over the same with ten ended runs' leftovers (a picture
// file and a document folder of three files each) made anew before every pass.
#include "services/TemporaryLeftovers.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void touch(const QString& path) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
}

// A process id that ran and ended.
qint64 endedProcess() {
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForStarted();
    const qint64 id = process.processId();
    process.waitForFinished();
    return id;
}

void BM_RemoveLeftovers(benchmark::State& state) {
    const int others = static_cast<int>(state.range(0));
    const int endedRuns = static_cast<int>(state.range(1));
    QTemporaryDir folder;
    for (int i = 0; i < others; ++i) touch(QStringLiteral("%1/other%2.tmp").arg(folder.path()).arg(i));
    std::vector<QString> runs;
    for (int i = 0; i < endedRuns; ++i) runs.push_back(QString::number(endedProcess(), 16).toUpper());
    for (auto _ : state) {
        state.PauseTiming();
        for (const QString& run : runs) {
            const QString base = folder.path() + QStringLiteral("/TIN") + run;
            touch(base + QStringLiteral("00000001.tmp"));
            QDir().mkpath(base + QStringLiteral("00000002.tmp"));
            for (const char* name : {"/def.xml", "/stage.png", "/picture.png"})
                touch(base + QStringLiteral("00000002.tmp") + QLatin1String(name));
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(TemporaryLeftovers::RemoveFrom(folder.path()));
    }
    state.counters["other_files"] = others;
    state.counters["ended_runs"] = endedRuns;
}
// Arguments: other programs' files, ended runs. The first is the baseline of the same run.
BENCHMARK(BM_RemoveLeftovers)->Args({0, 0})->Args({20000, 0})->Args({20000, 10})->Unit(benchmark::kMicrosecond);

}  // namespace
