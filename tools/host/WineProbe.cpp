#include "tools/host/WineProbe.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

bool Executable(const std::string& path) { return !path.empty() && access(path.c_str(), X_OK) == 0; }

std::string OnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "";
  for (size_t from = 0; from <= folders.size();) {
    size_t colon = folders.find(':', from);
    if (colon == std::string::npos) colon = folders.size();
    const std::string folder = folders.substr(from, colon - from);
    if (!folder.empty() && Executable(folder + "/" + name)) return folder + "/" + name;
    from = colon + 1;
  }
  return "";
}

// In the forked process: the output file for stdout and stderr, nothing on
// stdin, Wine quiet unless asked otherwise; then Wine. Never returns.
[[noreturn]] void StartWine(const std::vector<std::string>& args, const std::string& outputPath, int errorFd) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  const int output = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int nothing = open("/dev/null", O_RDONLY);
  if (output >= 0) dup2(output, 1), dup2(output, 2);
  if (nothing >= 0) dup2(nothing, 0);
  setenv("WINEDEBUG", "-all", 0);
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  execv(argv[0], argv.data());
  const int error = errno;
  [[maybe_unused]] const ssize_t told = write(errorFd, &error, sizeof error);
  _exit(127);
}

}  // namespace

bool WineProbe::IsWindowsLibrary(const std::string& path) {
  char magic[2] = {};
  std::ifstream in(path, std::ios::binary);
  return in.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

std::string WineProbe::WindowsPath(const std::string& path) {
  char resolved[PATH_MAX];
  std::string absolute = realpath(path.c_str(), resolved) ? resolved : path;
  if (!absolute.empty() && absolute[0] != '/') {
    char here[PATH_MAX];
    if (getcwd(here, sizeof here)) absolute = std::string(here) + "/" + absolute;
  }
  for (char& c : absolute)
    if (c == '/') c = '\\';
  return "Z:" + absolute;
}

std::string WineProbe::FindWine() {
  for (const char* name : {"wine64", "wine"}) {
    const std::string found = OnPath(name);
    if (!found.empty()) return found;
  }
  return Executable("/usr/lib/wine/wine64") ? "/usr/lib/wine/wine64" : "";
}

std::string WineProbe::DefaultProbe() {
  char self[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return "";
  const std::string program(self, static_cast<size_t>(n));
  const std::string probe = program.substr(0, program.find_last_of('/') + 1) + kProbeName;
  return access(probe.c_str(), R_OK) == 0 ? probe : "";
}

std::string WineProbe::RunInChild(const WineProgram& programs, const ProbeRequest& request, const std::string& folder,
                                  const std::string& reportPath, const std::string& outputPath) {
  const std::string requestPath = folder + "/request";
  {
    std::ofstream out(requestPath, std::ios::binary);
    out << ProbeRequestText::Write(request);
    if (!out.flush()) return "error cannot write " + requestPath;
  }
  const std::vector<std::string> args = {programs.wine, programs.probe, request.probe, WindowsPath(requestPath),
                                         WindowsPath(reportPath)};
  int errors[2] = {-1, -1};
  if (pipe2(errors, O_CLOEXEC) != 0) return std::string("error no pipe: ") + std::strerror(errno);
  const pid_t pid = fork();
  if (pid == 0) StartWine(args, outputPath, errors[1]);
  close(errors[1]);
  if (pid < 0) {
    close(errors[0]);
    return std::string("error cannot start a process: ") + std::strerror(errno);
  }
  int error = 0;
  const bool failed = read(errors[0], &error, sizeof error) == static_cast<ssize_t>(sizeof error);
  close(errors[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (failed) return "error cannot run " + programs.wine + ": " + std::strerror(error);
  if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
  return "exit " + std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
}

WineProbe::Ending WineProbe::Ended(const std::string& bytes) {
  Ending ending;
  if (bytes.rfind("error ", 0) == 0) {
    ending.error = bytes.substr(6);
    return ending;
  }
  ending.started = true;
  if (bytes.rfind("signal ", 0) == 0) ending.signal = std::atoi(bytes.c_str() + 7);
  if (bytes.rfind("exit ", 0) == 0) ending.exitStatus = std::atoi(bytes.c_str() + 5);
  return ending;
}
