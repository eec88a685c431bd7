#include "IPBanning.h"

#include "php_text.h"

QString IPBanning::get_php_code() const
{
    // A list that cannot be read bans no one: the script cannot tell a
    // banned visitor, and must not fail every submission for it.
    // Addresses are compared as the numbers they stand for, whatever way
    // each is written: an IPv4 visitor reaching a server on an IPv6 socket
    // (::ffff:192.0.2.1) is the IPv4 address, and a line that holds no
    // address (a byte order mark, a comment, a NUL, which inet_pton throws
    // on) bans no one. A list saved as UTF-16 (a text editor's "Unicode")
    // is read as its text: an ASCII letter stays, and any other leaves a
    // NUL that makes its line no address.
    QString code = php_text::lines({
        QStringLiteral("if (file_exists(\"blockedIPs.txt\"))"),
        QStringLiteral("{"),
        QStringLiteral(" $tsl_address = function ($tsl_text) {"),
        QStringLiteral("  $tsl_text = trim(str_replace(\"\\xEF\\xBB\\xBF\", \"\", (string)$tsl_text));"),
        QStringLiteral("  $tsl_bytes = strpos($tsl_text, \"\\0\") === false ? @inet_pton($tsl_text) : false;"),
        QStringLiteral(
            "  return ($tsl_bytes !== false && strlen($tsl_bytes) == 16 && strncmp($tsl_bytes, "
            "\"\\0\\0\\0\\0\\0\\0\\0\\0\\0\\0\\xFF\\xFF\", 12) == 0) ? substr($tsl_bytes, 12) : $tsl_bytes;"),
        QStringLiteral(" };"),
        QStringLiteral(" $tsl_visitor_ip = $tsl_address($_SERVER['REMOTE_ADDR'] ?? \"\");"),
        QStringLiteral(" $tsl_fp = @fopen(\"blockedIPs.txt\",\"r\"); "),
        QStringLiteral(" $tsl_banned = $tsl_fp ? @fread($tsl_fp, 1024*1024) : \"\";"),
        QStringLiteral(" if ($tsl_fp) fclose($tsl_fp);"),
        QStringLiteral(" $tsl_banned = (string)$tsl_banned;"),
        QStringLiteral(" $tsl_low = strncmp($tsl_banned, \"\\xFF\\xFE\", 2) == 0 ? 0 : (strncmp($tsl_banned, "
                       "\"\\xFE\\xFF\", 2) == 0 ? 1 : -1);"),
        QStringLiteral(" if ($tsl_low >= 0) {"),
        QStringLiteral("  $tsl_decoded = \"\";"),
        QStringLiteral("  for ($tsl_i = 2; $tsl_i + 1 < strlen($tsl_banned); $tsl_i += 2)"),
        QStringLiteral("   $tsl_decoded .= ($tsl_banned[$tsl_i + 1 - $tsl_low] === \"\\0\" && ord($tsl_banned[$tsl_i + "
                       "$tsl_low]) < 128) ? $tsl_banned[$tsl_i + $tsl_low] : \"\\0\";"),
        QStringLiteral("  $tsl_banned = $tsl_decoded;"),
        QStringLiteral(" }"),
        QStringLiteral(" $tsl_ips = preg_split(\"/\\r\\n?|\\n/\", $tsl_banned); "),
        QStringLiteral(" foreach ($tsl_ips as $tsl_banned_ip) {"),
        QStringLiteral("if($tsl_visitor_ip !== false && $tsl_visitor_ip === $tsl_address($tsl_banned_ip)){"),
    });
    code += php_text::answer_and_stop(QStringLiteral("\"Sorry your IP is banned!\""));
    return code
        + php_text::lines({
            QStringLiteral("   }"),
            QStringLiteral(" }"),
            QStringLiteral("}"),
        });
}
