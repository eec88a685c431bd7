#include "create_directory.h"

#include "php_text.h"

QString create_directory::get_code() const
{
    return php_text::lines({
               QStringLiteral("function RecursiveMkdir($path)"),
               QStringLiteral(" {"),
               QStringLiteral("   if (!file_exists($path)) "),
               QStringLiteral("   { "),
               QStringLiteral("      RecursiveMkdir(dirname($path));"),
               QStringLiteral("      mkdir($path, 0777);"),
               QStringLiteral("    }"),
               QStringLiteral("  }"),
           })
        + php_text::CRLF;
}
