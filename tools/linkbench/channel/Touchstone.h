// Touchstone network data files (.sNp): versions 1.x and 2.0, read into
// S-parameters with frequencies in hertz.
//
// Read: the option line (frequency unit, parameter, RI/MA/DB, reference
// resistance), comments anywhere ('!' to the end of the line), frequency
// points spread over continuation lines, the 1.x two-port column order
// (11 21 12 22), and the 2.0 keywords [Version], [Number of Ports],
// [Two-Port Data Order], [Number of Frequencies], [Number of Noise
// Frequencies], [Reference], [Matrix Format] (Full, Lower, Upper),
// [Network Data], [Noise Data] and [End]; [Begin Information] ...
// [End Information] is skipped. Noise parameters are skipped and counted.
// Refused with a clear message: Y, Z, H and G parameter files (only
// S-parameters are read; convert the file first) and mixed-mode files
// ([Mixed-Mode Order]).
//
// A file that cannot be read gives "NAME:LINE: reason" and no data; the
// reader never throws for anything a file holds.
//
// The text is read as a stream, one piece at a time: memory follows the data
// kept (the frequencies and S-parameters), not the size of the file or of
// its lines. Line ends are LF, CR LF or CR alone. A NUL byte is refused as
// such (a binary file, or text in UTF-16). What is read is capped
// (TouchstoneLimits::maxBytes), a caller that can use only some port counts
// has the others refused as soon as the file gives its count (its name for
// a 1.x file, [Number of Ports] for 2.0), and a file path must name a
// regular file: a directory, a FIFO or a device is refused before anything
// is opened for reading.
#pragma once

#include <complex>
#include <cstddef>
#include <string>
#include <vector>

struct TouchstoneNetwork {
  static constexpr int kMaxPorts = 128;

  int version = 1;            // 1 for 1.x files, 2 for [Version] 2.0
  int ports = 0;              // 1 .. kMaxPorts
  std::string format = "MA";  // how the file wrote its values: RI, MA or DB
  std::string frequencyUnit = "GHz";
  std::vector<std::complex<double>> reference;  // ohms, one per port
  std::vector<double> frequency;                // hertz, in file order, never decreasing
  // ports * ports values per frequency point, row-major: row = port the wave
  // leaves by, column = port it enters by, so S21 is row 2, column 1.
  std::vector<std::complex<double>> s;
  size_t noiseLines = 0;           // noise parameter lines skipped
  std::vector<std::string> notes;  // what was read but is worth knowing, "line N: ..."
  size_t repeatedFrequencies = 0;  // points whose frequency repeats the one before

  size_t Points() const { return frequency.size(); }
  // S(row, column) at frequency point `point`; ports count from 1.
  std::complex<double> S(size_t point, int row, int column) const {
    const size_t n = static_cast<size_t>(ports);
    return s[point * n * n + static_cast<size_t>(row - 1) * n + static_cast<size_t>(column - 1)];
  }
};

// What a reading accepts beyond the format itself.
struct TouchstoneLimits {
  // Bytes read at most: a 4-port file of about half a million frequencies.
  static constexpr unsigned long long kDefaultMaxBytes = 256ull << 20;
  // Notes listed at most per file, and repeated frequencies noted one by one
  // (the rest are counted).
  static constexpr size_t kMaxNotes = 100;

  unsigned long long maxBytes = kDefaultMaxBytes;
  // The port counts the caller can use (empty: any from 1 to kMaxPorts), and
  // what the refusal of another says: "a N-port network " + portsRefusal.
  std::vector<int> ports;
  std::string portsRefusal;
};

// The port count that a name ending in .sNp gives (N from 1 to kMaxPorts,
// any case), or 0.
int TouchstonePortsFromName(const std::string& name);

// NETWORK as Touchstone 1.1 text: each of COMMENTS as a "! " line, the
// option line "# GHz S RI R r" (r: the first port's reference), then per
// frequency the values as real and imaginary parts, in the version 1 order
// (one port: S11; two: S11 S21 S12 S22 on one line; more: row by row, each
// row on its own lines of at most four values). ReadTouchstone reads back
// the same network (to the eight significant digits written).
std::string WriteTouchstone(const TouchstoneNetwork& network, const std::vector<std::string>& comments);

// Reads TEXT, the content of a file called NAME (a 1.x file takes its port
// count from NAME's .sNp ending). On failure returns false, leaves NETWORK
// empty and sets ERROR to "NAME:LINE: reason" or "NAME: reason".
bool ReadTouchstone(const std::string& text, const std::string& name, TouchstoneNetwork& network, std::string& error,
                    const TouchstoneLimits& limits = {});

// Reads the file at PATH the same way, in pieces; a path that is not a
// regular file, or a file that cannot be opened, is an error too.
bool ReadTouchstoneFile(const std::string& path, TouchstoneNetwork& network, std::string& error,
                        const TouchstoneLimits& limits = {});
