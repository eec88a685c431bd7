#pragma once

#include "fields.h"

#include <QByteArray>
#include <QString>

#include <memory>

// One HTML form of the page.
class CForm final
{
public:
    qint32 date_format = 0;
    bool is_send_ip = true;
    bool is_date = false;
    // The character set a browser submits the form in, as the Encoding
    // Standard names it: the page's, or the one its accept-charset names.
    QByteArray encoding = QByteArrayLiteral("UTF-8");
    // False when neither the form nor its page names that character set:
    // the browser then posts in `encoding` (its own default), or in UTF-8
    // where the server's header says so.
    bool encoding_declared = true;

    void Change_action() { }

    const QString &Method() const { return m_method; }
    void set_Method(const QString &method) { m_method = method; }
    const QString &Action() const { return m_action; }
    void set_Action(const QString &action) { m_action = action; }
    const QString &FormName() const { return m_name; }
    void set_FormName(const QString &name) { m_name = name; }

    // The form's own collection (not a copy); created on first use.
    const std::shared_ptr<::fields> &fields();
    void set_fields(std::shared_ptr<::fields> collection) { m_fields = std::move(collection); }

private:
    QString m_method;
    QString m_action;
    QString m_name;
    std::shared_ptr<::fields> m_fields;
};
