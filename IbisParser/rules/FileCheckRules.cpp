#include "IbisParser/rules/FileCheckRules.h"

// Levels are those the messages are printed with; "PROGRAM BUG" rows are
// faults of the checker itself, not of the file.
const CHECK_RULE gaFileCheckRules[] = {
    {900, "ERROR", "Could not determine Version for file %s",
     "[IBIS Ver] comes first and names a version the checker knows", "2.1 §4 [IBIS Ver]", "[Component] c\n"},
    {902, "ERROR", "Non-comment line exists after 'End' keyword.", "nothing but comments follows [End]", "2.1 §4 [End]",
     "$H[End]\nmore\n"},
    {903, "ERROR", "Required keyword 'End' not found.", "[End] is required", "2.1 §4 [End]", "$H"},
    {905, "ERROR", "Exceeds %d chararacters.", "a line holds at most 80 characters (120 from 4.0)",
     "2.1 §3 General Syntax Rules; 4.0",
     "$H|"
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
     "xxxxxxxxxxxx\n[End]\n"},
    {906, "ERROR", "Keywords Must Begin In Column 1.", "keywords start in column 1", "2.1 §3 General Syntax Rules",
     "$H [Model] m\n[End]\n"},
    {907, "ERROR", "Data for unknown keyword.\n%s", "data lines belong to a known keyword",
     "2.1 §3 General Syntax Rules", "$H[No Such Keyword]\ndata\n[End]\n"},
    {908, "PROGRAM BUG", "%s:%d:Unknown current keyword.", "the dispatcher reached a keyword its set does not hold",
     "checker", CHECK_NO_FILE},
    {909, "ERROR", "Previous keyword not terminated properly. Possibly missing a \"/\"\n",
     "an R/L/C section ends with '/' before the next keyword", "3.2 [Pin Numbers], [Path Description] (5.0 §7, §8)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n\n[End Package Model]\n[End]\n"},
    {910, "ERROR", "Duplicate IBIS_Ver keyword.", "[IBIS Ver] stands once", "2.1 §4 [IBIS Ver]",
     "[IBIS Ver] 4.2\n[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n[End]\n"},
    {911, "ERROR", "Illegal keyword for a '.pkg' file.", "a .pkg file holds only package models and the header",
     "2.1 §7 (5.0 §7)", "@t.pkg\n$H[Component] c\n[End]\n"},
    {912, "ERROR", "Illegal keyword for a '.ebd' file.", "a .ebd file holds only board descriptions and the header",
     "3.2 §8 (5.0 §8)", "@t.ebd\n$H[Component] c\n[End]\n"},
    {913, "ERROR", "Illegal keyword for a '.ibs' file.", "a .ibs file holds no board description", "3.2 §8 (5.0 §8)",
     "$H[Begin Board Description] b\n[End Board Description]\n[End]\n"},
    {914, "ERROR", "Keyword Missing Ending Bracket (']').", "a keyword is enclosed in square brackets",
     "2.1 §3 General Syntax Rules", "$H[Model m\n[End]\n"},
    {915, "ERROR", "Invalid Keyword.", "a keyword has a name", "2.1 §3 General Syntax Rules", "$H[]\n[End]\n"},
    {916, "ERROR", "Invalid Keyword: %s", "a keyword is one of the file's version",
     "2.1 §3; the keyword lists of each version", "$H[No Such Keyword]\n[End]\n"},
    {917, "ERROR", "Invalid Comment Character Definition.", "[Comment Char] gives one character followed by _char",
     "2.1 §4 [Comment Char]", "$H[Comment Char] #\n[End]\n"},
    {918, "ERROR", "Invalid Comment Character '%c'.",
     "the comment character is none of the characters the standard excludes", "2.1 §4 [Comment Char]",
     "$H[Comment Char] [_char\n[End]\n"},
    {919, "ERROR", "Too Many Line Items For Keyword COMMENT_CHAR.", "[Comment Char] holds nothing more",
     "2.1 §4 [Comment Char]", "$H[Comment Char] #_char more\n[End]\n"},
    {920, "ERROR", "Extraneous data on End keyword line.", "[End] holds nothing more", "2.1 §4 [End]",
     "$H[End] more\n"},
    {921, "WARNING", "IBIS files should not contain tab characters.",
     "tabs should not be used (reported once per file)", "2.1 §3 General Syntax Rules", "$H|\ttab\n[End]\n"},
    {922, "ERROR", "Unable to Allocate Memory: %s %d", "the checker could not get memory for the .ami text",
     "checker; no file reaches it: memory running out", CHECK_NO_FILE},
    {923, "ERROR", "Description line in AMI file (at line no %d) is greater than %d characters",
     "a Description string of an .ami file has at most 120 characters per line", "5.0 §10 AMI parameter file",
     "@t.ami\n(m\n (Description \"$R121{x}\")\n (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) "
     "(Default True) (Description \"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\"))))\n"},
    {1001, "ERROR", "Orphan File Header keyword.", "header keywords stand in the header", "2.1 §4",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Date] "
     "today\n[End]\n"},
    {1002, "ERROR", "Orphan Data Line.",
     "data lines of the header belong to [Source], [Notes], [Disclaimer] or [Copyright]", "2.1 §4",
     "[IBIS Ver] 4.2\n[File Name] t.ibs\nstray\n[File Rev] 1\n[End]\n"},
    {1003, "PROGRAM BUG", "Bad keyword type passed to hdr.", "the header handler was given a keyword it does not own",
     "checker", CHECK_NO_FILE},
    {1004, "PROGRAM BUG", "Bad line type passed to hdr.", "the header handler was given a line kind it does not know",
     "checker", CHECK_NO_FILE},
    {1005, "ERROR", "Duplicate IBIS_Ver keyword", "[IBIS Ver] stands once", "2.1 §4 [IBIS Ver]",
     "[IBIS Ver] 4.2\n[File Name] t.ibs\n[IBIS Ver] 4.2\n[File Rev] 1\n[End]\n"},
    {1006, "ERROR", "Unable to create new File Header structure.", "the checker could not get memory for the header",
     "checker; no file reaches it: memory running out", CHECK_NO_FILE},
    {1007, "ERROR", "IBIS_Version must be first keyword.\n", "[IBIS Ver] is the first keyword", "2.1 §4 [IBIS Ver]",
     "[IBIS Ver] 4.2\n[File Name] t.ibs\n[IBIS Ver] 4.2\n[File Rev] 1\n[End]\n"},
    {1008, "ERROR", "Illegal IBIS_Version '%s'.", "[IBIS Ver] is one of the published versions", "2.1 §4 [IBIS Ver]",
     "[IBIS Ver] 4.9\n[File Name] t.ibs\n[File Rev] 1\n[End]\n"},
    {1009, "ERROR", "Duplicate File_name keyword.", "[File Name] stands once", "2.1 §4 [File Name]",
     "$H[File Name] t.ibs\n[End]\n"},
    {1010, "ERROR", "File_name '%s' contains an upper case character '%c'.",
     "file names are lower case before 7.0; from 7.0 upper case is allowed",
     "2.1 §3 item 3 (\"must only have lower case characters\"); 7.0 §3.1 (BIRD 186.4)",
     "[IBIS Ver] 4.2\n[File Name] T.ibs\n[File Rev] 1\n[End]\n"},
    {1011, "ERROR", "File_name '%s' contains a character '%c' that is illegal for DOS.",
     "file names use the characters the standard lists", "2.1 §3 item 3; 7.0 §3.1 (BIRD 186.4)",
     "[IBIS Ver] 4.2\n[File Name] t+.ibs\n[File Rev] 1\n[End]\n"},
    {1012, "ERROR", "File_name '%s' contains more than one period.",
     "a file name has one period before 7.0; from 7.0 the extension follows the last period",
     "2.1 §3 item 3; 7.0 §3.1 (BIRD 186.4)", "[IBIS Ver] 4.2\n[File Name] t.x.ibs\n[File Rev] 1\n[End]\n"},
    {1013, "ERROR", "File_name '%s' must contain one period.", "a file name has a base name, a period and an extension",
     "2.1 §3 item 3, §4 [File Name]", "[IBIS Ver] 4.2\n[File Name] t\n[File Rev] 1\n[End]\n"},
    {1014, "ERROR", "File name opened '%s' not the same as File_name '%s'.", "[File Name] is the name of the file",
     "2.1 §4 [File Name]", "[IBIS Ver] 4.2\n[File Name] u.ibs\n[File Rev] 1\n[End]\n"},
    {1015, "ERROR", "Duplicate File_Rev keyword.", "[File Rev] stands once", "2.1 §4 [File Rev]",
     "$H[File Rev] 1\n[End]\n"},
    {1016, "ERROR", "Duplicate Date keyword.", "[Date] stands once", "2.1 §4 [Date]", "$H[Date] a\n[Date] b\n[End]\n"},
    {1017, "ERROR", "Duplicate Source keyword.", "[Source] stands once", "2.1 §4 [Source]",
     "$H[Source] a\n[Source] b\n[End]\n"},
    {1018, "ERROR", "Duplicate Notes keyword.", "[Notes] stands once", "2.1 §4 [Notes]",
     "$H[Notes] a\n[Notes] b\n[End]\n"},
    {1019, "ERROR", "Duplicate Copyright keyword.", "[Copyright] stands once", "2.1 §4 [Copyright]",
     "$H[Copyright] a\n[Copyright] b\n[End]\n"},
    {1020, "ERROR", "Unable to add text.", "the checker could not get memory for a header text",
     "checker; no file reaches it: memory running out", CHECK_NO_FILE},
    {1200, "ERROR", "Unable to allocate a Package", "the checker could not get memory for a package",
     "checker; no file reaches it: memory running out", CHECK_NO_FILE},
    {1201, "ERROR", "Package sub-parameters must start in column 1.", "R_pkg, L_pkg and C_pkg start in column 1",
     "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\n R_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1202, "ERROR", "Expected %d columns in Package sub-parameter line, found %d columns.",
     "a [Package] line is the name and typ, min, max", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1203, "ERROR", "Duplicate R_pkg sub-parameter.", "R_pkg stands once", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\nR_pkg 1 NA "
     "NA\n[Pin] signal_name model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1204, "ERROR", "Duplicate L_pkg sub-parameter.", "L_pkg stands once", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\nL_pkg 1n NA "
     "NA\n[Pin] signal_name model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1205, "ERROR", "Duplicate C_pkg sub-parameter.", "C_pkg stands once", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\nC_pkg 1p NA "
     "NA\n[Pin] signal_name model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1206, "ERROR", "Unknown Package subparameter.", "[Package] holds R_pkg, L_pkg and C_pkg only", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\nX_pkg 1 NA "
     "NA\n[Pin] signal_name model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1207, "ERROR", "Unable to parse data for Package subparameter '%s'.",
     "the values of a [Package] line are numbers or NA", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg x NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1209, "ERROR", "The typical column must be specified.", "the typ column of [Package] holds data",
     "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg NA NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1213, "ERROR", "Component '%s': Required sub-parameter R_pkg not found.", "R_pkg is required", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a "
     "GND\n2 b GND\n[End]\n"},
    {1215, "ERROR", "Component '%s': Required sub-parameter L_pkg not found.", "L_pkg is required", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a "
     "GND\n2 b GND\n[End]\n"},
    {1217, "ERROR", "Component '%s': Required sub-parameter C_pkg not found.", "C_pkg is required", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\n[Pin] signal_name model_name\n1 a "
     "GND\n2 b GND\n[End]\n"},
    {1900, "ERROR", "File Name Requires '.ibs' Extension.", "an IBIS file ends in .ibs", "2.1 §4 [File Name]",
     "@t.txt\n$H[End]\n"},
    {1901, "ERROR", "Unable to append filename extension.", "the name with its extension fits the checker's limit",
     "checker", "@$R1021{x}"},
    {1902, "ERROR", "File Name Requires '.ebd' Extension.", "a board file ends in .ebd", "3.2 §8",
     "@t.txt as .ebd\n$H[End]\n"},
    {1903, "ERROR", "File Name Requires '.pkg' Extension.", "a package file ends in .pkg", "2.1 §7",
     "@t.txt as .pkg\n$H[End]\n"},
    {1904, "ERROR", "Unable to assemble filename.", "directory and name fit the checker's limit", "checker",
     "@$R1030{x}.ibs"},
    {1905, "ERROR", "Unable To Open File '%s%s'", "the file can be opened", "checker", "@gone.ibs"},
    {1906, "ERROR", nullptr, "the checker could not get memory", "checker; no file reaches it: memory running out",
     CHECK_NO_FILE},
    {1907, "ERROR", nullptr, "the checker could not get more memory", "checker; no file reaches it: memory running out",
     CHECK_NO_FILE},
    {1908, "PROGRAM BUG", nullptr, "the checker could not get memory for the words of a line", "checker",
     CHECK_NO_FILE},
    {1909, "ERROR", "Invalid %s Value (\"%s\")", "a value is a number (with an optional scale letter and unit) or NA",
     "2.1 §3 item 8",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 x NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1910, "WARNING", "Suspicious %s %s Value (\"%s\"); Numeric in Scale",
     "digits after a scale letter are read as a unit («1u5» is 1u)", "2.1 §3 item 8",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m5 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1911, "ERROR", "Duplicate '%s' keyword.", "a header keyword stands once", "2.1 §4", "$H[File Rev] 2\n[End]\n"},
    {1912, "ERROR", "%s string '%s' is too long, truncating to %u characters.",
     "a header value fits its length (file names of 2.1: 8.3 characters)", "2.1 §4",
     "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n[Date] "
     "dddddddddddddddddddddddddddddddddddddddddddddddddd\n[End]\n"},
    {1913, "ERROR", "Zero length value for keyword '%s'.", "a header keyword gives a value", "2.1 §4",
     "$H[Date]\n[End]\n"},
    {1914, "ERROR", "%s string '%s' is too long, maximum length %u allowed.",
     "a file name has at most 24 characters (3.x), 44 (4.x to 6.x), 64 from 7.0",
     "3.1 §3 item 3 (BIRD 46.1); 4.2 (BIRD 102); 7.0 §3.1 (BIRD 186.4)",
     "[IBIS Ver] 4.2\n[File Name] ttttttttttttttttttttttttttttttttttttttttttttt.ibs\n[File Rev] 1\n[End]\n"},
    {1915, "ERROR", "Required keyword '%s' not found in file '%s'.",
     "[IBIS Ver], [File Name] and [File Rev] are required", "2.1 §4", "[IBIS Ver] 4.2\n[File Name] t.ibs\n[End]\n"},
    {1916, "ERROR", "Illegal use of Reserved Word '%s'.", "reserved words are not header values", "2.1 §3",
     "$H[Date] NA\n[End]\n"},
    {1917, "ERROR", "Found illegal %s character (code %x).%s", "a file holds 7-bit ASCII text only",
     "2.1 §3 General Syntax Rules", "$H|\xc3\xa9\n[End]\n"},
    {1924, "ERROR", "File Name Requires '.ami' Extension.", "an AMI parameter file ends in .ami",
     "5.0 §10 [Algorithmic Model]",
     "@t.ibs\n[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = "
     "2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 t.ibs t.txt\n[End "
     "Algorithmic Model]\n[End]\n@t.txt\n(m)\n"},
    {3900, "PROGRAM BUG", "Unable to Parse %s: %s %d", "the checker could not split a line", "checker", CHECK_NO_FILE},
    {3901, "ERROR", "No %s Value Was Provided for %s",
     "typ, min and max columns are all given (NA for a missing min or max)",
     "2.1 §3 item 8; no file reaches it: [Package], the one reader of triples, counts four words first (1202)",
     CHECK_NO_FILE},
    {3902, "ERROR", "Incorrect Number of Line Items (%d) For %s: Expecting %d", "a typ/min/max line has three values",
     "2.1 §3 item 8; no file reaches it: [Package], the one reader of triples, counts four words first (1202)",
     CHECK_NO_FILE},
    {3903, "WARNING", "Typ value is not in between Min and Max ", "typ lies between min and max", "2.1 §3 item 8",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 2 3\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {3904, "PROGRAM BUG", "Unable to Allocate Memory: %s %d", "the checker could not get memory for a triple",
     "checker", CHECK_NO_FILE},
    {4600, "ERROR", "Expected a branch but found '%s'  as a leaf of '%s'",
     "an AMI branch that holds parameters is not a leaf", "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"d\")) (Foo 1)))\n"},
    {4601, "ERROR", "Algorithmic Model: Already Defined for this model", "[Algorithmic Model] stands once per model",
     "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so a.ami\n[End Algorithmic "
     "Model]\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so a.ami\n[End Algorithmic Model]\n[End]\n"},
    {4602, "PROGRAM BUG", "Unable to Allocate Memory: %s %d",
     "the checker could not get memory for an [Algorithmic Model] record", "checker", CHECK_NO_FILE},
    {4603, "PROGRAM BUG", "Should Not Be Here: %s, %d", "the [Algorithmic Model] line lost its bracket", "checker",
     CHECK_NO_FILE},
    {4605, "ERROR", "Incorrect Number of Line Items (%d) For %s: Expecting %d",
     "an Executable line gives platform, executable file and .ami file; the keyword line nothing",
     "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4606, "ERROR",
     "The Number of Bits should be 32 or 64 for Platform %s and Compiler %s for Algorithmic Model defined on line %d",
     "Bits of a platform is 32 or 64", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_16 a.so a.ami\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4607, "ERROR", "Duplicate Sub-Parameter: Platform %s Compiler %s Bits %d for Algorithmic Model defined on line %d",
     "platform, compiler and bits stand once per block (per Executable, Executable_Rx, Executable_Tx)",
     "5.0 §10 [Algorithmic Model]; 6.1 (BIRD 178.3)",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so a.ami\nExecutable Linux_gcc_64 "
     "b.so b.ami\n[End Algorithmic Model]\n[End]\n"},
    {4609, "ERROR", "Unknown Line in Algorithmic Model",
     "the block holds Executable lines; Executable_Rx and Executable_Tx from 6.1",
     "5.0 §10 [Algorithmic Model]; 6.1 (BIRD 178.3)",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nWobble Linux_gcc_64 a.so a.ami\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4610, "ERROR", "Could not parse Platform, Compiler, Bits  for [Algorithmic Model] Executable Sub-parameter",
     "the platform word is Platform_Compiler_Bits", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux a.so a.ami\n[End Algorithmic Model]\n[End]\n"},
    {4611, "ERROR", "Platform name too long %s", "a platform name fits the checker's limit", "checker",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable "
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx_gcc_64 a.so a.ami\n[End Algorithmic Model]\n[End]\n"},
    {4612, "ERROR", "Compiler name too long %s", "a compiler name fits the checker's limit", "checker",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable "
     "Linux_xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx_64 a.so a.ami\n[End Algorithmic Model]\n[End]\n"},
    {4613, "ERROR", "Could not parse the Bits in %s for [Algorithmic Model] Executable Sub-parameter",
     "Bits is a whole number", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_x a.so a.ami\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4614, "ERROR", "Filename too long %s", "a file name fits the checker's limit", "checker",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 "
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx.so a.ami\n[End Algorithmic Model]\n[End]\n"},
    {4615, "ERROR", "Empty [Algorithmic Model] defined for Model %s",
     "an [Algorithmic Model] block names an executable", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable\n[End Algorithmic Model]\n[End]\n"},
    {4616, "ERROR", "Code file %s not found. It was defined in [Algorithmic Model] for Model %s",
     "the executable named is beside the IBIS file", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so a.ami\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4617, "ERROR",
     "AMI Parameter file %s should have '.ami' extension. It was defined in [Algorithmic Model] for Model %s",
     "the AMI parameter file has the extension .ami", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so params\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4618, "ERROR", "AMI parameter file %s not found. It was defined in [Algorithmic Model] for Model %s",
     "the AMI parameter file named is beside the IBIS file", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so a.ami\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4619, "ERROR", "The AMI parameter file has mismatched parenthesis", "parentheses of an .ami file balance",
     "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"d\")))\n"},
    {4620, "ERROR", "The AMI parameter file should start with a parenthesis", "an .ami file starts with a parenthesis",
     "5.0 §10 AMI parameter file",
     "@t.ami\nm (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"d\"))))\n"},
    {4621, "PROGRAM BUG", "Internal error while parsing AMI Parameter file", "the .ami parser failed inside", "checker",
     CHECK_NO_FILE},
    {4622, "ERROR", "No Reserved_Parameters found", "Reserved_Parameters is required", "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Description \"d\"))\n"},
    {4623, "ERROR", "Unknown branch %s found", "the root holds Reserved_Parameters, Model_Specific and Description",
     "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"d\"))) (Bogus (x 1)))\n"},
    {4624, "ERROR", "Unknown parameter %s found as a child of %s",
     "Reserved_Parameters holds the reserved parameters of the file's AMI version",
     "5.0 §10; later versions add their own",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"d\")) (Bogus (Usage Info) "
     "(Type Boolean) (Default True) (Description \"d\"))))\n"},
    {4625, "ERROR", "%s parameter is mandatory", "the parameters the version requires are given",
     "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\"))))\n"},
    {4626, "ERROR", "%s: Illegal format for %s", "a parameter's Format is one the standard allows for it",
     "5.0 §10 AMI parameter file; no file reaches it: the .ami parser makes no leaf without a value (4634, 4635)",
     CHECK_NO_FILE},
    {4627, "ERROR", "Illegal %s value %s specified for %s",
     "Usage and Type take the values the standard allows for the parameter", "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"d\"))) (Model_Specific (p "
     "(Usage Bogus) (Type Integer) (Default 1) (Description \"d\"))))\n"},
    {4628, "ERROR", "Found a branch %s expecting a leaf for %s",
     "Usage, Type, Format, Default and Description are leaves", "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage (Info 1)) (Type Boolean) (Default True) (Description \"d\"))))\n"},
    {4629, "ERROR", "Unexpected parameter %s specified for %s",
     "a parameter holds only the items the standard allows it", "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Format Value True) (Description \"d\"))))\n"},
    {4630, "ERROR", "Parameter %s is mandatory for %s",
     "Usage, Type and Description (and Format where needed) are given", "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True))))\n"},
    {4632, "ERROR", "%s: Illegal Format for %s. Expected %d number(s)", "a Format gives its number of values",
     "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"d\"))) (Model_Specific (p "
     "(Usage In) (Type Integer) (Format Range 1 2) (Description \"d\"))))\n"},
    {4634, "ERROR", "Invalid syntax of branch or leaf. At least 2 elements expected in a list",
     "a list holds at least two elements", "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage ) (Type Boolean) (Default True) (Description \"d\"))))\n"},
    {4635, "ERROR", "Too few nodes in branches or leaves", "branches and leaves hold a name and a value",
     "5.0 §10 AMI parameter file",
     "@t.ami\n(m (Reserved_Parameters (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default True) (Description "
     "\"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"d\"))) (Model_Specific))\n"},
    {4640, "NOTE", "Reserved parameters checked for AMI_Version %s",
     "the reserved parameters are checked for the AMI_Version the file names", "5.1 §10 AMI_Version",
     "@t.ami\n(m (Reserved_Parameters (AMI_Version (Usage Info) (Type String) (Value \"5.1\") (Description \"d\")) "
     "(Init_Returns_Impulse (Usage Info) (Type Boolean) (Value True) (Description \"d\")) (GetWave_Exists (Usage Info) "
     "(Type Boolean) (Value True) (Description \"d\"))))\n"},
    {4641, "ERROR", "Model_Specific found before Reserved_Parameters (AMI_Version 5.1 on)",
     "Reserved_Parameters comes before Model_Specific",
     "5.1 §10 AMI parameter file (BIRD 139.2): \"the Reserved_Parameter sub-tree shall appear before the "
     "Model_Specific sub-tree\"",
     "@t.ami\n(m (Model_Specific (p (Usage In) (Type Integer) (Value 1) (Description \"d\"))) (Reserved_Parameters "
     "(AMI_Version (Usage Info) (Type String) (Value \"5.1\") (Description \"d\")) (Init_Returns_Impulse (Usage Info) "
     "(Type Boolean) (Value True) (Description \"d\")) (GetWave_Exists (Usage Info) (Type Boolean) (Value True) "
     "(Description \"d\"))))\n"},
    {4700, "ERROR", "Unable To Read File '%s%s': it is %s, not a regular file", "a file named is a regular file",
     "checker (a directory, pipe or device is not read)", "@t.ami/\n"},
    {4701, "ERROR", "Unable To Read File '%s%s': it holds more than %d MiB, more than an AMI parameter file may hold",
     "an .ami file holds at most the checker's limit", "checker (bounded memory)", "@t.ami\n$R17000000{x}\n"},
};

const int giFileCheckRuleCount = static_cast<int>(sizeof(gaFileCheckRules) / sizeof(gaFileCheckRules[0]));
