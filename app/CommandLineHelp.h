// What a terminal user asks the program with "--help" and "--version": answered on standard
// output before any window or display is needed.
#pragma once

#include "base/String.h"

enum HELP_REQUEST : int
{
    HELP_NONE,
    HELP_USAGE,   // "--help" or "-h"
    HELP_VERSION, // "--version"
};

// The first request among the arguments (the program's name not included); "--" ends the
// options, so a file named "--help" still opens after it. Anything else is no request.
HELP_REQUEST FindHelpRequest(const CStringArray& args);

// The usage: the paths, "|"-joined selections, the four switches and the two requests.
CString GetUsageText();
// "Tagwright" and the version, on one line.
CString GetVersionText();
