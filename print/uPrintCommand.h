#pragma once

#include <optional>

// Printing from the command line, without a window:
//   tessaro --print-to-pdf OUT.pdf [--sheets N] [--test-page] [CARD.tsx]
//   tessaro --print-to-printer NAME [--sheets N] [--test-page] [CARD.tsx]
// Call first thing in main(): returns the exit code when the command line
// asks for printing, nothing when the program should start as usual.
std::optional<int> RunPrintCommand(int &argc, char **argv);
