#pragma once

#include <QString>

#include <memory>

class HTMLHelpViewer;

// The shared objects of the windows layer. Like those of model/globals.h,
// each is created by its first read and then lives for the run.
namespace globals {

// The help viewer behind every Help button and F1.
std::shared_ptr<HTMLHelpViewer> &help_viewer();

// The application's help file: the help collection in the program's folder
// unless set otherwise.
QString &app_help_file();

// Where a file dialog opens before any of its kind was used: the folder of
// the page when it is read from a file, else the user's home folder.
QString page_folder();

} // namespace globals
