// The programs' lines read for their causes, their files for pages and end, and the verdicts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "command/pdf_placing.h"
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
      // PSTricks's header, read by a Ghostscript that blocks transparency.
      {"\n\n%% WARNING: Transparency operations ignored - need to use -dALLOWPSTRANSPARENCY\n\n",
       IDS_CAUSE_TRANSPARENCY_IGNORED, CauseKind::Warning},
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
  // A cause's text in a line that its program did not begin, such as one that the document
  // prints, is no cause.
  for (const char* other : {"clearOutput(kept);\n", "The build did not succeed.\n",
                            "Page 2: dvips: Could not find figure file a.eps\n",
                            "Here: PDFA doesn't allow images with Interpolate true.\n"}) {
    clearOutput(kept);
    keepOutput(kept, other, std::strlen(other));
    EXPECT_EQ(findCauses(kept, found), 0) << other;
  }
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
      // A figure's own comments, data announced by its length, "(atend)", and a Control-D.
      {"%!PS-Adobe-2.0\n%%Pages: 1\n%%Page: 1 1\n%%BeginDocument: a.eps\n%%Pages: 3\n"
       "%%BeginDocument: b.eps\n%%EOF\n%%EndDocument\n%%EOF\n%%EndDocument\n%%EOF\n\x04",
       true},
      {"%!PS-Adobe-2.0\n%%Pages: 1\n%%Page: 1 1\n%%BeginDocument: a.eps\n%%EOF\n", false},
      {"%!PS-Adobe-2.0\n%%Pages: 2\n%%Page: 1 1\n%%BeginBinary: 11\r\n%%Page: 2 2\n"
       "%%BeginData: 1 Hex Lines\n%%Page: 2 2\n%%EOF\n",
       false},
      {"%!PS-Adobe-2.0\n%%Pages: (atend)\n%%Page: 1 1\n%%Trailer\n%%Pages: 2\n%%EOF\n", false},
      {"%!PS-Adobe-2.0\n%%Pages: (atend)\n%%Page: 1 1\n%%Trailer\n%%Pages: 1\n%%EOF\x1a\n", true},
  };
  for (const auto& file : files) {
    PostScriptFacts facts;
    startPostScript(facts);
    readPostScript(facts, file.text, std::strlen(file.text));
    endPostScript(facts);
    EXPECT_EQ(wholePostScript(facts), file.whole) << file.text;
  }
  // A name that holds a comma, as a fuzzer's input had it, is one name.
  clearBitmapFonts();
  for (const char* text : {"%DVIPSBitmapFont: Fa a,\n", "%DVIPSBitmapFont: Fb b\n"}) {
    PostScriptFacts facts;
    startPostScript(facts);
    readPostScript(facts, text, std::strlen(text));
  }
  EXPECT_STREQ(bitmapFonts(), "a,, b");
  EXPECT_FALSE(transparencyOperators());
  // Transparency asked for before it is used, which Ghostscript leaves out without a word.
  for (const char* text : {"/.setfillconstantalphas 1 def\n", "/.setfillconstantalpha where\n"}) {
    PostScriptFacts facts;
    startPostScript(facts);
    readPostScript(facts, text, std::strlen(text));
  }
  EXPECT_TRUE(transparencyOperators());
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

// A new PDF that cannot take the earlier one's place is written over it where its holder allows,
// else kept beside it; it is removed only once it is in the PDF's place.
TEST(PdfPlacing, AGoodPdfIsNeverThrownAway) {
  static std::string done;
  static unsigned succeeding;  // what the system does: 1 replace, 2 write over, 4 rename
  const PdfPlacing placing = {
      [](const char*, const char*) { return done += "replace ", (succeeding & 1) != 0; },
      [](const char*, const char*) { return done += "write ", (succeeding & 2) != 0; },
      [](const char*, const char*) { return done += "rename ", (succeeding & 4) != 0; },
      [](const char*) { return done += "remove ", true; }};
  const struct {
    unsigned succeeding;
    PdfPlace place;
    const char* done;
  } cases[] = {
      {7, PdfPlace::Replaced, "replace "},
      {6, PdfPlace::WrittenOver, "replace write remove "},
      {4, PdfPlace::KeptBeside, "replace write rename "},
      {0, PdfPlace::KeptAsMade, "replace write rename "},
  };
  for (const auto& c : cases) {
    done.clear();
    succeeding = c.succeeding;
    EXPECT_EQ(placeNewPdf("made", "paper.pdf", "paper.new.pdf", placing), c.place);
    EXPECT_EQ(done, c.done);
  }
  PathText name;
  ASSERT_TRUE(newPdfName("C:\\Papers\\paper.pdf", 1234, name));
  EXPECT_STREQ(name, "C:\\Papers\\paper.pdf.corvane-1234.tmp");
  std::uint32_t owner = 0;
  EXPECT_TRUE(newPdfOwner("PAPER.PDF.corvane-1234.TMP", "paper.pdf", owner));
  EXPECT_EQ(owner, 1234u);
  for (const char* other : {"paper.pdf.corvane-.tmp", "paper.pdf.corvane-99999999999.tmp",
                            "paper.pdf.corvane-12.tmp.pdf", "paper.pdf", "cvn12.tmp"})
    EXPECT_FALSE(newPdfOwner(other, "paper.pdf", owner)) << other;
  ASSERT_TRUE(keptPdfName("C:\\Papers\\paper.pdf", name));
  EXPECT_STREQ(name, "C:\\Papers\\paper.new.pdf");
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
