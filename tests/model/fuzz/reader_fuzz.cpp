// libFuzzer target for the HTML form reader: any bytes as a page, read as a
// web page whose header names a charset and as a local file through
// ReadForms. Besides crashes, leaks and hangs it stops on a field name that
// is no usable PHP variable.

#include "model/CForm.h"
#include "model/Field.h"
#include "model/Forms.h"
#include "model/HtmlDocument.h"
#include "model/fields.h"
#include "model/webpage.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

struct Reader
{
    QTemporaryDir folder;
    webpage page;
    HtmlDocument::Limits limits;
    int finished = 0;
};

QCoreApplication *application;
Reader *reader;

// Under AddressSanitizer the parser needs about three times the memory;
// these limits keep one input within libFuzzer's memory and time limits.
HtmlDocument::Limits fuzz_limits()
{
    HtmlDocument::Limits limits;
    limits.memory = std::size_t(256) << 20;
    limits.time = std::chrono::seconds(1);
    limits.time_per_megabyte = std::chrono::milliseconds(500);
    return limits;
}

bool is_php_variable(const QString &name)
{
    if (name.isEmpty())
        return true; // an unnamed field
    if (name.startsWith(QLatin1String("tsl_")) || name == QLatin1String("this") || name == QLatin1String("_POST")
        || name == QLatin1String("GLOBALS"))
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
        if (!letter && !(i > 0 && c >= '0' && c <= '9'))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    application = new QCoreApplication(*argc, *argv);
    reader = new Reader;
    reader->limits = fuzz_limits();
    reader->page.parse_limits = reader->limits;
    reader->page.pagetype = 0;
    reader->page.path = reader->folder.filePath(QStringLiteral("page.html"));
    webpage::set_message_function([](const QString &, qint32, qint32) { return 4; });
    QObject::connect(&reader->page, &webpage::FinishReading, [] { ++reader->finished; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const char *const charsets[]
        = { "", "utf-8", "windows-1252", "shift_jis", "utf-16le", "iso-2022-jp", "gbk", "koi8-r" };
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    const HtmlDocument document = HtmlDocument::read(bytes, size ? charsets[data[0] % 8] : "", reader->limits);
    if (document.status() == HtmlDocument::Status::Read && document.encoding().isEmpty())
        std::abort();

    {
        QFile file(reader->page.path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            std::abort();
    }
    const int before = reader->finished;
    reader->page.ReadForms();
    if (reader->finished == before)
        return 0; // refused as too complex: reported, not read
    if (reader->page.nforms != reader->page.forms->Count())
        std::abort();
    for (const auto &form : *reader->page.forms) {
        for (const auto &field : *form.value->fields()) {
            if (!is_php_variable(field.value->name))
                std::abort();
        }
    }
    return 0;
}
