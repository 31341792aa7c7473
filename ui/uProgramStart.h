#pragma once

// The units' start before any window exists: the debug channel, the settings
// ("InstallDir"), the localizer and the units' default texts, then the
// floating-point state for the whole run. Needs the application object.
void StartProgramUnits();
