#include "GeneratedForm.h"

#include "PhpRunner.h"

#include "generate/CPHP_script.h"
#include "generate/CSV.h"
#include "generate/Crecieving_vars.h"
#include "generate/cmail.h"
#include "model/globals.h"
#include "model/webpage.h"

#include <QRegularExpression>

GeneratedForm::GeneratedForm(const QString &method)
    : form(std::make_shared<CForm>())
{
    globals::reset();
    form->set_Method(method);
    globals::web_page()->selected_form = globals::rec_vars()->form = globals::csv_file()->form
        = globals::owner_mail()->form = globals::auto_mail()->form = form;
}

Field &GeneratedForm::add(const QString &name, const QString &type, const QString &posted)
{
    Field field;
    field.name = name;
    field.post_name = posted.isEmpty() ? name : posted;
    field.field_type = type;
    field.error_message = "Please enter a valid " + name.toLower();
    field.error_html = "<p class=\\\"error\\\">bad " + name + "</p>";
    return *form->fields()->Add(field, name);
}

void GeneratedForm::write(PhpRunner &runner, const QString &script)
{
    prefs().php_des = runner.path(script);
    globals::php_script()->prepare_script();
}

QByteArray GeneratedForm::logged_refusal(const QByteArray &errors)
{
    static const QRegularExpression line(
        QStringLiteral(R"(\A\[[^\]\n]*\] [^\n]*/index\.php: submission not processed: ([^\n]*)\n\z)"));
    const QRegularExpressionMatch match = line.match(QString::fromUtf8(errors));
    return match.hasMatch() ? match.captured(1).toUtf8() : errors;
}
