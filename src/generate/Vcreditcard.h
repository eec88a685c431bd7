#pragma once

#include <QString>

// The card-number check function (Luhn) that the script declares once.
class Vcreditcard final
{
public:
    QString CreditCardFunction();
    bool is_Add_CreditFunction() const { return m_is_added; }

private:
    QString m_text;
    bool m_is_added = false;
};
