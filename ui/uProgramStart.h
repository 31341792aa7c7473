#pragma once

// The units' start before any window exists: the debug channel, the settings
// ("InstallDir"), the localizer and the units' default texts, then the
// floating-point state for the whole run. Needs the application object.
void StartProgramUnits();

class TMaster;
class TTerminationSignals;

// Logout, shutdown, a closed terminal (the signals) and the end of the
// desktop session close the window as its own close button would, so the
// program ends saving what it saves then; only the question whether to save
// to the card's file, which nobody could answer, is left out.
void CloseOnRequestsToEnd(TMaster &window, const TTerminationSignals &requests);

struct TCommandLine;

// Shows what the command line names: the card file, then the contact to
// import onto it. A vCard file in the card file's place, as a file manager's
// "Open with" passes it, is imported rather than opened.
void OpenCommandLineFiles(TMaster &window, const TCommandLine &commandLine);
