#pragma once

#include "common/InstallPaths.h"
#include "common/SitePaths.h"
#include "download/BlockTransfer.h"

#include <QByteArray>
#include <functional>

namespace velmora {

class MessageSink;

// What the catalogue and program updates need from the program around them.
struct UpdateContext {
    InstallPaths paths;
    SitePaths site;
    // The only message is the announcement of a program update.
    MessageSink& messages;
    // The site operator's public key (SignedFile); an update program signed otherwise never runs.
    QByteArray updateKey;
    // Starts the update program (a full path) detached, with no arguments; false when it did not
    // start.
    std::function<bool(const QString& program)> startProgram;
    // Closes the main window, which ends the program.
    std::function<void()> closeWindow;
    PollBudget budget{};
};

// Each version file on the site is fetched next to the installed one and compared as exact
// text; any difference counts as an update. All failures are silent.

// A different catalogue version brings the site's catalogue database, which the next list fill
// reads; the offered version is recorded as installed even when the database did not arrive.
void UpdateCatalogue(const UpdateContext& context);

// A different program version brings the update program, which is installed
// (InstallProgramUpdate) when it arrived in this run.
void UpdateProgram(const UpdateContext& context);

// Announces the update, starts the update program, records the offered version as installed
// and closes the window. Does nothing unless the update program is there and carries the
// operator's signature; one that does not is deleted.
void InstallProgramUpdate(const UpdateContext& context);

} // namespace velmora
