#include "IPBanning.h"

#include "php_text.h"

QString IPBanning::get_php_code() const
{
    // A list that cannot be read bans no one: the script cannot tell a
    // banned visitor, and must not fail every submission for it.
    return php_text::lines({
        QStringLiteral("if (file_exists(\"blockedIPs.txt\"))"),
        QStringLiteral("{"),
        QStringLiteral(" $tsl_visitor_ip = $_SERVER['REMOTE_ADDR'];"),
        QStringLiteral(" $tsl_fp = @fopen(\"blockedIPs.txt\",\"r\"); "),
        QStringLiteral(" $tsl_banned = $tsl_fp ? @fread($tsl_fp, 1024*1024) : \"\";"),
        QStringLiteral(" if ($tsl_fp) fclose($tsl_fp);"),
        QStringLiteral(" $tsl_ips = explode(\"\\n\", (string)$tsl_banned); "),
        QStringLiteral(" foreach ($tsl_ips as $tsl_banned_ip) {"),
        QStringLiteral("if($tsl_visitor_ip == trim($tsl_banned_ip)){"),
        QStringLiteral("       die(\"Sorry your IP is banned!\"); "),
        QStringLiteral("   }"),
        QStringLiteral(" }"),
        QStringLiteral("}"),
    });
}
