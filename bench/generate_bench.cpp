// Time to generate the whole script for a large form with mixed rules.
#include "generate/CPHP_script.h"
#include "generate/CSV.h"
#include "generate/Crecieving_vars.h"
#include "generate/cmail.h"
#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void build_form(int count)
{
    globals::reset();
    auto form = std::make_shared<CForm>();
    form->set_Method(QStringLiteral("POST"));
    globals::web_page()->selected_form = form;
    globals::rec_vars()->form = form;
    globals::csv_file()->form = form;
    globals::owner_mail()->form = form;
    globals::auto_mail()->form = form;
    Cprefrences &prefs = *globals::prefs();
    prefs.is_email = prefs.is_autoresponde = prefs.is_csv = prefs.is_upload = prefs.is_creditcard = true;
    globals::owner_mail()->sender = QStringLiteral("f0");
    globals::auto_mail()->is_autoresponde = true;
    globals::auto_mail()->email_to = QStringLiteral("$f0");

    std::shared_ptr<Field> previous;
    for (int i = 0; i < count; ++i) {
        Field field;
        field.name = QStringLiteral("f%1").arg(i);
        field.post_name = field.name;
        field.field_type = i % 10 == 9 ? QStringLiteral("file") : QStringLiteral("text");
        field.error_html
            = QStringLiteral("<p align=\\\"center\\\">please enter a valid ") + field.name + QStringLiteral(" </p>");
        field.required = i % 3 == 0;
        switch (i % 10) {
        case 0:
            field.validation_type = 0;
            field.range_operator1 = 1;
            field.range_min = 18;
            field.range_operator2 = 0;
            field.range_max = 65;
            break;
        case 1:
            field.validation_type = 1;
            if (previous)
                field.set_compare_field(previous);
            break;
        case 2:
        case 3:
        case 4:
            field.validation_type = 2;
            field.expression_type = i % 6;
            break;
        case 5:
            field.validation_type = 3;
            field.list_values = QStringLiteral("red|green|blue|yellow");
            break;
        case 6:
            field.validation_type = 4;
            field.length_operator1 = 1;
            field.length_min = 2;
            break;
        case 9:
            field.validation_type = 7;
            field.max_size = 500;
            field.upload_folder = QStringLiteral("uploads");
            field.mime_types()->Add(QStringLiteral("image/png"));
            field.mime_types()->Add(QStringLiteral("image/gif"));
            break;
        default:
            break;
        }
        previous = form->fields()->Add(field, field.name);
        globals::owner_mail()->message_lines()->Add(
            field.name + QStringLiteral(": $") + field.name + QStringLiteral("\\n"));
    }
}

void BM_GenerateScript(benchmark::State &state)
{
    build_form(static_cast<int>(state.range(0)));
    QTemporaryDir folder;
    globals::prefs()->php_des = folder.filePath(QStringLiteral("index.php"));
    for (auto _ : state)
        globals::php_script()->prepare_script();
    state.SetLabel(std::to_string(QFileInfo(globals::prefs()->php_des).size()) + " bytes");
}
BENCHMARK(BM_GenerateScript)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
