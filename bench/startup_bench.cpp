// Start to first window shown: the wizard's own start code next to a bare
// window holding a label, a line edit and a button. Each run is a new
// process (a startup_probe program) that ends once its first window has
// been painted, so loading the program, the toolkit and its fonts counts as
// a user waits for them. Without a display the windows use Qt's offscreen
// platform; under an X server they are real windows.
//
// The two programs take turns, so that a machine busy with other work slows
// both alike; the counters give the median of each and their ratio.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

class Probe
{
public:
    explicit Probe(const char *name)
        : m_program(
            QCoreApplication::applicationDirPath() + QStringLiteral("/startup_probe_") + QString::fromLatin1(name))
    {
        // The wizard reads its introduction setting from the user's
        // configuration folder: one of its own, as at a first start.
        m_environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_config.path());
        if (!m_environment.contains(QStringLiteral("QT_QPA_PLATFORM"))
            && !m_environment.contains(QStringLiteral("DISPLAY")))
            m_environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }

    // Milliseconds from start to the end after the first paint; negative
    // when the probe failed.
    double run()
    {
        QProcess probe;
        probe.setProcessEnvironment(m_environment);
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        probe.start(m_program, {});
        if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            return -1;
        const double milliseconds = clock.nsecsElapsed() / 1e6;
        m_times.push_back(milliseconds);
        return milliseconds;
    }

    double median()
    {
        std::sort(m_times.begin(), m_times.end());
        return m_times.empty() ? 0 : m_times[m_times.size() / 2];
    }

private:
    QString m_program;
    QTemporaryDir m_config;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    std::vector<double> m_times;
};

void BM_StartToFirstWindow(benchmark::State &state)
{
    Probe bare("bare");
    Probe wizard("wizard");
    for (auto _ : state) {
        const double times[] = { bare.run(), wizard.run() };
        if (times[0] < 0 || times[1] < 0) {
            state.SkipWithError("a probe did not show its window");
            return;
        }
        state.SetIterationTime((times[0] + times[1]) / 1000);
    }
    const double bare_ms = bare.median();
    const double wizard_ms = wizard.median();
    state.counters["bare_ms"] = bare_ms;
    state.counters["wizard_ms"] = wizard_ms;
    state.counters["wizard_over_bare"] = bare_ms > 0 ? wizard_ms / bare_ms : 0;
}

} // namespace

BENCHMARK(BM_StartToFirstWindow)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(60);

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
