#include "IbisParser/rules/FileCheckRules.h"

// Levels are those the messages are printed with; "PROGRAM BUG" rows are
// faults of the checker itself, not of the file.
const CHECK_RULE gaFileCheckRules[] = {
    {900, "ERROR", "[IBIS Ver] comes first and names a version the checker knows", "2.1 §4 [IBIS Ver]"},
    {902, "ERROR", "nothing but comments follows [End]", "2.1 §4 [End]", "$H[End]\nmore\n"},
    {903, "ERROR", "[End] is required", "2.1 §4 [End]", "$H"},
    {905, "ERROR", "a line holds at most 80 characters (120 from 4.0)", "2.1 §3 General Syntax Rules; 4.0",
     "$H|"
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
     "xxxxxxxxxxxx\n[End]\n"},
    {906, "ERROR", "keywords start in column 1", "2.1 §3 General Syntax Rules", "$H [Model] m\n[End]\n"},
    {907, "ERROR", "data lines belong to a known keyword", "2.1 §3 General Syntax Rules"},
    {908, "PROGRAM BUG", "the dispatcher reached a keyword its set does not hold", "checker"},
    {909, "ERROR", "an R/L/C section ends with '/' before the next keyword",
     "3.2 [Pin Numbers], [Path Description] (5.0 §7, §8)",
     "$H[Define Package Model] p\n[Manufacturer] me\n[OEM] o\n[Description] d\n[Number Of Sections] 2\n[Number Of "
     "Pins] 1\n[Pin Numbers]\nA1 Len=0 L=1n\n[End Package Model]\n[End]\n"},
    {910, "ERROR", "[IBIS Ver] stands once", "2.1 §4 [IBIS Ver]",
     "[IBIS Ver] 4.2\n[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n[End]\n"},
    {911, "ERROR", "a .pkg file holds only package models and the header", "2.1 §7 (5.0 §7)"},
    {912, "ERROR", "a .ebd file holds only board descriptions and the header", "3.2 §8 (5.0 §8)"},
    {913, "ERROR", "a .ibs file holds no board description", "3.2 §8 (5.0 §8)",
     "$H[Begin Board Description] b\n[End Board Description]\n[End]\n"},
    {914, "ERROR", "a keyword is enclosed in square brackets", "2.1 §3 General Syntax Rules", "$H[Model m\n[End]\n"},
    {915, "ERROR", "a keyword has a name", "2.1 §3 General Syntax Rules", "$H[]\n[End]\n"},
    {916, "ERROR", "a keyword is one of the file's version", "2.1 §3; the keyword lists of each version",
     "$H[No Such Keyword]\n[End]\n"},
    {917, "ERROR", "[Comment Char] gives one character followed by _char", "2.1 §4 [Comment Char]",
     "$H[Comment Char] #\n[End]\n"},
    {918, "ERROR", "the comment character is none of the characters the standard excludes", "2.1 §4 [Comment Char]",
     "$H[Comment Char] [_char\n[End]\n"},
    {919, "ERROR", "[Comment Char] holds nothing more", "2.1 §4 [Comment Char]",
     "$H[Comment Char] #_char more\n[End]\n"},
    {920, "ERROR", "[End] holds nothing more", "2.1 §4 [End]", "$H[End] more\n"},
    {921, "WARNING", "tabs should not be used (reported once per file)", "2.1 §3 General Syntax Rules",
     "$H|\ttab\n[End]\n"},
    {922, "ERROR", "the checker could not get memory for the .ami text", "checker"},
    {923, "ERROR", "a Description string of an .ami file has at most 120 characters per line",
     "5.0 §10 AMI parameter file"},
    {1001, "ERROR", "header keywords stand in the header", "2.1 §4",
     "$H[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA NA\n[Voltage Range] 3 NA NA\n[Date] "
     "today\n[End]\n"},
    {1002, "ERROR", "data lines of the header belong to [Source], [Notes], [Disclaimer] or [Copyright]", "2.1 §4",
     "[IBIS Ver] 4.2\n[File Name] t.ibs\nstray\n[File Rev] 1\n[End]\n"},
    {1003, "PROGRAM BUG", "the header handler was given a keyword it does not own", "checker"},
    {1004, "PROGRAM BUG", "the header handler was given a line kind it does not know", "checker"},
    {1005, "ERROR", "[IBIS Ver] stands once", "2.1 §4 [IBIS Ver]"},
    {1006, "ERROR", "the checker could not get memory for the header", "checker"},
    {1007, "ERROR", "[IBIS Ver] is the first keyword", "2.1 §4 [IBIS Ver]"},
    {1008, "ERROR", "[IBIS Ver] is one of the published versions", "2.1 §4 [IBIS Ver]"},
    {1009, "ERROR", "[File Name] stands once", "2.1 §4 [File Name]", "$H[File Name] t.ibs\n[End]\n"},
    {1010, "ERROR", "file names are lower case before 7.0; from 7.0 upper case is allowed",
     "2.1 §3 item 3 (\"must only have lower case characters\"); 7.0 §3.1 (BIRD 186.4)",
     "[IBIS Ver] 4.2\n[File Name] T.ibs\n[File Rev] 1\n[End]\n"},
    {1011, "ERROR", "file names use the characters the standard lists", "2.1 §3 item 3; 7.0 §3.1 (BIRD 186.4)",
     "[IBIS Ver] 4.2\n[File Name] t+.ibs\n[File Rev] 1\n[End]\n"},
    {1012, "ERROR", "a file name has one period before 7.0; from 7.0 the extension follows the last period",
     "2.1 §3 item 3; 7.0 §3.1 (BIRD 186.4)", "[IBIS Ver] 4.2\n[File Name] t.x.ibs\n[File Rev] 1\n[End]\n"},
    {1013, "ERROR", "a file name has a base name, a period and an extension", "2.1 §3 item 3, §4 [File Name]",
     "[IBIS Ver] 4.2\n[File Name] t\n[File Rev] 1\n[End]\n"},
    {1014, "ERROR", "[File Name] is the name of the file", "2.1 §4 [File Name]",
     "[IBIS Ver] 4.2\n[File Name] u.ibs\n[File Rev] 1\n[End]\n"},
    {1015, "ERROR", "[File Rev] stands once", "2.1 §4 [File Rev]", "$H[File Rev] 1\n[End]\n"},
    {1016, "ERROR", "[Date] stands once", "2.1 §4 [Date]", "$H[Date] a\n[Date] b\n[End]\n"},
    {1017, "ERROR", "[Source] stands once", "2.1 §4 [Source]", "$H[Source] a\n[Source] b\n[End]\n"},
    {1018, "ERROR", "[Notes] stands once", "2.1 §4 [Notes]", "$H[Notes] a\n[Notes] b\n[End]\n"},
    {1019, "ERROR", "[Copyright] stands once", "2.1 §4 [Copyright]", "$H[Copyright] a\n[Copyright] b\n[End]\n"},
    {1020, "ERROR", "the checker could not get memory for a header text", "checker"},
    {1200, "ERROR", "the checker could not get memory for a package", "checker"},
    {1201, "ERROR", "R_pkg, L_pkg and C_pkg start in column 1", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\n R_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1202, "ERROR", "a [Package] line is the name and typ, min, max", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1203, "ERROR", "R_pkg stands once", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\nR_pkg 1 NA "
     "NA\n[Pin] signal_name model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1204, "ERROR", "L_pkg stands once", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\nL_pkg 1n NA "
     "NA\n[Pin] signal_name model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1205, "ERROR", "C_pkg stands once", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\nC_pkg 1p NA "
     "NA\n[Pin] signal_name model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1206, "ERROR", "[Package] holds R_pkg, L_pkg and C_pkg only", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\nX_pkg 1 NA "
     "NA\n[Pin] signal_name model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1207, "ERROR", "the values of a [Package] line are numbers or NA", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg x NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1209, "ERROR", "the typ column of [Package] holds data", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg NA NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1210, "ERROR", "the min column is given, a number or NA", "2.1 §5 [Package]"},
    {1211, "ERROR", "the max column is given, a number or NA", "2.1 §5 [Package]"},
    {1213, "ERROR", "R_pkg is required", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a "
     "GND\n2 b GND\n[End]\n"},
    {1215, "ERROR", "L_pkg is required", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nC_pkg 1p NA NA\n[Pin] signal_name model_name\n1 a "
     "GND\n2 b GND\n[End]\n"},
    {1217, "ERROR", "C_pkg is required", "2.1 §5 [Package]",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 NA NA\nL_pkg 1n NA NA\n[Pin] signal_name model_name\n1 a "
     "GND\n2 b GND\n[End]\n"},
    {1900, "ERROR", "an IBIS file ends in .ibs", "2.1 §4 [File Name]"},
    {1901, "ERROR", "the name with its extension fits the checker's limit", "checker"},
    {1902, "ERROR", "a board file ends in .ebd", "3.2 §8"},
    {1903, "ERROR", "a package file ends in .pkg", "2.1 §7"},
    {1904, "ERROR", "directory and name fit the checker's limit", "checker"},
    {1905, "ERROR", "the file can be opened", "checker"},
    {1906, "ERROR", "the checker could not get memory", "checker"},
    {1907, "ERROR", "the checker could not get more memory", "checker"},
    {1908, "PROGRAM BUG", "the checker could not get memory for the words of a line", "checker"},
    {1909, "ERROR", "a value is a number (with an optional scale letter and unit) or NA", "2.1 §3 item 8",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 x NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1910, "WARNING", "digits after a scale letter are read as a unit («1u5» is 1u)", "2.1 §3 item 8",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1m5 NA NA\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {1911, "ERROR", "a header keyword stands once", "2.1 §4", "$H[File Rev] 2\n[End]\n"},
    {1912, "ERROR", "a header value fits its length (file names of 2.1: 8.3 characters)", "2.1 §4",
     "[IBIS Ver] 4.2\n[File Name] t.ibs\n[File Rev] 1\n[Date] "
     "dddddddddddddddddddddddddddddddddddddddddddddddddd\n[End]\n"},
    {1913, "ERROR", "a header keyword gives a value", "2.1 §4", "$H[Date]\n[End]\n"},
    {1914, "ERROR", "a file name has at most 24 characters (3.x), 44 (4.x to 6.x), 64 from 7.0",
     "3.1 §3 item 3 (BIRD 46.1); 4.2 (BIRD 102); 7.0 §3.1 (BIRD 186.4)",
     "[IBIS Ver] 4.2\n[File Name] ttttttttttttttttttttttttttttttttttttttttttttt.ibs\n[File Rev] 1\n[End]\n"},
    {1915, "ERROR", "[IBIS Ver], [File Name] and [File Rev] are required", "2.1 §4"},
    {1916, "ERROR", "reserved words are not header values", "2.1 §3", "$H[Date] NA\n[End]\n"},
    {1917, "ERROR", "a file holds 7-bit ASCII text only", "2.1 §3 General Syntax Rules", "$H|\xc3\xa9\n[End]\n"},
    {1924, "ERROR", "an AMI parameter file ends in .ami", "5.0 §10 [Algorithmic Model]"},
    {3900, "PROGRAM BUG", "the checker could not split a line", "checker"},
    {3901, "ERROR", "typ, min and max columns are all given (NA for a missing min or max)", "2.1 §3 item 8"},
    {3902, "ERROR", "a typ/min/max line has three values", "2.1 §3 item 8"},
    {3903, "WARNING", "typ lies between min and max", "2.1 §3 item 8",
     "$H[Component] c\n[Manufacturer] m\n[Package]\nR_pkg 1 2 3\nL_pkg 1n NA NA\nC_pkg 1p NA NA\n[Pin] signal_name "
     "model_name\n1 a GND\n2 b GND\n[End]\n"},
    {3904, "PROGRAM BUG", "the checker could not get memory for a triple", "checker"},
    {4600, "ERROR", "an AMI branch that holds parameters is not a leaf", "5.0 §10 AMI parameter file"},
    {4601, "ERROR", "[Algorithmic Model] stands once per model", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so a.ami\n[End Algorithmic "
     "Model]\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so a.ami\n[End Algorithmic Model]\n[End]\n"},
    {4602, "PROGRAM BUG", "the checker could not get memory for an [Algorithmic Model] record", "checker"},
    {4603, "PROGRAM BUG", "the [Algorithmic Model] line lost its bracket", "checker"},
    {4605, "ERROR", "an Executable line gives platform, executable file and .ami file; the keyword line nothing",
     "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4606, "ERROR", "Bits of a platform is 32 or 64", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_16 a.so a.ami\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4607, "ERROR", "platform, compiler and bits stand once per block (per Executable, Executable_Rx, Executable_Tx)",
     "5.0 §10 [Algorithmic Model]; 6.1 (BIRD 178.3)",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so a.ami\nExecutable Linux_gcc_64 "
     "b.so b.ami\n[End Algorithmic Model]\n[End]\n"},
    {4609, "ERROR", "the block holds Executable lines; Executable_Rx and Executable_Tx from 6.1",
     "5.0 §10 [Algorithmic Model]; 6.1 (BIRD 178.3)",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nWobble Linux_gcc_64 a.so a.ami\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4610, "ERROR", "the platform word is Platform_Compiler_Bits", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux a.so a.ami\n[End Algorithmic Model]\n[End]\n"},
    {4611, "ERROR", "a platform name fits the checker's limit", "checker",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable "
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx_gcc_64 a.so a.ami\n[End Algorithmic Model]\n[End]\n"},
    {4612, "ERROR", "a compiler name fits the checker's limit", "checker",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable "
     "Linux_xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx_64 a.so a.ami\n[End Algorithmic Model]\n[End]\n"},
    {4613, "ERROR", "Bits is a whole number", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_x a.so a.ami\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4614, "ERROR", "a file name fits the checker's limit", "checker",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 "
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx.so a.ami\n[End Algorithmic Model]\n[End]\n"},
    {4615, "ERROR", "an [Algorithmic Model] block names an executable", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable\n[End Algorithmic Model]\n[End]\n"},
    {4616, "ERROR", "the executable named is beside the IBIS file", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so a.ami\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4617, "ERROR", "the AMI parameter file has the extension .ami", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so params\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4618, "ERROR", "the AMI parameter file named is beside the IBIS file", "5.0 §10 [Algorithmic Model]",
     "[IBIS Ver] 5.0\n[File Name] t.ibs\n[File Rev] 1\n[Model] m\nModel_type Input\nVinl = 0.8\nVinh = 2\nC_comp 1p NA "
     "NA\n[Voltage Range] 3 NA NA\n[Algorithmic Model]\nExecutable Linux_gcc_64 a.so a.ami\n[End Algorithmic "
     "Model]\n[End]\n"},
    {4619, "ERROR", "parentheses of an .ami file balance", "5.0 §10 AMI parameter file"},
    {4620, "ERROR", "an .ami file starts with a parenthesis", "5.0 §10 AMI parameter file"},
    {4621, "PROGRAM BUG", "the .ami parser failed inside", "checker"},
    {4622, "ERROR", "Reserved_Parameters is required", "5.0 §10 AMI parameter file"},
    {4623, "ERROR", "the root holds Reserved_Parameters, Model_Specific and Description", "5.0 §10 AMI parameter file"},
    {4624, "ERROR", "Reserved_Parameters holds the reserved parameters of the file's AMI version",
     "5.0 §10; later versions add their own"},
    {4625, "ERROR", "the parameters the version requires are given", "5.0 §10 AMI parameter file"},
    {4626, "ERROR", "a parameter's Format is one the standard allows for it", "5.0 §10 AMI parameter file"},
    {4627, "ERROR", "Usage and Type take the values the standard allows for the parameter",
     "5.0 §10 AMI parameter file"},
    {4628, "ERROR", "Usage, Type, Format, Default and Description are leaves", "5.0 §10 AMI parameter file"},
    {4629, "ERROR", "a parameter holds only the items the standard allows it", "5.0 §10 AMI parameter file"},
    {4630, "ERROR", "Usage, Type and Description (and Format where needed) are given", "5.0 §10 AMI parameter file"},
    {4632, "ERROR", "a Format gives its number of values", "5.0 §10 AMI parameter file"},
    {4634, "ERROR", "a list holds at least two elements", "5.0 §10 AMI parameter file"},
    {4635, "ERROR", "branches and leaves hold a name and a value", "5.0 §10 AMI parameter file"},
    {4640, "NOTE", "the reserved parameters are checked for the AMI_Version the file names", "5.1 §10 AMI_Version"},
    {4641, "ERROR", "Reserved_Parameters comes before Model_Specific",
     "5.1 §10 AMI parameter file (BIRD 139.2): \"the Reserved_Parameter sub-tree shall appear before the "
     "Model_Specific sub-tree\""},
    {4700, "ERROR", "a file named is a regular file", "checker (a directory, pipe or device is not read)"},
    {4701, "ERROR", "an .ami file holds at most the checker's limit", "checker (bounded memory)"},
};

const int giFileCheckRuleCount = static_cast<int>(sizeof(gaFileCheckRules) / sizeof(gaFileCheckRules[0]));
