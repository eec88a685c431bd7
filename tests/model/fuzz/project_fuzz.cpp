// libFuzzer target for the project reader: any bytes as a project file.
// Besides crashes, leaks, undefined behaviour and hangs it stops when an
// input is neither read nor reported, and when a project read from it does
// not come back the same through the writer: what the writer makes of it
// must read back to the very same file.

#include "model/CForm.h"
#include "model/Cprefrences.h"
#include "model/ProjectWriter.h"
#include "model/SavedProject.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

namespace {

// The model of a project read from `bytes`, written out again.
QByteArray rewritten(const QByteArray &bytes)
{
    const SavedProject project = SavedProject::parse(bytes);
    globals::reset();
    project.apply();
    auto form = std::make_shared<CForm>();
    form->set_fields(project.saved_fields);
    form->is_date = project.is_date;
    form->date_format = project.date_format;
    globals::web_page()->selected_form = form;
    ProjectPageTexts pages;
    pages.txt_success_message = SavedProject::line_breaks(project.txt_success_message);
    return ProjectWriter(pages).text();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    new QCoreApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray once;
    try {
        once = rewritten(bytes);
    } catch (const ProjectReadError &) {
        return 0; // reported
    }
    // Anything else thrown ends the run as a crash. What the writer made
    // must read back unchanged.
    try {
        if (rewritten(once) != once)
            std::abort();
    } catch (const ProjectReadError &) {
        std::abort();
    }
    return 0;
}
