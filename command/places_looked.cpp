#include "command/places_looked.h"

#include <span>

#include "base/text_format.h"
#include "command/program_lookup.h"
#include "resources/resource.h"

namespace {

ZERO_FILLED char placesText[PLACES_TEXT_SIZE];

// The default folders that this machine has, each once (ASCII case ignored); their count.
std::size_t defaultFolders(const DefaultFolder* places,
                           WidePathText (&folders)[MOST_DEFAULT_FOLDERS]) {
  std::size_t count = 0;
  for (const DefaultFolder* place = places; place->variable != nullptr; ++place) {
    if (count == MOST_DEFAULT_FOLDERS || !defaultFolder(*place, folders[count])) continue;
    std::size_t earlier = 0;
    while (earlier < count && !equalsIgnoringAsciiCase(folders[earlier], folders[count])) ++earlier;
    if (earlier == count) ++count;
  }
  return count;
}

// The folders, each followed by the suffix, separated by commas; each as a path field holds it,
// and left out when it has no such form.
void listFolders(char* list, std::size_t size, std::span<const WidePathText> folders,
                 const char* suffix) {
  list[0] = '\0';
  for (const WidePathText& wide : folders) {
    PathText folder;
    if (widePathToField(wide, folder) == 0)
      appendFormatted(list, size, "%s%s%s", {list[0] == '\0' ? "" : ", ", folder, suffix});
  }
}

// The string-table sentence of places with its texts filled, an empty line, and the advice.
const char* placesAndAdvice(int placesId, std::initializer_list<const char*> texts, int adviceId) {
  placesText[0] = '\0';
  appendStringText(placesText, "", placesId, texts);
  appendStringText(placesText, "\r\n\r\n", adviceId);
  return placesText;
}

}  // namespace

const char* dvipsPlacesLooked(const char* name) {
  WidePathText folders[MOST_DEFAULT_FOLDERS];
  char texLive[PATH_FIELD_SIZE + 32], miktex[MOST_DEFAULT_FOLDERS * PATH_FIELD_SIZE];
  // Without the variable, TeX Live's installer takes drive C:.
  std::size_t count = defaultFolders(TEX_LIVE_FOLDERS, folders);
  if (count == 0) joinWide(folders[count++], {L"C:\\texlive"});
  listFolders(texLive, sizeof texLive, {folders, count}, "\\<year>\\bin\\windows");
  listFolders(miktex, sizeof miktex, {folders, defaultFolders(MIKTEX_FOLDERS, folders)}, "");
  return placesAndAdvice(IDS_DVIPS_PLACES, {name, texLive, miktex}, IDS_DVIPS_ADVICE);
}

const char* ghostscriptPlacesLooked() {
  WidePathText folders[MOST_DEFAULT_FOLDERS];
  char list[MOST_DEFAULT_FOLDERS * PATH_FIELD_SIZE];
  listFolders(list, sizeof list, {folders, defaultFolders(GHOSTSCRIPT_FOLDERS, folders)}, "");
  return placesAndAdvice(IDS_GHOSTSCRIPT_PLACES, {list}, IDS_GHOSTSCRIPT_ADVICE);
}
