// Putting a new PDF in place with the system's file operations.
#pragma once

#include <windows.h>

#include "command/pdf_placing.h"

extern const PdfPlacing systemPdfPlacing;
// Why the last replacement failed, as the system said.
DWORD pdfReplaceError();

// Removes the new files that runs of Corvane which no longer run left beside pdf.
void removeLeftNewPdfs(const char* pdf);
