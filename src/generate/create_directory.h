#pragma once

#include <QString>

// The folder-maker function that the script declares once when it stores
// uploads.
class create_directory final
{
public:
    QString get_code() const;
};
