#pragma once
// The plug-in's report dialog, shown at the end of a change. The plug-in writes Upgrade.txt itself
// when the user confirms with the check box ticked, but tells nobody whether it did, nor whether the
// file was written whole. So the host hands it a folder of its own whose Upgrade.txt is a named pipe:
// what the plug-in writes arrives whole in the host, which writes it to the project's folder with
// every write checked, through a temporary file, committed with the converted project.

#include <string>

#include "files.h"
#include "host.h"

namespace vivo::host {

enum class SummaryOutcome {
    kWritten,    // confirmed with the box ticked: `upgradeFile` holds the report
    kDeclined,   // confirmed with the box cleared
    kCancelled,  // Escape or Ctrl+C in the dialog
};

SummaryOutcome ShowSummary(LoadedPlugin& plugin, const std::string& projectName, AtomicFile& upgradeFile);

// The summary of the change just run, as Upgrade.txt would hold it, without showing the report dialog
// and without writing anything to the project: the dialog is confirmed without a terminal, the text
// received in a private folder that is removed again. Empty when the plug-in wrote nothing (its box
// was cleared earlier in this process).
std::string CaptureSummary(LoadedPlugin& plugin, const std::string& projectName);

}  // namespace vivo::host
