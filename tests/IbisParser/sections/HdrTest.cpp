// The file header: version strings, file-name rules, duplicates, reserved
// words, multi-line texts and the required keywords.
#include <gtest/gtest.h>

#include <string>

#include "IbisParser/Parse.h"
#include "IbisParser/base/ParseContext.h"
#include "IbisParser/sections/Hdr.h"
#include "tests/IbisParser/CheckerFiles.h"

namespace {

using Hdr = CheckerFiles;

// A file that starts with `header` and ends with a component and [End].
std::string File(const std::string& header) { return header + MinimalComponent() + "[End]\n"; }

}  // namespace

TEST_F(Hdr, VersionSetsTheKeywordSetAndIllegalOnesLeaveItAsItWas) {
  // [Algorithmic Model] exists from 5.0 on: a file declaring 4.2 does not know it.
  EXPECT_NE(Check(File(Header("4.2") + "[Model] m\n[Algorithmic Model]\n[End Algorithmic Model]\n"))
                .find("Invalid Keyword: Algorithmic Model"),
            std::string::npos);
  PARSE_CONTEXT ctx;
  std::string out = CheckOn(ctx, Header("4.3") + "[Receiver Thresholds]\n[End]\n");
  // Read with the 4.2 set, where [Receiver Thresholds] is a model keyword: outside a model here.
  EXPECT_EQ(out,
            "ERROR (line    1) - Illegal IBIS_Version '4.3'.\n"
            "WARNING (line    4) - [Receiver Thresholds] stands outside a [Model]\n");
  EXPECT_EQ(ctx.ibisVersion, 4);  // as detected from the file's first line
  PARSE_CONTEXT second;
  EXPECT_EQ(CheckOn(second, File(Header("2.0"))), "");
  EXPECT_EQ(second.ibisVersion, 2);
}

TEST_F(Hdr, VersionSwitches) {
  PARSE_CONTEXT ctx;
  ctx.hdrForceVersion5 = 1;
  EXPECT_EQ(CheckOn(ctx, File(Header("4.2") + "[Model] m\n[Algorithmic Model]\n[End Algorithmic Model]\n"))
                .find("Invalid Keyword"),
            std::string::npos);
  EXPECT_EQ(ctx.ibisVersion, 5);

  // Versions "1.x" are accepted by the header only when allowed.
  gulLineNumber = 0;
  for (int allow : {0, 1}) {
    PARSE_CONTEXT ctx;
    ctx.hdrAllowVersion1 = allow;
    ASSERT_EQ(HDR_Begin(ctx), 1);
    MsgCapture capture;
    HDR_Line(ctx, PARSE_LINE_KEYWORD, 0, "[IBIS Ver] 1.1");
    EXPECT_EQ(capture.Text(), allow ? "" : "ERROR (line    0) - Illegal IBIS_Version '1.1'.\n");
    EXPECT_EQ(ctx.ibisVersion, allow ? 1 : 0);
    HDRREC_Free(&ctx.header);
  }
}

TEST_F(Hdr, IbisVerMustComeFirst) {
  // The driver only checks files that start with [IBIS Ver]; a second one
  // after other header keywords is reported by the driver and the header.
  std::string out = Check(File("[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n[IBIS Ver] 4.2\n"));
  EXPECT_EQ(out,
            "ERROR (line    4) - Duplicate IBIS_Ver keyword\n"
            "ERROR (line    4) - Duplicate IBIS_Ver keyword.\n"
            "ERROR (line    4) - IBIS_Version must be first keyword.\n\n"
            "ERROR (line    4) - Duplicate IBIS_Ver keyword\n");
}

