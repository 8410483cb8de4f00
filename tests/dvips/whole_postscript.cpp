// Prints "whole" or "not whole" for each PostScript file named, read in pieces of seven bytes as
// a pipe may give them, so that files made by the real TeX and dvips can be judged.
#include <cstdio>

#include "command/postscript_facts.h"

int main(int count, char** names) {
  for (int index = 1; index < count; ++index) {
    std::FILE* file = std::fopen(names[index], "rb");
    if (file == nullptr) return 2;
    PostScriptFacts facts;
    startPostScript(facts);
    char piece[7];
    for (std::size_t read; (read = std::fread(piece, 1, sizeof piece, file)) > 0;)
      readPostScript(facts, piece, read);
    endPostScript(facts);
    std::fclose(file);
    std::printf("%s\n", wholePostScript(facts) ? "whole" : "not whole");
  }
  return 0;
}
