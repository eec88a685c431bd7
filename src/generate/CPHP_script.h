#pragma once

#include <QString>

// Writes the whole PHP script into the preferences' script path.
class CPHP_script final
{
public:
    // The file is replaced only by a complete script: a failure (raised as
    // FileError) leaves any earlier file as it was.
    void prepare_script() const;

    // The script's text, as prepare_script writes it.
    QString script_text() const;
};
