#pragma once

#include "model/Collection.h"
#include "model/ProjectWriter.h"

#include <QString>

#include <optional>

// The windows' share of a project: what the project file takes from the
// pages, and the save that the exit question, Save Project and Close run.
namespace ProjectPages {

// The texts the project file takes from the pages; a page never shown is
// created for it. A page not shown in this run stands for what a reopened
// project saved for it, as its refill would show it.
ProjectPageTexts texts();

// What a reopened project saved of the owner-mail page beyond its mail;
// none when the file does not hold it.
struct SavedOwnerPage
{
    bool send_ip = true;
    QString message;
};
std::optional<SavedOwnerPage> saved_owner_page();
// The auto-responder's body from its saved lines, as its box shows it.
QString saved_auto_message(const StringCollection &lines);

// Asks for the file with the output page's save dialog and writes the
// project there. False when nothing was written: the dialog was cancelled,
// or the user has been told why.
bool save();

} // namespace ProjectPages
