// Start to first window shown: the wizard's own start code next to a bare
// window holding a label, a line edit and a button. Each run is a new
// process (startup_probe) that ends after its first window was painted, so
// loading the program, the toolkit and its fonts counts as a user waits
// for them. Without a display the windows use Qt's offscreen platform.

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString probe_path()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/startup_probe");
}

void run_probe(benchmark::State &state, const QString &mode)
{
    // The wizard reads its introduction setting from the user's
    // configuration folder: one of its own, as at a first start.
    QTemporaryDir config;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")) && !environment.contains(QStringLiteral("DISPLAY")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (auto _ : state) {
        QProcess probe;
        probe.setProcessEnvironment(environment);
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        probe.start(probe_path(), { mode });
        if (!probe.waitForFinished(30000) || probe.exitCode() != 0) {
            state.SkipWithError("the probe did not show its window");
            return;
        }
    }
}

void BM_BareWindow(benchmark::State &state)
{
    run_probe(state, QStringLiteral("bare"));
}

void BM_Wizard(benchmark::State &state)
{
    run_probe(state, QStringLiteral("wizard"));
}

} // namespace

BENCHMARK(BM_BareWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(BM_Wizard)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
