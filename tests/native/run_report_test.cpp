// The programs' lines read for their causes, their files for pages and end, and the verdicts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "base/strings.h"
#include "command/postscript_facts.h"
#include "command/run_report.h"
#include "command/run_verdict.h"
#include "resources/resource.h"

namespace {

// The lines as TeX Live 2022's dvips and Ghostscript 10.00 print them on this machine, each with
// the cause that Corvane reads in it.
TEST(RunReport, TheProgramsOwnLinesGiveTheirCauses) {
  struct Case {
    const char* output;
    int sentence;
    CauseKind kind;
  };
  const Case cases[] = {
      {"dvips: DVI file can't be opened: nosuch.dvi: No such file or directory\n", IDS_CAUSE_NO_DVI,
       CauseKind::Failure},
      {"dvips: ! Bad DVI file: first byte not preamble\n", IDS_CAUSE_BAD_DVI, CauseKind::Failure},
      {"dvips: ! unexpected eof on DVI file\n", IDS_CAUSE_BAD_DVI, CauseKind::Failure},
      {"dvips: Could not find figure file missing.eps; continuing.\n", IDS_CAUSE_FIGURE,
       CauseKind::Warning},
      {"dvips: ! End of document before first specified page\n", IDS_CAUSE_PAGE_RANGE,
       CauseKind::Failure},
      {"dvips: no match for papersize\n", IDS_CAUSE_PAPER, CauseKind::Warning},
      {"dvips: ! Couldn't find header file: nosuch.pro\n", IDS_CAUSE_HEADER, CauseKind::Failure},
      {"dvips: ! Couldn't find font file nosuchfont.pfb\n", IDS_CAUSE_FONT_FILE,
       CauseKind::Failure},
      {"dvips: ! couldn't open PostScript file\n", IDS_CAUSE_FILE_HELD, CauseKind::Failure},
      {"GPL Ghostscript 10.00.0: **** Could not open the file /nonexist/x.pdf .\r\n"
       "**** Unable to open the initial device, quitting.\r\n",
       IDS_CAUSE_FILE_HELD, CauseKind::Failure},
      {"Error: /undefined in .setopacityalpha\nOperand stack:\n   0.5\n", IDS_CAUSE_TRANSPARENCY,
       CauseKind::Failure},
      {"Error: /undefined in .setfillconstantalpha\n", IDS_CAUSE_TRANSPARENCY, CauseKind::Failure},
      {"Error: /invalidfileaccess in --file--\n", IDS_CAUSE_SAFE_MODE, CauseKind::Failure},
      // A notice that a fresh MiKTeX prints on every run, which then works as usual.
      {"dvips: major issue: So far, you have not checked for MiKTeX updates.\n",
       IDS_CAUSE_MIKTEX_UPDATES, CauseKind::Warning},
      // One problem, one cause: the font makers' complaint and dvips's stand-in are the same.
      {"mktexpk: don't know how to create bitmap font for missingfont.\n"
       "dvips: PK font missingfont not found; using cmr10\n",
       IDS_CAUSE_FONT_REPLACED, CauseKind::Warning},
  };
  static KeptOutput kept;
  for (const Case& c : cases) {
    clearOutput(kept);
    keepOutput(kept, c.output, std::strlen(c.output));
    const Cause* found[MAX_CAUSES];
    ASSERT_EQ(findCauses(kept, found), 1) << c.output;
    EXPECT_EQ(found[0]->sentence, c.sentence) << c.output;
    EXPECT_EQ(found[0]->kind, c.kind) << c.output;
  }
  char before[CAUSE_WORD_SIZE], after[CAUSE_WORD_SIZE];
  const Cause* found[MAX_CAUSES];
  findCauses(kept, found);
  causeWords(kept, *found[0], before, after);
  EXPECT_STREQ(before, "missingfont");
  EXPECT_STREQ(after, "cmr10");
  clearOutput(kept);
  EXPECT_EQ(findCauses(kept, found), 0);
}

// The bitmap fonts, pages and end of a PostScript file as dvips wrote it here, read in pieces of
// any size: each font named once, in the order they come.
TEST(RunReport, PostScriptIsReadForBitmapFontsPagesAndEnd) {
  const std::string postScript =
      "%!PS-Adobe-2.0\n%%Creator: dvips(k) 2022.1\n%%Pages: 2\n%%EndProlog\n%%BeginSetup\n"
      "%DVIPSBitmapFont: Fa missingfont 10 5\n/Fa 5 116 df<7FFF>I\n%EndDVIPSBitmapFont\r\n"
      "%DVIPSBitmapFont: Fb logo10 10 7\r\n%EndDVIPSBitmapFont\n"
      "% %DVIPSBitmapFont: Fc notacomment 10 1\n"
      "%DVIPSBitmapFont: Fd missingfont 12 5\n%%EndSetup\n%%Page: 1 1\n%%Page: 2 2\n"
      "%%Trailer\n%%EOF\n";
  for (std::size_t piece : {std::size_t{1}, std::size_t{7}, postScript.size()}) {
    clearBitmapFonts();
    PostScriptFacts facts;
    startPostScript(facts);
    for (std::size_t at = 0; at < postScript.size(); at += piece)
      readPostScript(facts, postScript.data() + at, std::min(piece, postScript.size() - at));
    endPostScript(facts);
    EXPECT_STREQ(bitmapFonts(), "missingfont, logo10") << piece;
    EXPECT_TRUE(wholePostScript(facts)) << piece;
  }
  // What dvips leaves after a fatal error, a run stopped half-way, and Encapsulated PostScript.
  const struct {
    const char* text;
    bool whole;
  } files[] = {
      {"%!PS-Adobe-2.0\n%%Pages: 5\n%%EndProlog\nuserdict /end-hook known{end-hook}if\n%%EOF\n",
       false},
      {"%!PS-Adobe-2.0\n%%Pages: 5\n%%Page: 1 1\n%%Page: 2 2\n%%Trailer\n%%EOF\n", false},
      {"%!PS-Adobe-2.0\n%%Pages: 1\n%%Page: 1 1\nshowpage\n", false},
      {"%!PS-Adobe-2.0 EPSF-2.0\n%%BoundingBox: 0 0 10 10\n%%Trailer\n%%EOF", true},
  };
  for (const auto& file : files) {
    PostScriptFacts facts;
    startPostScript(facts);
    readPostScript(facts, file.text, std::strlen(file.text));
    endPostScript(facts);
    EXPECT_EQ(wholePostScript(facts), file.whole) << file.text;
  }
  EXPECT_TRUE(pdfTailEnded("endobj\nstartxref\n1234\n%%EOF\n", 28));
  EXPECT_FALSE(pdfTailEnded("endobj\nstream\n", 14));
}

// The verdicts on what dvips and Ghostscript did, whatever their exit codes say.
TEST(RunVerdict, FromWhatTheProgramsDid) {
  // started, stopped, exit code, fatal line, files expected, written, whole, worth saying
  const DvipsRun clean = {true, false, 0, false, true, 1, true, false};
  const struct {
    DvipsRun run;
    Verdict verdict;
  } dvipsCases[] = {
      {clean, Verdict::Done},
      {{true, false, 1, true, true, 1, true, true}, Verdict::Failed},  // fatal, file left
      {{true, false, 0xC000013A, false, true, 1, true, false}, Verdict::Failed},  // Ctrl+C
      {{true, true, 0, false, true, 1, true, false}, Verdict::Failed},            // window closed
      {{true, false, 0, false, true, 1, false, false}, Verdict::Failed},          // no page, short
      {{true, false, 1, false, true, 0, true, false}, Verdict::Failed},           // nothing written
      {{false, false, 0, false, true, 0, true, false}, Verdict::Failed},          // not started
      {{true, false, 0, false, true, 1, true, true}, Verdict::Warned},            // MiKTeX's notice
      {{true, false, 1, false, true, 1, true, true}, Verdict::Warned},            // missing figure
      {{true, false, 1, false, false, 0, true, false}, Verdict::Warned},          // -f: no file
  };
  for (const auto& c : dvipsCases) EXPECT_EQ(dvipsVerdict(c.run), c.verdict);
  // started, stopped, exit code, unrecoverable, purpose missed, written, ended, worth saying
  const struct {
    GhostscriptRun run;
    Verdict verdict;
  } ghostscriptCases[] = {
      {{true, false, 0, false, false, true, true, false}, Verdict::Done},
      {{true, false, 0, false, false, true, true, true}, Verdict::Warned},
      {{true, false, 1, true, false, true, true, true}, Verdict::Failed},
      {{true, false, 0, true, false, true, true, false}, Verdict::Failed},
      {{true, false, 0, false, true, true, true, true}, Verdict::Failed},
      {{true, false, 0, false, false, true, false, false}, Verdict::Failed},
      {{false, false, 0, false, false, false, false, false}, Verdict::Failed},
  };
  for (const auto& c : ghostscriptCases) EXPECT_EQ(ghostscriptVerdict(c.run), c.verdict);
}

// Only the last lines are kept, whole lines each up to its length, in the order they came.
TEST(RunReport, KeepsTheLastLinesInOrder) {
  static KeptOutput kept;
  clearOutput(kept);
  for (int line = 1; line <= KEPT_LINES + 50; ++line) {
    const std::string text = "line " + std::to_string(line) + "\r\n";
    // Pipes give bytes, not lines: each comes in two pieces.
    keepOutput(kept, text.c_str(), 3);
    keepOutput(kept, text.c_str() + 3, text.size() - 3);
  }
  keepOutput(kept, "open", 4);
  ASSERT_EQ(keptLineCount(kept), KEPT_LINES);
  EXPECT_STREQ(keptLine(kept, 0), "line 52");
  EXPECT_STREQ(keptLine(kept, KEPT_LINES - 2), "line 250");
  EXPECT_STREQ(keptLine(kept, KEPT_LINES - 1), "open");
  const std::string longLine(1000, 'x');
  keepOutput(kept, longLine.c_str(), longLine.size());
  EXPECT_EQ(std::strlen(keptLine(kept, KEPT_LINES - 1)), KEPT_LINE_SIZE - 1);
  clearOutput(kept);
  EXPECT_EQ(keptLineCount(kept), 0);
}

}  // namespace

