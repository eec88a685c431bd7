#include "fields.h"

std::shared_ptr<Field> fields::Add(Field &source, const QString &key)
{
    try {
        auto copy = std::make_shared<Field>();
        copy->name = source.name;
        copy->required = source.required;
        copy->error_html = source.error_html;
        copy->error_message = source.error_message;
        copy->mysql_field = source.mysql_field;
        copy->validation_type = source.validation_type;
        copy->field_type = source.field_type;
        copy->range_max = source.range_max;
        copy->range_operator1 = source.range_operator1;
        copy->range_operator2 = source.range_operator2;
        copy->range_min = source.range_min;
        copy->expression_type = source.expression_type;
        copy->set_compare_field(source.compare_field());
        copy->list_values = source.list_values;
        copy->unused_int = source.unused_int;
        copy->length_max = source.length_max;
        copy->length_min = source.length_min;
        copy->length_operator2 = source.length_operator2;
        copy->length_operator1 = source.length_operator1;
        copy->in_csv = source.in_csv;
        copy->in_mysql = source.in_mysql;
        copy->sql_type = source.sql_type;
        copy->sql_default = source.sql_default;
        copy->sql_length = source.sql_length;
        copy->max_size = source.max_size;
        copy->set_mime_types(source.mime_types());
        copy->upload_folder = source.upload_folder;
        copy->is_date_field = source.is_date_field;
        copy->upload_url = source.upload_url;
        copy->set_validation_code(source.validation_code());
        copy->set_required_code(source.required_code());
        copy->post_name = source.post_name;
        copy->may_be_left_out = source.may_be_left_out;
        m_items.Add(copy, key);
        return copy;
    } catch (const std::exception &) {
        return nullptr;
    }
}
