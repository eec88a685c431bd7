#pragma once

#include <QString>

// The one setting kept between runs: whether the introduction page is shown.
namespace ini_variables {

// 1: the introduction page is not shown.
inline qint16 hide_start = 0;

// wizard.ini in the user's configuration folder (the program's folder may
// not be writable).
QString wizard_ini_path();

// Reads the file's first value into hide_start when the file exists; a value
// that is not a number counts as 0. Returns whether the file was there.
bool read_wizard_ini();

// Writes hide_start as the one line " n " (raises FileError).
void write_wizard_ini();

} // namespace ini_variables
