#include "Crecieving_vars.h"

#include "php_text.h"

#include "model/CForm.h"
#include "model/globals.h"

QString Crecieving_vars::posted_item(const Field &field) const
{
    return php_text::request_item(
        QStringLiteral("_") + (form ? form->Method() : QStringLiteral("POST")), field.post_name);
}

QString Crecieving_vars::get_recieving_code() const
{
    using php_text::line;
    QString code;
    if (form->is_send_ip)
        code += line(QStringLiteral("@$tsl_ip= $_SERVER['REMOTE_ADDR'];"));
    for (const auto &entry : *form->fields()) {
        const Field &field = *entry.value;
        // A nameless field has no variable to receive it in.
        if (globals::trim_blanks(field.name).isEmpty())
            continue;
        // Values arrive as posted, and always as text: a missing value or an
        // array where one value belongs becomes "".
        if (field.field_type == QLatin1String("multi select")) {
            const QString var = QLatin1Char('$') + field.name;
            code += line(
                QStringLiteral("@") + var + QStringLiteral(" = ") + posted_item(field) + QStringLiteral(" ?? null;"));
            code += line(QStringLiteral("@%1 = (is_array(%1) && %1 === array_filter(%1, 'is_string')) ? "
                                        "implode(\"&\" , %1) : \"\";")
                             .arg(var));
        } else if (field.field_type == QLatin1String("file")) {
            const QString n = globals::trim_blanks(field.name);
            const QString posted = globals::trim_blanks(field.post_name);
            const auto part
                = [&](const QString &suffix, const QString &entry, const QString &test, const QString &empty) {
                      const QString item = php_text::request_item(QStringLiteral("_FILES"), posted, entry);
                      code += line(QStringLiteral("@$") + n + QLatin1Char('_') + suffix + QStringLiteral(" = ") + test
                          + QLatin1Char('(') + item + QStringLiteral(" ?? null) ? ") + item + QStringLiteral(" : ")
                          + empty + QLatin1Char(';'));
                  };
            const QString text = QStringLiteral("is_string");
            const QString none = QStringLiteral("\"\"");
            part(QStringLiteral("Name"), QStringLiteral("name"), text, none);
            part(QStringLiteral("Size"), QStringLiteral("size"), QStringLiteral("is_int"), QStringLiteral("0"));
            part(QStringLiteral("Temp"), QStringLiteral("tmp_name"), text, none);
            part(QStringLiteral("Mime_Type"), QStringLiteral("type"), text, none);
        } else {
            const QString item = posted_item(field);
            code += line(QStringLiteral("@$") + field.name + QStringLiteral(" = is_string(") + item
                + QStringLiteral(" ?? null) ? ") + item + QStringLiteral(" : \"\";"));
        }
    }
    return code;
}
