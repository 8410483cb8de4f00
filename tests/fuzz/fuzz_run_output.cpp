// Fuzz target: whatever bytes dvips or Ghostscript write, in pieces of any size, the kept lines
// stay within their slots and each cause found gives words that fit.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "command/run_report.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t piece = data[0] % 64 + 1;
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  --size;
  static KeptOutput kept;
  clearOutput(kept);
  for (std::size_t at = 0; at < size; at += piece)
    keepOutput(kept, bytes + at, size - at < piece ? size - at : piece);
  const int count = keptLineCount(kept);
  if (count < 0 || count > KEPT_LINES) __builtin_trap();
  for (int index = 0; index < count; ++index)
    if (std::strlen(keptLine(kept, index)) >= KEPT_LINE_SIZE) __builtin_trap();
  const Cause* found[MAX_CAUSES];
  const int causes = findCauses(kept, found);
  if (causes < 0 || causes > MAX_CAUSES) __builtin_trap();
  for (int index = 0; index < causes; ++index) {
    char before[CAUSE_WORD_SIZE], after[CAUSE_WORD_SIZE];
    causeWords(kept, *found[index], before, after);
    if (std::strlen(before) >= CAUSE_WORD_SIZE || std::strlen(after) >= CAUSE_WORD_SIZE)
      __builtin_trap();
  }
  return 0;
}
