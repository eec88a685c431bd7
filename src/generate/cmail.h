#pragma once

#include "model/Collection.h"

#include <QString>

#include <memory>

class CForm;

// One mail the script sends: to the form owner, or the auto-response to the
// visitor.
class cmail final
{
public:
    QString sender;
    bool is_autoresponde = false;
    QString email_to;
    std::shared_ptr<CForm> form;
    bool is_multiRecipients = false;
    bool is_GeneericEmail = false;
    QString subject;

    // The body's lines as PHP string text; created on first read.
    const std::shared_ptr<StringCollection> &message_lines();
    // The owner page's recipients, keyed by address; created on first read.
    const std::shared_ptr<StringCollection> &recipients();

    QString get_txtMail_code();

private:
    std::shared_ptr<StringCollection> m_message_lines;
    std::shared_ptr<StringCollection> m_recipients;
};
