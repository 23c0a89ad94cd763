#include "tools/linkbench/channel/Touchstone.h"

#include "tests/TestFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <string>

namespace {

TouchstoneNetwork Read(const std::string& text, const std::string& name) {
  TouchstoneNetwork network;
  std::string error;
  EXPECT_TRUE(ReadTouchstone(text, name, network, error)) << error;
  return network;
}

// The error for TEXT, which must not read.
std::string Error(const std::string& text, const std::string& name = "t.s2p") {
  TouchstoneNetwork network;
  std::string error;
  EXPECT_FALSE(ReadTouchstone(text, name, network, error)) << text;
  EXPECT_EQ(network.Points(), 0u);
  return error;
}

void ExpectComplex(std::complex<double> actual, double re, double im) {
  EXPECT_NEAR(actual.real(), re, 1e-12);
  EXPECT_NEAR(actual.imag(), im, 1e-12);
}

}  // namespace

TEST(Touchstone, PortsComeFromTheNameOfAVersion1File) {
  EXPECT_EQ(TouchstonePortsFromName("a/b/line.s2p"), 2);
  EXPECT_EQ(TouchstonePortsFromName("X.S4P"), 4);
  EXPECT_EQ(TouchstonePortsFromName("big.s12p"), 12);
  EXPECT_EQ(TouchstonePortsFromName("ring slot.s1p"), 1);
  EXPECT_EQ(TouchstonePortsFromName("x.s0p"), 0);
  EXPECT_EQ(TouchstonePortsFromName("x.s999p"), 0);
  EXPECT_EQ(TouchstonePortsFromName("x.sp"), 0);
  EXPECT_EQ(TouchstonePortsFromName("x.ts"), 0);
  EXPECT_EQ(TouchstonePortsFromName("s2p"), 0);
}

TEST(Touchstone, Version1TwoPortReadsTheOptionLineAndThe21_12ColumnOrder) {
  // Comments anywhere, mixed case, tabs; 11 21 12 22 on each line.
  const std::string text =
      "! header comment\n"
      "# mhz s ri r 75 ! trailing comment\n"
      "100\t0.1 0.2  0.3 0.4  0.5 0.6  0.7 0.8\n"
      "! between points\n"
      "\n"
      "200 1 2 3 4 5 6 7 8 ! more\n";
  TouchstoneNetwork n = Read(text, "t.s2p");
  EXPECT_EQ(n.version, 1);
  EXPECT_EQ(n.ports, 2);
  EXPECT_EQ(n.format, "RI");
  EXPECT_EQ(n.frequencyUnit, "MHz");
  ASSERT_EQ(n.Points(), 2u);
  EXPECT_EQ(n.frequency[0], 100e6);
  EXPECT_EQ(n.frequency[1], 200e6);
  ASSERT_EQ(n.reference.size(), 2u);
  EXPECT_EQ(n.reference[1], std::complex<double>(75.0, 0.0));
  ExpectComplex(n.S(0, 1, 1), 0.1, 0.2);
  ExpectComplex(n.S(0, 2, 1), 0.3, 0.4);
  ExpectComplex(n.S(0, 1, 2), 0.5, 0.6);
  ExpectComplex(n.S(0, 2, 2), 0.7, 0.8);
  ExpectComplex(n.S(1, 2, 1), 3, 4);
}

TEST(Touchstone, MagnitudeAngleAndDecibelsBecomeComplexValues) {
  TouchstoneNetwork ma = Read("# Hz S MA\n1 2 90\n", "t.s1p");
  ExpectComplex(ma.S(0, 1, 1), 0.0, 2.0);
  EXPECT_EQ(ma.reference[0], std::complex<double>(50.0, 0.0));  // the default R
  TouchstoneNetwork db = Read("# khz S DB R 50\n1 -20 180\n2 6.0205999132796239 -45\n", "t.s1p");
  EXPECT_EQ(db.frequency[1], 2e3);
  ExpectComplex(db.S(0, 1, 1), -0.1, 0.0);
  ExpectComplex(db.S(1, 1, 1), std::sqrt(2.0), -std::sqrt(2.0));
  // No option line at all: GHz, MA, R 50, with a note.
  TouchstoneNetwork bare = Read("1.5 0.5 -90\n", "t.s1p");
  EXPECT_EQ(bare.frequency[0], 1.5e9);
  ExpectComplex(bare.S(0, 1, 1), 0.0, -0.5);
  ASSERT_EQ(bare.notes.size(), 1u);
  // A later option line is ignored.
  TouchstoneNetwork twice = Read("# Hz S RI\n1 1 0\n# GHz S DB\n2 2 0\n", "t.s1p");
  EXPECT_EQ(twice.frequency[1], 2.0);
  ExpectComplex(twice.S(1, 1, 1), 2.0, 0.0);
  EXPECT_EQ(twice.notes.size(), 1u);
}

