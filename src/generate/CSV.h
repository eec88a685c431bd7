#pragma once

#include <QString>

#include <memory>

class CForm;

// The CSV action: appends every submission as one record to a data file.
class CSV final
{
public:
    QString separator = QStringLiteral(",");
    QString filename;
    bool unused_flag = true;
    QString EndLine = QStringLiteral("\\n"); // PHP escape text, not a line break
    bool show_errors = true;
    std::shared_ptr<CForm> form;

    QString get_csv_code() const;
};
