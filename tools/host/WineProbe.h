// A Windows model library (a DLL) qualified on Linux: each probe runs in
// tessalune-probe.exe (tools/probe/, built by the `windows` preset) under
// Wine, started from the child process IsolatedRun makes for the check, so
// that its time limit, its memory limit and its process group hold Wine's
// processes too. The probe reads its request from a file and writes its
// report as the Linux probes do.
#pragma once

#include <string>

#include "tools/host/ProbeRequest.h"

// The programs a DLL's probes need.
struct WineProgram {
  std::string wine;   // Wine's loader
  std::string probe;  // tessalune-probe.exe
};

namespace WineProbe {

// The probe program's file name, looked for beside `tessalune`.
constexpr const char* kProbeName = "tessalune-probe.exe";

// Whether the file begins as a Windows executable does ("MZ").
bool IsWindowsLibrary(const std::string& path);

// The absolute path as Wine's drive Z: sees it ("Z:\home\me\model.dll").
std::string WindowsPath(const std::string& path);

// Wine's loader: wine64 or wine on the PATH, else Debian's
// /usr/lib/wine/wine64; empty when there is none.
std::string FindWine();

// tessalune-probe.exe beside this program (empty when it is not there).
std::string DefaultProbe();

// In the check's child process: writes the request to `folder`/request and
// runs `WINE PROBE NAME REQUEST REPORT` (the paths as Wine sees them), its
// printing going to `outputPath`, and waits for it. Returns how it ended,
// for Ended: "exit N", "signal N", or "error TEXT" when it could not start.
std::string RunInChild(const WineProgram& programs, const ProbeRequest& request, const std::string& folder,
                       const std::string& reportPath, const std::string& outputPath);

// How the probe's process ended, read back from what RunInChild returned.
struct Ending {
  bool started = false;
  int exitStatus = 0;  // when it exited
  int signal = 0;      // when a signal ended it
  std::string error;   // when it could not start
};
Ending Ended(const std::string& bytes);

}  // namespace WineProbe