TEST(Touchstone, FourPortRowsContinueOverLinesInAnyLayout) {
  // Row-major S11 S12 S13 S14 / S21 ...; values k = 1 .. 16 as RI (k, -k).
  std::string rows = "# GHz S RI R 50\n";
  std::string wrapped = rows;
  for (int point = 0; point < 2; ++point) {
    rows += std::to_string(point + 1);
    wrapped += std::to_string(point + 1) + "\n";
    for (int k = 1; k <= 16; ++k) {
      const std::string pair = " " + std::to_string(k) + " -" + std::to_string(k);
      rows += pair + (k % 4 == 0 ? "\n" : "");
      wrapped += pair + (k % 3 == 0 ? " ! three pairs a line\n" : "");
    }
    wrapped += "\n";
  }
  for (const std::string& text : {rows, wrapped}) {
    TouchstoneNetwork n = Read(text, "t.s4p");
    ASSERT_EQ(n.Points(), 2u);
    ExpectComplex(n.S(1, 1, 1), 1, -1);
    ExpectComplex(n.S(1, 1, 4), 4, -4);
    ExpectComplex(n.S(1, 2, 1), 5, -5);
    ExpectComplex(n.S(1, 4, 3), 15, -15);
  }
}

TEST(Touchstone, Version1TwoPortNoiseParametersAreSkipped) {
  const std::string text =
      "# GHz S MA R 50\n"
      "1 0 0 1 0 0 0 0 0\n"
      "2 0 0 1 0 0 0 0 0\n"
      "2 0 0 1 0 0 0 0 0\n"  // a repeated frequency is kept, with a note
      "! noise: frequency, Fmin, |Gopt|, angle, Rn\n"
      "1 0.5 0.1 30 0.2\n"
      "2 0.6 0.1 40 0.2\n";
  TouchstoneNetwork n = Read(text, "amp.s2p");
  EXPECT_EQ(n.Points(), 3u);
  EXPECT_EQ(n.noiseLines, 2u);
  ASSERT_EQ(n.notes.size(), 1u);
  EXPECT_NE(n.notes[0].find("line 4"), std::string::npos) << n.notes[0];
  // A repeated frequency with 5 values starts the noise data too.
  EXPECT_EQ(Read("# GHz S MA R 50\n2 0 0 1 0 0 0 0 0\n2 0.5 0.1 30 0.2\n", "a.s2p").noiseLines, 1u);
}

