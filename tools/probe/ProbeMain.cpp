// tessalune-probe.exe: the probes of `tessalune qualify` for a Windows DLL,
// run by `qualify` under Wine, one process per check:
//
//   tessalune-probe.exe PROBE REQUEST REPORT
//
// reads the request (tools/host/ProbeRequest.h, as text), loads the DLL,
// runs the probe and writes the report line by line, as the Linux child
// does (tools/host/ProbeReport.h). Its first line names the program, so
// that `qualify` knows the report for one of ours; a fault that no one
// handles is written as an `exception` line (the code, the address of the
// instruction, the address it touched), an abort() as an `abort` line,
// before the process ends. Exits 0 once the probe is done, 2 when the
// request cannot be read.
#include <io.h>
#include <windows.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/host/ProbePlatform.h"
#include "tools/host/ProbeReport.h"
#include "tools/host/ProbeRequest.h"
#include "tools/host/QualifyProbes.h"

namespace {

constexpr const char* kProgram = "tessalune-probe 1";
constexpr size_t kMaxRequest = size_t{16} << 20;

HANDLE reportHandle = INVALID_HANDLE_VALUE;  // the report, for the handlers below

// A line written with the system alone: the process may be in no state for
// the C runtime.
void Emergency(const char* line) {
  DWORD written = 0;
  if (reportHandle != INVALID_HANDLE_VALUE)
    WriteFile(reportHandle, line, static_cast<DWORD>(std::strlen(line)), &written, nullptr);
}

LONG WINAPI OnUnhandled(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
  char line[160];
  const char* how = "";
  unsigned long long touched = 0;
  if ((record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION || record->ExceptionCode == EXCEPTION_IN_PAGE_ERROR) &&
      record->NumberParameters >= 2) {
    const ULONG_PTR kind = record->ExceptionInformation[0];
    how = kind == 0 ? "reading" : kind == 8 ? "executing" : "writing";
    touched = record->ExceptionInformation[1];
  }
  std::snprintf(line, sizeof line, "exception %08lx\t%llx\t%s\t%llx\n",
                static_cast<unsigned long>(record->ExceptionCode),
                reinterpret_cast<unsigned long long>(record->ExceptionAddress), how, touched);
  Emergency(line);
  TerminateProcess(GetCurrentProcess(), 0xC5);
  return EXCEPTION_EXECUTE_HANDLER;
}

void OnAbort(int) {
  Emergency("abort \n");
  TerminateProcess(GetCurrentProcess(), 3);
}

// The arguments as UTF-8, whatever the code page.
std::vector<std::string> Arguments() {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> out;
  for (int i = 0; wide && i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 1), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &text[0], size, nullptr, nullptr);
    text.resize(std::strlen(text.c_str()));
    out.push_back(text);
  }
  LocalFree(wide);
  return out;
}

}  // namespace

int main() {
  // No dialog on a fault or a missing DLL: nobody is there to close it.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  const std::vector<std::string> args = Arguments();
  if (args.size() != 4) {
    std::fprintf(stderr, "usage: tessalune-probe PROBE REQUEST REPORT\n");
    return 2;
  }
  ProbeReport report;
  if (!report.Open(args[3])) {
    std::fprintf(stderr, "tessalune-probe: cannot write %s\n", args[3].c_str());
    return 2;
  }
  reportHandle = reinterpret_cast<HANDLE>(_get_osfhandle(report.Fd()));
  report.Line("probe", kProgram);
  std::string text;
  std::string error;
  ProbeRequest request;
  if (!ProbePlatform::ReadFile(args[2], kMaxRequest, text, error) || !ProbeRequestText::Read(text, request, error) ||
      request.probe != args[1]) {
    report.Line("error", error.empty() ? "the request is for probe " + request.probe + ", not " + args[1] : error);
    return 2;
  }
  // Room on the stack for the handler after a stack overflow.
  ULONG guarantee = 64 * 1024;
  SetThreadStackGuarantee(&guarantee);
  SetUnhandledExceptionFilter(OnUnhandled);
  std::signal(SIGABRT, OnAbort);
  QualifyProbes::RunProbe(request, report);
  report.Line("done", "");
  return 0;
}
