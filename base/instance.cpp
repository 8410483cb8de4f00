// The program's module instance, apart from the string table so that test programs that link
// the loader can give it their own.
#include "base/instance.h"

HINSTANCE appInstance;