TEST(Touchstone, Version2KeywordsReferencesOrdersAndMatrixFormats) {
  const std::string twoPort =
      "! comment first\n"
      "[Version] 2.0\n"
      "# GHz S RI R 50\n"
      "[Number of Ports] 2\n"
      "[Two-Port Data Order] 12_21\n"
      "[Number of Frequencies] 2\n"
      "[Number of Noise Frequencies] 1\n"
      "[Reference] 25\n"
      "75 ! continues on the next line\n"
      "[Network Data]\n"
      "1 11 0 12 0 21 0 22 0\n"
      "2 11 1\n"
      "  12 1 21 1 22 1\n"
      "[Noise Data]\n"
      "1 0.5 0.1 30 0.2\n"
      "[End]\n"
      "anything after [End] is not read\n";
  TouchstoneNetwork n = Read(twoPort, "x.ts");
  EXPECT_EQ(n.version, 2);
  ASSERT_EQ(n.Points(), 2u);
  EXPECT_EQ(n.noiseLines, 1u);
  EXPECT_EQ(n.reference[0], std::complex<double>(25.0, 0.0));
  EXPECT_EQ(n.reference[1], std::complex<double>(75.0, 0.0));
  ExpectComplex(n.S(0, 1, 2), 12, 0);
  ExpectComplex(n.S(0, 2, 1), 21, 0);
  ExpectComplex(n.S(1, 2, 2), 22, 1);

  std::string order21 = twoPort;
  order21.replace(order21.find("12_21"), 5, "21_12");
  TouchstoneNetwork swapped = Read(order21, "x.ts");
  ExpectComplex(swapped.S(0, 1, 2), 21, 0);
  ExpectComplex(swapped.S(0, 2, 1), 12, 0);

  // Lower and Upper give half the matrix, mirrored; an information block is skipped.
  const std::string head =
      "[Version] 2.0\n# Hz S RI\n[Number of Ports] 3\n[Number of Frequencies] 1\n"
      "[Begin Information]\nanything [Whatever]\n[End Information]\n";
  TouchstoneNetwork lower = Read(head + "[Matrix Format] Lower\n[Network Data]\n5 1 0\n2 0 3 0\n4 0 5 0 6 0\n", "x");
  TouchstoneNetwork upper = Read(head + "[Matrix Format] upper\n[Network Data]\n5 1 0 2 0 4 0\n3 0 5 0\n6 0\n", "x");
  for (const TouchstoneNetwork* m : {&lower, &upper}) {
    ExpectComplex(m->S(0, 3, 1), 4, 0);
    ExpectComplex(m->S(0, 1, 3), 4, 0);
    ExpectComplex(m->S(0, 3, 2), 5, 0);
    ExpectComplex(m->S(0, 2, 2), 3, 0);
  }
  // A complex reference as some writers give it.
  TouchstoneNetwork complexR = Read("# GHz S RI R (50+50j)\n1 0 0\n", "t.s1p");
  EXPECT_EQ(complexR.reference[0], std::complex<double>(50.0, 50.0));
}

