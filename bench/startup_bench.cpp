// Start to first window shown: the wizard's own start code next to a bare
// window holding a label, a line edit and a button. Each run is a new
// process (a startup_probe program) that ends once its first window has
// been painted, so loading the program, the toolkit and its fonts counts as
// a user waits for them. Without a display the windows use Qt's offscreen
// platform; under an X server they are real windows.
//
// A third program shows the bare window after loading every library the
// wizard loads: the gap between it and the wizard is the wizard's own start,
// the gap between it and the bare window the libraries'.
//
// The programs take turns, so that a machine busy with other work slows them
// alike; the counters give the median of each and the ratios, in time waited
// and in processor time used (which other work on the machine does not
// change).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include <sys/resource.h>

namespace {

// Processor time (user and system) of the children ended so far, in ms.
double children_cpu_ms()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto ms = [](const timeval &t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

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
        const double cpu = children_cpu_ms();
        QElapsedTimer clock;
        clock.start();
        probe.start(m_program, {});
        if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
            return -1;
        const double milliseconds = clock.nsecsElapsed() / 1e6;
        m_times.push_back(milliseconds);
        m_cpu.push_back(children_cpu_ms() - cpu);
        return milliseconds;
    }

    double time_ms() const { return median(m_times); }
    double cpu_ms() const { return median(m_cpu); }

private:
    QString m_program;
    QTemporaryDir m_config;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    std::vector<double> m_times;
    std::vector<double> m_cpu;
};

void BM_StartToFirstWindow(benchmark::State &state)
{
    Probe bare("bare");
    Probe linked("bare_linked");
    Probe wizard("wizard");
    for (auto _ : state) {
        const double times[] = { bare.run(), linked.run(), wizard.run() };
        if (*std::min_element(std::begin(times), std::end(times)) < 0) {
            state.SkipWithError("a probe did not show its window");
            return;
        }
        state.SetIterationTime(times[2] / 1000);
    }
    const auto ratio = [](double wizard, double bare) { return bare > 0 ? wizard / bare : 0; };
    state.counters["bare_ms"] = bare.time_ms();
    state.counters["wizard_ms"] = wizard.time_ms();
    state.counters["wizard_over_bare"] = ratio(wizard.time_ms(), bare.time_ms());
    state.counters["bare_cpu_ms"] = bare.cpu_ms();
    state.counters["wizard_cpu_ms"] = wizard.cpu_ms();
    state.counters["cpu_wizard_over_bare"] = ratio(wizard.cpu_ms(), bare.cpu_ms());
    state.counters["bare_linked_ms"] = linked.time_ms();
    state.counters["wizard_over_bare_linked"] = ratio(wizard.time_ms(), linked.time_ms());
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
