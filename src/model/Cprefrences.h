#pragma once

#include <QString>

// The project preferences, one value per key of the project file's
// preferences section.
class Cprefrences final
{
public:
    bool is_autoresponde = false;
    bool is_csv = false;
    QString php_des;
    QString script_name;
    QString des_folder;
    bool is_mysql = false;
    bool is_email = false;
    QString success_page;
    QString success_path;
    QString error_page;
    QString error_path;
    bool is_embeded_result_page = true;
    QString header_path;
    QString footer_path;
    QString header_img;
    QString footer_img;
    bool is_upload = false;
    bool is_header = false;
    bool is_footer = false;
    bool is_creditcard = false;
    QString success_message;
    bool is_create_tble = false;
};