TEST(Touchstone, BadFilesSayWhatAndWhere) {
  struct Case {
    std::string text, name, expected;
  };
  const std::string v2 = "[Version] 2.0\n# GHz S RI\n[Number of Ports] 1\n[Number of Frequencies] 2\n";
  const Case cases[] = {
      {"# GHz S RI\n1 0 0 0 0 0 0 0 0\n2 0 0 0 x 0 0 0 0\n", "t.s2p", "t.s2p:3: not a number: x"},
      {"# GHz S RI\n1 0 nan\n", "t.s1p", "t.s1p:2: not a number: nan"},
      {"# GHz S RI\n1 0 0x10\n", "t.s1p", "t.s1p:2: not a number: 0x10"},
      {"# GHz S RI\n1 0 1e999\n", "t.s1p", "t.s1p:2: not a number: 1e999"},
      {"# GHz S RI\n1 0 0 0\n", "t.s1p", "t.s1p:2: a frequency point ends within this line"},
      {"# GHz S RI\n1 0 0 0 0 0 0\n2 0 0 0 0 0 0 0 0\n", "t.s2p", "t.s2p:3: a frequency point ends within"},
      {"# GHz S RI\n1 0 0 0 0\n  0 0\n", "t.s2p", "t.s2p:2: frequency point with 7 of its 9 numbers"},
      {"# GHz S RI\n2 0 0\n1 0 0\n", "t.s1p", "t.s1p:3: frequencies not increasing: 1e+09 Hz after 2e+09 Hz"},
      {"# GHz S RI\n-1 0 0\n", "t.s1p", "t.s1p:2: negative frequency -1"},
      {"# GHz S RI\n2 0 0 0 0 0 0 0 0\n1 0 0 0 0 0 0 0 0\n", "t.s2p", "a noise parameter line holds 5 values"},
      {"# GHz S RI\n1 0 0\n", "noname", "noname: cannot tell the number of ports"},
      {"# GHz S RI\n1 0 0\n", "t.s0p", "cannot tell the number of ports"},
      {"# GHz Z RI\n1 0 0\n", "t.s1p", "t.s1p:1: Z-parameter data: only S-parameter files can be read"},
      {"# GHz Y RI\n1 0 0\n", "t.s1p", "Y-parameter data"},
      {"# GHz S XY\n", "t.s1p", "t.s1p:1: option line: unknown word XY"},
      {"# GHz S RI R\n", "t.s1p", "R needs a positive reference resistance"},
      {"# GHz S RI R -5\n", "t.s1p", "R needs a positive reference resistance, not -5"},
      {"# GHz S RI\n", "t.s1p", "t.s1p: no frequency points"},
      {"", "t.s1p", "no frequency points"},
      {"# GHz S RI\n[Number of Ports] 1\n", "t.s1p", "t.s1p:2: keyword [Number of Ports] in a file that does not"},
      {"[Version] 3.0\n", "x", "x:1: [Version] 3.0: only 2.0"},
      {"[Version] 2.0\n[Version] 2.0\n", "x", "x:2: [Version] must be the first line"},
      {"[Version] 2.0\n[Number of Ports] 0\n", "x", "x:2: a 0-port file cannot be read"},
      {"[Version] 2.0\n[Number of Ports] 200\n", "x", "a 200-port file cannot be read"},
      {"[Version] 2.0\n[Number of Ports] two\n", "x", "[Number of Ports] needs one whole number"},
      {"[Version] 2.0\n[Frobnicate] 1\n", "x", "x:2: unknown keyword [Frobnicate]"},
      {"[Version] 2.0\n[Mixed-Mode Order] D2,1 D1,2\n", "x", "mixed-mode data ([Mixed-Mode Order]) cannot be read"},
      {"[Version] 2.0\n[Number of Ports\n", "x", "x:2: a keyword without its closing ']'"},
      {v2 + "[Network Data]\n1 0 0\n2 0 0\n3 0 0\n[End]\n", "x",
       "x:4: [Number of Frequencies] says 2, the file holds 3"},
      {v2 + "[Network Data]\n1 0 0\n[End]\n", "x", "[Number of Frequencies] says 2, the file holds 1"},
      {v2 + "1 0 0\n", "x", "x:5: numbers outside [Network Data]"},
      {v2, "x", "x: no [Network Data]"},
      {v2 + "[Reference] 50 50\n", "x", "x:5: [Reference] holds more than 1 values"},
      {"[Version] 2.0\n# GHz S RI\n[Number of Ports] 2\n[Number of Frequencies] 1\n[Network Data]\n", "x",
       "x:5: a 2-port file needs [Two-Port Data Order] before [Network Data]"},
      {"[Version] 2.0\n[Number of Ports] 1\n[Number of Frequencies] 1\n[Network Data]\n", "x",
       "x:4: [Network Data] before the option line"},
      {v2 + "[Network Data]\n1 0 0\n[Number of Ports] 1\n", "x", "x:7: [Number of Ports] inside [Network Data]"},
      {"[Version] 2.0\n# GHz S RI\n[Number of Ports] 2\n[Reference] 50\n[Two-Port Data Order] 12_21\n", "x",
       "x:5: [Reference] needs 2 values, 1 given before [Two-Port Data Order]"},
  };
  for (const Case& c : cases) {
    const std::string error = Error(c.text, c.name);
    EXPECT_NE(error.find(c.expected), std::string::npos) << "got: " << error << "\nwanted: " << c.expected;
  }
}

TEST(Touchstone, FileReading) {
  TouchstoneNetwork network;
  std::string error;
  EXPECT_FALSE(ReadTouchstoneFile("/nonexistent/x.s2p", network, error));
  EXPECT_EQ(error, "/nonexistent/x.s2p: cannot open the file");
  // A value far past 1e308 after conversion from dB is refused, not infinite.
  EXPECT_NE(Error("# GHz S DB\n1 7000 0\n", "t.s1p").find("t.s1p:2: value out of range"), std::string::npos);
  ExpectComplex(Read("# GHz S MA\n1 1 -180\n", "t.s1p").S(0, 1, 1), -1.0, 0.0);
}

