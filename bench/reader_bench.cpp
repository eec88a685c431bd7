// The HTML form reader on a large page: ReadForms from a local file next to
// gumbo's bare parse of the same bytes, and the memory left after reading.

#include "model/CForm.h"
#include "model/Forms.h"
#include "model/fields.h"
#include "model/webpage.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <gumbo.h>

#include <algorithm>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kForms = 500;
constexpr int kControlsPerForm = 10;
constexpr std::size_t kPageBytes = std::size_t(5) << 20;

// A 5 MB page: text and links between 500 forms of 10 controls each, laid
// out in tables as form pages often are.
QByteArray generated_page()
{
    std::string page = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Bench</title>"
                       "<style>body { font: 12px sans-serif }</style></head><body>\n";
    const char *kinds[] = { "text", "email", "checkbox", "radio", "file", "hidden", "password", "submit" };
    const std::size_t per_form = kPageBytes / kForms;
    for (int f = 0; f < kForms; ++f) {
        const std::string n = std::to_string(f);
        page += "<div class=\"section\" id=\"s" + n + "\"><h2>Section " + n + "</h2>\n";
        while (page.size() + 1200 < std::size_t(f + 1) * per_form) {
            page += "<p>Lorem ipsum dolor sit amet, <a href=\"/page/" + std::to_string(page.size())
                + "\">consectetur</a> adipiscing elit, <b>sed do</b> eiusmod tempor incididunt ut labore et "
                  "dolore magna aliqua.</p>\n";
        }
        page += "<form name=\"f" + n + "\" method=\"post\" action=\"/submit\"><table>\n";
        for (int c = 0; c < kControlsPerForm; ++c) {
            const std::string name = "field_" + n + "_" + std::to_string(c);
            page += "<tr><td><label for=\"" + name + "\">Label</label></td><td>";
            if (c == 7)
                page += "<select name=\"" + name + "[]\" multiple><option>a<option>b<option>c</select>";
            else if (c == 8)
                page += "<textarea name=\"" + name + "\" rows=3>text</textarea>";
            else
                page += "<input type=\"" + std::string(kinds[c % 8]) + "\" name=\"" + name + "\" id=\"" + name + "\">";
            page += "</td></tr>\n";
        }
        page += "</table></form></div>\n";
    }
    page += "</body></html>\n";
    return QByteArray::fromStdString(page);
}

struct Page
{
    QTemporaryDir folder;
    QString path;
    QByteArray bytes;
};

const Page &page()
{
    static const Page *instance = [] {
        auto *made = new Page;
        made->bytes = generated_page();
        made->path = made->folder.filePath(QStringLiteral("bench.html"));
        QFile file(made->path);
        if (!file.open(QIODevice::WriteOnly) || file.write(made->bytes) != made->bytes.size())
            std::abort();
        return made;
    }();
    return *instance;
}

// Other work on the machine only ever adds time, so the fastest of several
// repetitions is the figure to compare.
double fastest(const std::vector<double> &times)
{
    return *std::min_element(times.begin(), times.end());
}

double resident_megabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

void GumboBareParse(benchmark::State &state)
{
    const QByteArray &bytes = page().bytes;
    for (auto _ : state) {
        GumboOutput *output = gumbo_parse_with_options(&kGumboDefaultOptions, bytes.constData(), bytes.size());
        benchmark::DoNotOptimize(output);
        gumbo_destroy_output(&kGumboDefaultOptions, output);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(GumboBareParse)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(10)
    ->ComputeStatistics("min", fastest);

void ReadFormsFromFile(benchmark::State &state)
{
    webpage reader;
    reader.pagetype = 0;
    reader.path = page().path;
    const double before = resident_megabytes();
    for (auto _ : state) {
        reader.ReadForms();
        if (reader.nforms != kForms || reader.forms->Item(kForms)->fields()->Count() != kControlsPerForm)
            state.SkipWithError("the page was not read completely");
    }
    state.SetBytesProcessed(state.iterations() * page().bytes.size());
    // What stays after reading: the forms just read, nothing of the parse.
    state.counters["resident_growth_MB"] = resident_megabytes() - before;
    reader.forms.reset();
    state.counters["growth_without_forms_MB"] = resident_megabytes() - before;
}
BENCHMARK(ReadFormsFromFile)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Repetitions(10)
    ->ComputeStatistics("min", fastest);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    page();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