TEST_F(Hdr, FileNameCharacters) {
  auto name = [this](const std::string& value) {
    return Check(File("[IBIS Ver] 4.2\n[File Name] " + value + "\n[File Rev] 1\n"));
  };
  EXPECT_EQ(name("t.ibs"), "");
  EXPECT_EQ(name("T.ibs"), "ERROR (line    2) - File_name 'T.ibs' contains an upper case character 'T'.\n");
  EXPECT_EQ(Count(name("MyFile.ibs"), "contains an upper case character"), 2);
  EXPECT_EQ(Count(name("my_file.v2.ibs"), "contains more than one period."), 1);
  EXPECT_EQ(Count(name("my_file.v2.x.ibs"), "contains more than one period."), 2);
  EXPECT_NE(name("myfile").find("File_name 'myfile' must contain one period."), std::string::npos);
  EXPECT_NE(name("my+file.ibs").find("contains a character '+' that is illegal for DOS."), std::string::npos);
  EXPECT_EQ(Count(name("a!#$%&'()-@^_`{}~.ibs"), "illegal for DOS"), 0);
  // An empty name is reported as such and still checked and compared.
  std::string out = name("");
  EXPECT_EQ(Count(out, "Zero length value for keyword 'File_name'."), 1);
  EXPECT_EQ(Count(out, "File_name '' must contain one period."), 1);
  EXPECT_EQ(Count(out, "File name opened 't.ibs' not the same as File_name ''."), 1);
  PARSE_CONTEXT ctx;
  ctx.hdrSkipFileNameChecks = 1;
  EXPECT_EQ(CheckOn(ctx, File("[IBIS Ver] 4.2\n[File Name] T.IBS\n[File Rev] 1\n")), "");
}

TEST_F(Hdr, FileNameMustNameTheOpenedFile) {
  std::string out = Check(File(Header()), "buffer.ibs");
  EXPECT_EQ(out, "ERROR (line    2) -\n    File name opened 'buffer.ibs' not the same as File_name 't.ibs'.\n");
  // Opened without extension: the name compared is the one with ".ibs" appended.
  Write("buffer.ibs", File("[IBIS Ver] 4.2\n[File Name] buffer.ibs\n[File Rev] 1\n"));
  EXPECT_EQ(CheckPath((dir_ / "buffer").string()), "");
}

TEST_F(Hdr, FileNameLengthByVersion) {
  std::string out = Check(File("[IBIS Ver] 2.1\n[File Name] averylongname.ibs\n[File Rev] 1\n"), "averylongname.ibs");
  EXPECT_EQ(out,
            "ERROR (line    2) - File_name string 'averylongname.ibs' is too long, truncating to 12 characters.\n"
            "ERROR (line    2) - File_name 'averylongnam' must contain one period.\n"
            "ERROR (line    2) - File name opened 'averylongname.ibs' not the same as File_name 'averylongnam'.\n");
  std::string name25 = std::string(21, 'a') + ".ibs";
  out = Check(File("[IBIS Ver] 3.2\n[File Name] " + name25 + "\n[File Rev] 1\n"), name25);
  EXPECT_EQ(out, "ERROR (line    2) - File_name string '" + name25 + "' is too long, maximum length 24 allowed.\n");
  EXPECT_EQ(Check(File("[IBIS Ver] 4.2\n[File Name] " + name25 + "\n[File Rev] 1\n"), name25), "");
  std::string name45 = std::string(41, 'a') + ".ibs";
  out = Check(File("[IBIS Ver] 5.0\n[File Name] " + name45 + "\n[File Rev] 1\n"), name45);
  EXPECT_NE(out.find("maximum length 44 allowed."), std::string::npos);
  EXPECT_EQ(Count(out, "ERROR"), 1);  // kept whole: it still names the opened file
}

TEST_F(Hdr, DuplicatesEmptyValuesAndReservedWords) {
  std::string out = Check(File(Header() + "[Date] NA\n[Date] 2024\n[File Rev] 2\n[File Name] t.ibs\n"));
  EXPECT_EQ(out,
            "ERROR (line    4) - Illegal use of Reserved Word 'NA'.\n"
            "ERROR (line    5) - Duplicate Date keyword.\n"
            "ERROR (line    5) - Duplicate 'Date' keyword.\n"
            "ERROR (line    6) - Duplicate File_Rev keyword.\n"
            "ERROR (line    6) - Duplicate 'File_Rev' keyword.\n"
            "ERROR (line    7) - Duplicate File_name keyword.\n");
  out = Check(File(Header() + "[Date]\n"));
  EXPECT_EQ(out, "ERROR (line    4) - Zero length value for keyword 'Date'.\n");
  out = Check(File(Header() + "[Date] " + std::string(41, 'd') + "\n"));
  EXPECT_NE(out.find("is too long, truncating to 40 characters."), std::string::npos);
}