// Line ends of any system: CR alone (old Macintosh files) as well as LF and
// CR LF, mixed in one file; a NUL byte is named as such.
TEST(Touchstone, CrLineEndsAreLineEndsAndANulByteIsNamed) {
  const TouchstoneNetwork cr = Read("! cr\r# GHz S RI\r1 0 0 0.9 0 0.9 0 0 0\r\n2 0 0\r0.8 0 0.8 0 0 0\n", "t.s2p");
  ASSERT_EQ(cr.Points(), 2u);
  ExpectComplex(cr.S(1, 2, 1), 0.8, 0.0);
  EXPECT_EQ(Error("# GHz S RI\r1 0 0 0.9 0 0.9 0 0 0\r2 0 0 0 x 0 0 0 0\r"), "t.s2p:3: not a number: x");
  static const char kNul[] = "# GHz S RI\n1 0 0 0.9 0 0.9 0 0 0\n2 0 0 \0-10 0 0 0 0 0\n";
  EXPECT_EQ(Error(std::string(kNul, sizeof kNul - 1)),
            "t.s2p:3: a NUL byte: this is not a text file (binary data, or text in UTF-16?)");
  // A word far too long to be a number is shown cut short.
  const std::string longWord = Error("# GHz S RI\n1 0 " + std::string(1000, '7') + "x 0 0 0 0 0 0\n");
  EXPECT_NE(longWord.find("t.s2p:2: not a number: 7777"), std::string::npos) << longWord;
  EXPECT_NE(longWord.find("... (1001 characters)"), std::string::npos) << longWord;
}

// A caller that can use only some port counts has the others refused as
// soon as the file gives its count, before any data is read; what is read is
// capped.
TEST(Touchstone, PortCountsAndSizeAreRefusedAsSoonAsKnown) {
  TouchstoneLimits limits;
  limits.ports = {2, 4};
  limits.portsRefusal = "is not wanted here";
  TouchstoneNetwork network;
  std::string error;
  // The data after the count would be refused too; the count comes first.
  EXPECT_FALSE(ReadTouchstone("[Version] 2.0\n[Number of Ports] 8\nnot a number\n", "x", network, error, limits));
  EXPECT_EQ(error, "x:2: a 8-port network is not wanted here");
  EXPECT_FALSE(ReadTouchstone("# GHz S RI\nnot a number\n", "t.s3p", network, error, limits));
  EXPECT_EQ(error, "t.s3p: a 3-port network is not wanted here");
  EXPECT_TRUE(ReadTouchstone("# GHz S RI\n1 0 0 0.9 0 0.9 0 0 0\n", "t.s2p", network, error, limits)) << error;

  limits.maxBytes = 100;
  EXPECT_FALSE(ReadTouchstone(std::string(101, ' '), "t.s2p", network, error, limits));
  EXPECT_EQ(error, "t.s2p: more than 100 bytes, the most read from one Touchstone file");
}

// 100,000 repeated frequencies give 100 notes and a count, not 100,000 notes.
TEST(Touchstone, RepeatedFrequencyNotesStopAtAHundredAndAreCounted) {
  std::string text = "# GHz S RI\n1 0 0 0.9 0 0.9 0 0 0\n";
  for (int i = 0; i < 5000; ++i) text += "2 0 0 0.8 0 0.8 0 0 0\n";
  text += "3 0 0 0.7 0 0.7 0 0 0\n";
  const TouchstoneNetwork n = Read(text, "t.s2p");
  EXPECT_EQ(n.Points(), 5002u);
  EXPECT_EQ(n.repeatedFrequencies, 4999u);
  ASSERT_EQ(n.notes.size(), TouchstoneLimits::kMaxNotes + 1);
  EXPECT_EQ(n.notes[0], "line 4: frequency 2e+09 Hz repeats the one before");
  EXPECT_EQ(n.notes.back(), "4999 repeated frequencies in all, the first 100 listed");
  // Other notes are capped the same way.
  std::string options = "# GHz S RI\n";
  for (int i = 0; i < 300; ++i) options += "# GHz S RI\n";
  const TouchstoneNetwork o = Read(options + "1 0 0\n", "t.s1p");
  ASSERT_EQ(o.notes.size(), TouchstoneLimits::kMaxNotes + 1);
  EXPECT_EQ(o.notes.back(), "200 further notes not listed");
}

