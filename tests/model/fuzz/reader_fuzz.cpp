// libFuzzer target for the HTML form reader: any bytes as a page, read as a web page whose
// header names a charset and as a local file through ReadForms. Besides crashes, leaks and
// hangs it stops on a field name that is no usable PHP variable.

#include "model/CForm.h"
#include "model/Field.h"
#include "model/Forms.h"
#include "model/HtmlDocument.h"
#include "model/fields.h"
#include "model/webpage.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QCoreApplication *application;
QTemporaryDir *folder;
webpage *page;
int finished = 0;

// Unnamed, or a PHP variable name that overwrites none of the script's own.
bool is_php_variable(const QString &name)
{
    static const QRegularExpression variable(
        QStringLiteral("\\A([A-Za-z_\\x{80}-\\x{10FFFF}][0-9A-Za-z_\\x{80}-\\x{10FFFF}]*)?\\z"));
    static const QRegularExpression reserved(QStringLiteral("^(tsl_.*|this|_POST|GLOBALS)$"));
    return variable.match(name).hasMatch() && !reserved.match(name).hasMatch();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    application = new QCoreApplication(*argc, *argv);
    folder = new QTemporaryDir;
    page = new webpage;
    // Under AddressSanitizer the parser needs about three times the memory;
    // these limits keep one input within libFuzzer's memory and time limits.
    page->parse_limits.memory = std::size_t(256) << 20;
    page->parse_limits.time = std::chrono::seconds(1);
    page->parse_limits.time_per_megabyte = std::chrono::milliseconds(500);
    page->pagetype = 0;
    page->path = folder->filePath(QStringLiteral("page.html"));
    webpage::set_message_function([](const QString &, qint32, qint32) { return 4; });
    QObject::connect(page, &webpage::FinishReading, [] { ++finished; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const char *const charsets[] = { "", "utf-8", "windows-1252", "shift_jis", "utf-16le", "iso-2022-jp", "gbk",
        "koi8-r", "", "big5", "euc-jp", "euc-kr", "gb18030", "utf-16be", "x-user-defined", "iso-2022-kr" };
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const HtmlDocument document = HtmlDocument::read(bytes, size ? charsets[data[0] % 16] : "", page->parse_limits);
    if (document.status() == HtmlDocument::Status::Read && document.encoding().isEmpty())
        std::abort();

    QFile file(page->path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();
    const int before = finished;
    page->ReadForms();
    if (finished == before)
        return 0; // refused as too complex: reported, not read
    if (page->nforms != page->forms->Count())
        std::abort();
    for (const auto &form : *page->forms) {
        for (const auto &field : *form.value->fields()) {
            if (!is_php_variable(field.value->name))
                std::abort();
        }
    }
    return 0;
}
