#include "Vcreditcard.h"

#include "php_text.h"

QString Vcreditcard::CreditCardFunction()
{
    // Anything but digits fails at once (PHP 8 would throw on arithmetic with
    // a dash), and the sum starts at 0 instead of an undefined variable.
    m_text = php_text::lines({
        QStringLiteral("function validate_cardnum($cardnum)"),
        QStringLiteral("{"),
        QStringLiteral(" if (!is_string($cardnum) || !preg_match('/\\A[0-9]+\\z/', $cardnum))"),
        QStringLiteral("   return false;"),
        QStringLiteral(" $checksum=0;"),
        QStringLiteral(" $checkdigit=substr($cardnum,-1);"),
        QStringLiteral(" $remainingcardnum=substr($cardnum,0,strlen($cardnum)-1);"),
        QStringLiteral(" $i=0;"),
        QStringLiteral(" while($i < strlen($remainingcardnum))"),
        QStringLiteral(" {"),
        QStringLiteral("   if($i%2==0)"),
        QStringLiteral("     $remaing_array[$i]=substr($remainingcardnum,($i+1)*-1,1) * 2;"),
        QStringLiteral("   else"),
        QStringLiteral("     $remaing_array[$i]=substr($remainingcardnum,($i+1)*-1,1);"),
        QString(),
        QStringLiteral("  if($remaing_array[$i]>=10)"),
        QStringLiteral("     $checksum=$checksum+1;"),
        QString(),
        QStringLiteral("  @$checksum=$checksum+($remaing_array[$i]%10);"),
        QStringLiteral("  $i++;"),
        QStringLiteral(" }"),
        QStringLiteral("  @$calculatedcheckdigit=(10-($checksum%10))%10;"),
        QStringLiteral("  if( $calculatedcheckdigit==$checkdigit)"),
        QStringLiteral("    return true;"),
        QStringLiteral("  else"),
        QStringLiteral("    return false;"),
        QStringLiteral("}"),
    });
    return m_text;
}
