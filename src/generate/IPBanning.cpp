#include "IPBanning.h"

#include "php_text.h"

QString IPBanning::get_php_code() const
{
    return php_text::lines({
        QStringLiteral("if (file_exists(\"blockedIPs.txt\"))"),
        QStringLiteral("{"),
        QStringLiteral(" $ip = $_SERVER['REMOTE_ADDR'];"),
        QStringLiteral(" $fp = fopen(\"blockedIPs.txt\",\"r\"); "),
        QStringLiteral(" $banned = fread($fp, 1024*1024);"),
        QStringLiteral(" fclose($fp);"),
        QStringLiteral(" $ips = explode(\"\\n\", $banned); "),
        QStringLiteral(" foreach ($ips as $value) {"),
        QStringLiteral("if($ip == trim($value)){"),
        QStringLiteral("       die(\"Sorry your IP is banned!\"); "),
        QStringLiteral("   }"),
        QStringLiteral(" }"),
        QStringLiteral("}"),
    });
}
