// The field's program as it stands when it names a file, else what the lookup finds for a bare
// name; a program found named as a path field holds it.
#include "command/dvips_to_run.h"

#include "command/command_words.h"
#include "paths/path_system.h"

bool dvipsThatWillRun(const char* field, DvipsToRun& dvips) {
  programOfField(field, dvips.typed, sizeof dvips.typed);
  dvips.path[0] = L'\0';
  dvips.lookedUpInVain = false;
  const std::uint32_t length = shortPathName(dvips.typed, dvips.shortForm, sizeof dvips.shortForm);
  if (length != 0 && length < sizeof dvips.shortForm)
    return widePathName(dvips.typed, dvips.path, PATH_FIELD_SIZE) != 0;
  dvips.shortForm[0] = '\0';
  if (!namesNoFolder(dvips.typed) || dvips.typed[0] == '\0') return false;
  dvips.lookedUpInVain = !findDvips(dvips.typed, dvips.path);
  if (dvips.lookedUpInVain) dvips.path[0] = L'\0';
  return !dvips.lookedUpInVain;
}

void programForCommand(const wchar_t* found, PathText& program) {
  if (widePathToField(found, program) != 0 && widePathToField(fileNameOf(found), program) != 0)
    program[0] = '\0';
}
