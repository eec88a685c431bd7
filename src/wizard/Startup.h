#pragma once

#include <QString>

// Starts the wizard with the program's command line: an optional project
// file, possibly in double quotes. A project that is missing or cannot be
// read is reported, and page 1 shows without it.
void start_wizard(const QString &command_line);

// Makes every page window known to the page frame.
void register_pages();
