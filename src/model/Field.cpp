#include "Field.h"

#include "generate/VExpression.h"
#include "generate/VList.h"
#include "generate/VRange.h"
#include "generate/Vcompare.h"
#include "generate/Vfile.h"
#include "generate/php_text.h"
#include "generate/vlength.h"
#include "globals.h"

const std::shared_ptr<Field> &Field::compare_field()
{
    if (!m_compare_field)
        m_compare_field = std::make_shared<Field>();
    return m_compare_field;
}

const std::shared_ptr<StringCollection> &Field::mime_types()
{
    if (!m_mime_types)
        m_mime_types = std::make_shared<StringCollection>();
    return m_mime_types;
}

QString Field::required_code()
{
    if (required) {
        // A file field's value is the name of the file chosen.
        const QString value
            = field_type == QLatin1String("file") ? globals::trim_blanks(name) + QStringLiteral("_Name") : name;
        m_required_text = php_text::line(QStringLiteral("if (strlen($") + value + QStringLiteral(") == 0 )"))
            + php_text::check_body(*this);
    }
    return m_required_text;
}

namespace {
template<typename Validator> QString generate(Field *field)
{
    Validator validator;
    validator.field = field;
    return validator.get_php_code();
}
} // namespace

QString Field::validation_code()
{
    switch (validation_type) {
    case 0:
        m_validation_text = generate<VRange>(this);
        break;
    case 1:
        m_validation_text = generate<Vcompare>(this);
        break;
    case 2:
        m_validation_text = generate<VExpression>(this);
        break;
    case 3:
        m_validation_text = generate<VList>(this);
        break;
    case 4:
        m_validation_text = generate<vlength>(this);
        break;
    case 7:
        m_validation_text = generate<Vfile>(this);
        break;
    case 8:
        m_validation_text.clear();
        break;
    default:
        break; // kinds without a generator keep what was stored
    }
    return m_validation_text;
}
