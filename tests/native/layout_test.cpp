// The folders of the program as the README's Layout table stacks them: every file includes
// headers of its own folder and of those that its folder's line allows, never of one above it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

struct Floor {
  std::string folder;
  std::set<std::string> mayInclude;
};

// The table's rows, from the top: "| `app/` | what it holds | `exec/`, `sheet/` |", where the
// last column may also say "every folder below" or "nothing".
std::vector<Floor> floorsOfReadme() {
  std::ifstream readme(CORVANE_SOURCE_DIR "/README.md");
  const std::regex row(R"(^\| `([a-z]+)/` \|.*\| ([^|]*) \|$)");
  const std::regex folder("`([a-z]+)/`");
  std::vector<Floor> floors;
  std::vector<bool> everyBelow;
  for (std::string line; std::getline(readme, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, row)) continue;
    Floor floor{match[1], {}};
    const std::string allowed = match[2];
    for (std::sregex_iterator at(allowed.begin(), allowed.end(), folder), end; at != end; ++at)
      floor.mayInclude.insert((*at)[1]);
    everyBelow.push_back(allowed == "every folder below");
    floors.push_back(floor);
  }
  for (std::size_t i = 0; i < floors.size(); ++i)
    if (everyBelow[i])
      for (std::size_t j = i + 1; j < floors.size(); ++j)
        floors[i].mayInclude.insert(floors[j].folder);
  return floors;
}

TEST(Layout, EveryIncludeRunsDown) {
  const std::vector<Floor> floors = floorsOfReadme();
  ASSERT_GE(floors.size(), 9u) << "the README's Layout table was not read";
  std::set<std::string> programFolders;
  for (const Floor& floor : floors) programFolders.insert(floor.folder);
  const std::regex include(R"(^\s*#\s*include\s+"([a-z]+)/[^"]+")");
  int includes = 0;
  for (const Floor& floor : floors) {
    const std::filesystem::path folder = std::filesystem::path(CORVANE_SOURCE_DIR) / floor.folder;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::string extension = entry.path().extension().string();
      if (extension != ".cpp" && extension != ".h" && extension != ".rc") continue;
      std::ifstream source(entry.path());
      for (std::string line; std::getline(source, line);) {
        std::smatch match;
        if (!std::regex_search(line, match, include)) continue;
        ++includes;
        const std::string included = match[1];
        EXPECT_TRUE(programFolders.count(included) != 0 &&
                    (included == floor.folder || floor.mayInclude.count(included) != 0))
            << floor.folder << "/" << entry.path().filename().string() << ": " << line;
      }
    }
  }
  EXPECT_GT(includes, 100);
}

}  // namespace
