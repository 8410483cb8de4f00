// Where the program's libraries may come from.
#pragma once

// Takes the current directory out of the library search and, where the system can, limits the
// default search to the system directory alone. Called first at start-up, before anything loads
// a library by name.
void restrictLibrarySearch();