// A path that is not a regular file is refused before it is opened for
// reading: a directory by name, a FIFO without waiting for a writer, a
// device without reading it.
TEST(Touchstone, ADirectoryFifoOrDeviceIsRefusedAtOnce) {
  TestFolder folder;
  TouchstoneNetwork network;
  std::string error;
  EXPECT_FALSE(ReadTouchstoneFile(folder.path.string(), network, error));
  EXPECT_EQ(error, folder.path.string() + ": is a directory");
  const std::string fifo = (folder.path / "line.s2p").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadTouchstoneFile(fifo, network, error));
  EXPECT_EQ(error, fifo + ": not a regular file (a FIFO, a device or a socket): only a file can be read");
  EXPECT_FALSE(ReadTouchstoneFile("/dev/zero", network, error));
  EXPECT_EQ(error, "/dev/zero: not a regular file (a FIFO, a device or a socket): only a file can be read");
  // A file over the cap is refused by its size, before it is read.
  TouchstoneLimits small;
  small.maxBytes = 1000;
  const std::string big = folder.Write("big.s1p", "# GHz S RI\n" + std::string(2000, '\n') + "1 0 0\n");
  EXPECT_FALSE(ReadTouchstoneFile(big, network, error, small));
  EXPECT_EQ(error, big + ": more than 1000 bytes, the most read from one Touchstone file");
  // Read in pieces, a file gives what the text gives.
  std::string text =
      "[Version] 2.0\r\n# MHz S MA R 50\r\n[Number of Ports] 1\r\n[Number of Frequencies] 20000\r\n"
      "[Network Data]\r\n";
  for (int i = 1; i <= 20000; ++i) text += std::to_string(i) + " 0.5 " + std::to_string(i % 90) + " ! point\r\n";
  text += "[End]\r\n";
  const std::string file = folder.Write("many.s1p", text);
  ASSERT_TRUE(ReadTouchstoneFile(file, network, error)) << error;
  TouchstoneNetwork whole = Read(text, file);
  EXPECT_EQ(network.frequency, whole.frequency);
  EXPECT_EQ(network.s, whole.s);
  EXPECT_EQ(network.Points(), 20000u);
}

// What WriteTouchstone writes reads back as the same network: every S(row,
// column) in its place (the two-port 11, 21, 12, 22 order, and rows of more
// than four values wrapped), to the eight significant digits written.
TEST(TouchstoneWrite, ReadsBackWhatItWrites) {
  for (int ports : {1, 2, 4, 5}) {
    TouchstoneNetwork written;
    written.ports = ports;
    written.reference.assign(static_cast<size_t>(ports), 42.5);
    written.frequency = {0.0, 1.25e9, 2.5e9};
    for (size_t point = 0; point < written.frequency.size(); ++point)
      for (int row = 1; row <= ports; ++row)
        for (int column = 1; column <= ports; ++column)
          written.s.emplace_back(0.01 * row + 0.001 * column + 0.1 * static_cast<double>(point),
                                 -0.02 * column + 1e-4 * row);
    const std::string text = WriteTouchstone(written, {"a comment", ""});
    EXPECT_EQ(text.rfind("! a comment\n! \n# GHz S RI R 42.5\n", 0), 0u) << text;
    TouchstoneNetwork read;
    std::string error;
    const std::string name = "written.s" + std::to_string(ports) + "p";
    ASSERT_TRUE(ReadTouchstone(text, name, read, error)) << error << "\n" << text;
    ASSERT_EQ(read.ports, ports);
    ASSERT_EQ(read.Points(), written.Points());
    EXPECT_EQ(read.format, "RI");
    EXPECT_NEAR(read.reference[0].real(), 42.5, 1e-12);
    for (size_t point = 0; point < written.Points(); ++point) {
      EXPECT_DOUBLE_EQ(read.frequency[point], written.frequency[point]);
      for (int row = 1; row <= ports; ++row) {
        for (int column = 1; column <= ports; ++column) {
          EXPECT_NEAR(read.S(point, row, column).real(), written.S(point, row, column).real(), 1e-9)
              << ports << " ports, S" << row << column;
          EXPECT_NEAR(read.S(point, row, column).imag(), written.S(point, row, column).imag(), 1e-9);
        }
      }
    }
  }
  // The two-port line itself: S11, S21, S12, S22.
  TouchstoneNetwork two;
  two.ports = 2;
  two.frequency = {1e9};
  two.s = {{0.11, 0}, {0.12, 0}, {0.21, 0}, {0.22, 0}};
  const std::string text = WriteTouchstone(two, {});
  EXPECT_NE(text.find("\n1             1.10000000e-01  0.00000000e+00  2.10000000e-01  0.00000000e+00  1.20000000e-01  "
                      "0.00000000e+00  2.20000000e-01  0.00000000e+00\n"),
            std::string::npos)
      << text;
}
