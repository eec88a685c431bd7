#pragma once

#include <QString>

// Starts the wizard with the program's command line: an optional project
// file, possibly in double quotes. False when the program must end at once
// (the user has been told why).
bool start_wizard(const QString &command_line);

// Makes every page window known to the page frame.
void register_pages();