TEST_F(Hdr, MultiLineTexts) {
  // Texts collect their lines; a second [Notes] is reported, [Disclaimer] may repeat.
  std::string out = Check(File(Header() + "[Notes] first\nsecond\n[Notes] again\n"
                                          "[Disclaimer] one\n[Disclaimer] two\n[Source] s\n[Source]\n"
                                          "[Copyright] c\n[Copyright] c\n"));
  EXPECT_EQ(out,
            "ERROR (line    6) - Duplicate Notes keyword.\n"
            "ERROR (line   10) - Duplicate Source keyword.\n"
            "ERROR (line   12) - Duplicate Copyright keyword.\n");
}

TEST_F(Hdr, HeaderTextsAreJoinedByLineFeeds) {
  PARSE_CONTEXT ctx;
  // The header record is released with the file, so it is looked at from a
  // data line that the header rejects while it is still open.
  gulLineNumber = 0;
  ASSERT_EQ(HDR_Begin(ctx), 1);
  MsgCapture capture;
  HDR_Line(ctx, PARSE_LINE_KEYWORD, 6, "[Notes] first");
  HDR_Line(ctx, PARSE_LINE_DATA, 6, "second");
  HDR_Line(ctx, PARSE_LINE_DATA, 6, "  third");
  EXPECT_STREQ(ctx.header->notes, "first\nsecond\n  third");
  HDR_Line(ctx, PARSE_LINE_KEYWORD, 4, "[Date] today");
  HDR_Line(ctx, PARSE_LINE_DATA, 4, "tomorrow");
  HDR_Line(ctx, 2, 4, "x");
  HDR_Line(ctx, PARSE_LINE_KEYWORD, 40, "[Pulldown]");
  EXPECT_STREQ(ctx.header->date, "today");
  EXPECT_EQ(capture.Text(),
            "ERROR (line    0) - Orphan Data Line.\n"
            "PROGRAM BUG (line    0) - Bad line type passed to hdr.\n"
            "PROGRAM BUG (line    0) - Bad keyword type passed to hdr.\n");
  HDRREC_Free(&ctx.header);
  EXPECT_EQ(ctx.header, nullptr);
}

// Texts grow by doubling: across many growths every line is kept whole.
TEST_F(Hdr, LongTextsKeepEveryLine) {
  PARSE_CONTEXT ctx;
  ASSERT_EQ(HDR_Begin(ctx), 1);
  std::string expected = "start";
  HDR_Line(ctx, PARSE_LINE_KEYWORD, 5, "[Source] start");
  for (int i = 0; i < 2000; ++i) {
    const std::string line(static_cast<size_t>(i % 97), static_cast<char>('a' + i % 26));
    HDR_Line(ctx, PARSE_LINE_DATA, 5, line.c_str());
    expected += "\n" + line;
  }
  EXPECT_EQ(std::string(ctx.header->source), expected);
  EXPECT_EQ(ctx.header->notes, nullptr);
  HDRREC_Free(&ctx.header);
}

TEST_F(Hdr, RequiredKeywordsAreReportedWhenTheHeaderEnds) {
  EXPECT_EQ(Check("[IBIS Ver] 4.2\n[File Name] t.ibs\n" + MinimalComponent() + "[End]\n"),
            "ERROR - Required keyword 'File_Rev' not found in file 't.ibs'.\n");
  EXPECT_EQ(Check("[IBIS Ver] 4.2\n[End]\n"),
            "ERROR - Required keyword 'File_name' not found in file 't.ibs'.\n"
            "ERROR - Required keyword 'File_Rev' not found in file 't.ibs'.\n");
  // A file without [End] still closes its header.
  EXPECT_EQ(Check("[IBIS Ver] 4.2\n[File Rev] 1\n"),
            "ERROR - Required keyword 'End' not found.\n"
            "ERROR - Required keyword 'File_name' not found in file 't.ibs'.\n");
  // Header keywords after the header has closed belong to no header.
  EXPECT_EQ(Check(File(Header() + MinimalComponent() + "[Notes] late\nmore\n")),
            "ERROR (line   12) - Orphan File Header keyword.\n"
            "ERROR (line   13) - Orphan Data Line.\n");
}
