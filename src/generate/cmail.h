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

    // The body's lines as PHP string text; created on first read. Every
    // line but the last ends in "\n"; a field's placeholder #name# stands
    // as $name, followed by its closing "#" only where the next character is
    // "#" or would otherwise lengthen the name.
    const std::shared_ptr<StringCollection> &message_lines();
    // Makes the message lines from a body as typed: each #name# of a field
    // of the form (or #name_URL# of an upload) becomes a reference, any
    // other "#" stays, double quotes become single quotes; an empty last
    // line is left out.
    void set_message(const QString &body);
    // The owner page's recipients, keyed by address; created on first read.
    const std::shared_ptr<StringCollection> &recipients();

    // The block that sends the mail. A mail not sent is logged; with
    // `fails_submission` it fails the submission as well (through the
    // script's failure function).
    QString get_txtMail_code(bool fails_submission = false);

private:
    std::shared_ptr<StringCollection> m_message_lines;
    std::shared_ptr<StringCollection> m_recipients;
};
