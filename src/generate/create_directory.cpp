#include "create_directory.h"

#include "php_text.h"

QString create_directory::get_code() const
{
    // Writable by the site's own user only: a folder anyone may write to
    // lets any local user replace what the site serves from it.
    return php_text::lines({
               QStringLiteral("function RecursiveMkdir($path)"),
               QStringLiteral(" {"),
               QStringLiteral("   if (!file_exists($path)) "),
               QStringLiteral("   { "),
               QStringLiteral("      RecursiveMkdir(dirname($path));"),
               QStringLiteral("      mkdir($path, 0755);"),
               QStringLiteral("    }"),
               QStringLiteral("  }"),
           })
        + php_text::CRLF;
}