// Every text of the string table with places, and how many texts its callers fill them with: a
// place left empty says nothing ("while making ."), and a text whose places change must change
// its callers too.
TEST(StringTable, EveryPlaceIsFilled) {
  const std::map<int, int> filledWith = {{IDS_DVIPS_PLACES, 3},
                                         {IDS_GHOSTSCRIPT_PLACES, 1},
                                         {IDS_DVIPS_FAILED, 1},
                                         {IDS_DVI_NOT_FOUND, 1},
                                         {IDS_NO_POSTSCRIPT, 1},
                                         {IDS_GHOSTSCRIPT_FAILED, 1},
                                         {IDS_RUNS_DVIPS, 1},
                                         {IDS_RUNS_GHOSTSCRIPT, 1},
                                         {IDS_DVIPS_MISSING, 1},
                                         {IDS_GHOSTSCRIPT_MISSING, 1},
                                         {IDS_PDF_SWITCHES, 1},
                                         {IDS_GHOSTSCRIPT_WROTE_NOTHING, 1},
                                         {IDS_CAUSE_FIGURE, 2},
                                         {IDS_LAST_LINES, 1},
                                         {IDS_EXIT_CODE, 2},
                                         {IDS_FILE_HELD_OPEN, 1},
                                         {IDS_FOLDER_NOT_WRITABLE, 1},
                                         {IDS_NO_PROGRAM_FOR_RESULT, 1},
                                         {IDS_CAUSE_FONT_REPLACED, 2},
                                         {IDS_CAUSE_BITMAP_FONTS, 1},
                                         {IDS_POSTSCRIPT_UNFINISHED, 1},
                                         {IDS_PROGRAM_STOPPED, 2},
                                         {IDS_EARLIER_PDF_KEPT, 1},
                                         {IDS_FILE_READ_ONLY, 1},
                                         {IDS_FOLDER_MISSING, 1},
                                         {IDS_PDF_NOT_REPLACED, 1},
                                         {IDS_UNKNOWN_SWITCH, 1},
                                         {IDS_UNKNOWN_PURPOSE, 1},
                                         {IDS_SECOND_FILE, 1},
                                         {IDS_FILE_MADE, 1},
                                         {IDS_FILE_HELD_OPEN_FOR_COMMAND, 1},
                                         {IDS_NO_COMMAND, 1},
                                         {IDS_SEVERAL_WORDS, 1}};
  for (int id = 0; id < 1000; ++id) {
    const std::string text = loadResourceString(id);
    int places = 0;
    for (std::size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s", at + 2))
      ++places;
    const auto found = filledWith.find(id);
    SCOPED_TRACE(text);
    EXPECT_GE(found != filledWith.end() ? found->second : 0, places);
  }
}
