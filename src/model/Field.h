#pragma once

#include "Collection.h"

#include <QString>

#include <memory>

// One form element with its validation rule and its CSV, MySQL and upload
// settings.
class Field final
{
public:
    QString name;
    bool required = false;
    QString error_html;
    QString error_message;
    QString mysql_field;
    qint32 validation_type = 8;
    QString field_type;
    qint32 range_max = 0;
    qint32 range_operator1 = 6;
    qint32 range_operator2 = 6;
    qint32 range_min = 0;
    qint32 expression_type = 0;
    QString list_values;
    qint16 unused_int = 0;
    qint32 length_max = 0;
    qint32 length_min = 0;
    qint32 length_operator2 = 6;
    qint32 length_operator1 = 6;
    bool in_csv = true;
    bool in_mysql = true;
    double max_size = 0;
    QString upload_folder;
    bool is_date_field = false;
    QString upload_url = QStringLiteral("http://");
    QString sql_type;
    QString sql_default;
    QString sql_length;
    qint16 is_found = 0;
    QString post_name;
    // Whether the page lets a browser leave the element out of a
    // submission whatever its type (disabled, a select needing no choice);
    // read from the page each time, never saved.
    bool may_be_left_out = false;

    // The field this one must equal; the first read creates an empty one.
    const std::shared_ptr<Field> &compare_field();
    void set_compare_field(std::shared_ptr<Field> field) { m_compare_field = std::move(field); }

    // Allowed MIME types of an upload; the first read creates the list.
    const std::shared_ptr<StringCollection> &mime_types();
    void set_mime_types(std::shared_ptr<StringCollection> types) { m_mime_types = std::move(types); }

    // The required test; rebuilt while the field is required, else the last one.
    QString required_code();
    void set_required_code(const QString &text) { m_required_text = text; }

    // The rule's test, rebuilt from the rule kind; kinds without a generator
    // keep the last text.
    QString validation_code();
    void set_validation_code(const QString &text) { m_validation_text = text; }

private:
    std::shared_ptr<Field> m_compare_field;
    std::shared_ptr<StringCollection> m_mime_types;
    QString m_required_text;
    QString m_validation_text;
};
