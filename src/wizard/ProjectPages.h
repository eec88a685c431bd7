#pragma once

#include "model/ProjectWriter.h"

// The windows' share of a project: what the project file takes from the
// pages, and the save that the exit question, Save Project and Close run.
namespace ProjectPages {

// The texts the project file takes from the pages; a page never shown is
// created for it.
ProjectPageTexts texts();

// Asks for the file with the output page's save dialog and writes the
// project there. False when nothing was written: the dialog was cancelled,
// or the user has been told why.
bool save();

} // namespace ProjectPages
