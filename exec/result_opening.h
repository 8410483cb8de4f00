// Opening a run's result, a PDF or PostScript file, with the program that the user's shell
// associates with its type.
#pragma once

#include "exec/run_messages.h"

// Opens result; where that fails, the messages say why.
void openResult(const char* result, const RunMessages& to);
