// What the checker opens: regular files only (a directory, pipe or device is
// reported as unreadable without a read that could wait or never end), and
// .ami files up to 16 MiB.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "IbisParser/ami/AlgMod.h"
#include "IbisParser/ami/AlgModTree.h"
#include "IbisParser/ami/ParseAmi.h"
#include "IbisParser/base/ParseContext.h"
#include "tests/IbisParser/CheckerFiles.h"

namespace {

// Runs `check` in a child process, which an alarm stops after 10 s and
// (outside sanitizer builds) a 1 GiB address-space limit holds in, so that a
// check that waits on a pipe or reads without end fails the test instead of
// holding it up. Returns what `check` returned, or how the child ended.
std::string Guarded(const std::function<std::string()>& check) {
  int fds[2];
  if (pipe(fds) != 0) return "no pipe";
  const pid_t pid = fork();
  if (pid < 0) return "no fork";
  if (pid == 0) {
    close(fds[0]);
    alarm(10);
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
    const rlimit limit{rlim_t{1} << 30, rlim_t{1} << 30};
    setrlimit(RLIMIT_AS, &limit);
#endif
    const std::string text = check();
    for (size_t at = 0; at < text.size();) {
      const ssize_t n = write(fds[1], text.data() + at, text.size() - at);
      if (n <= 0) break;
      at += size_t(n);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string text;
  char chunk[4096];
  for (ssize_t n; (n = read(fds[0], chunk, sizeof chunk)) > 0;) text.append(chunk, size_t(n));
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFSIGNALED(status)) return "the check was stopped by signal " + std::to_string(WTERMSIG(status));
  return text;
}

const char kGoodAmi[] =
    "(model\n"
    "  (Reserved_Parameters\n"
    "    (Init_Returns_Impulse (Usage Info) (Type Boolean) (Default False) (Description \"no\"))\n"
    "    (GetWave_Exists (Usage Info) (Type Boolean) (Default True) (Description \"yes\"))))\n";

class CheckerFileKinds : public CheckerFiles {
 protected:
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

  // Checks `path` in `mode` in a guarded child; the messages, then
  // "result N".
  std::string GuardedCheck(const std::string& path, int mode) {
    return Guarded([&] {
      int result = -1;
      std::string text = CheckPath(path, mode, &result);
      return text + "result " + std::to_string(result);
    });
  }

  // "ERROR - Unable To Read File 'PATH': it is KIND, not a regular file\n"
  std::string NotRegular(const std::string& path, const std::string& kind) const {
    return "ERROR - Unable To Read File '" + path + "': it is " + kind + ", not a regular file\n";
  }
};

}  // namespace

TEST_F(CheckerFileKinds, DirectoriesAreReportedAsUnreadable) {
  PARSE_CONTEXT ctx;
  std::filesystem::create_directory(dir_ / "params.ami");
  std::filesystem::create_directory(dir_ / "model.ibs");
  int result = -1;
  EXPECT_EQ(CheckPath(Path("params.ami"), PARSE_MODE_AMI, &result), NotRegular(Path("params.ami"), "a directory"));
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ctx.gpszAmiText, nullptr);
  // The .ami check on its own (`tessalune check params.ami`).
  {
    MsgCapture capture;
    EXPECT_EQ(ALGMOD_CheckAmiFile(Path("params.ami").c_str()), 0);
    EXPECT_EQ(capture.Text(), NotRegular(Path("params.ami"), "a directory"));
  }
  EXPECT_EQ(CheckPath(Path("model.ibs"), PARSE_MODE_IBS, &result), NotRegular(Path("model.ibs"), "a directory") +
                                                                       "ERROR - Could not determine Version for file " +
                                                                       Path("model.ibs") + "\n");
  EXPECT_EQ(result, 0);
  // Without the extension, the name the open rules complete is the one named.
  EXPECT_EQ(CheckPath(Path("params"), PARSE_MODE_AMI), NotRegular(Path("params.ami"), "a directory"));
}

TEST_F(CheckerFileKinds, PipesAndEndlessDevicesAreNeverRead) {
  ASSERT_EQ(mkfifo(Path("pipe.ami").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo(Path("pipe.ibs").c_str(), 0600), 0);
  std::filesystem::create_symlink("/dev/zero", dir_ / "zero.ami");
  std::filesystem::create_symlink("/dev/null", dir_ / "null.ibs");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(GuardedCheck(Path("pipe.ami"), PARSE_MODE_AMI), NotRegular(Path("pipe.ami"), "a pipe") + "result 0");
  EXPECT_EQ(GuardedCheck(Path("pipe.ibs"), PARSE_MODE_IBS), NotRegular(Path("pipe.ibs"), "a pipe") +
                                                                "ERROR - Could not determine Version for file " +
                                                                Path("pipe.ibs") + "\nresult 0");
  EXPECT_EQ(GuardedCheck(Path("zero.ami"), PARSE_MODE_AMI), NotRegular(Path("zero.ami"), "a device") + "result 0");
  EXPECT_EQ(GuardedCheck(Path("null.ibs"), PARSE_MODE_IBS), NotRegular(Path("null.ibs"), "a device") +
                                                                "ERROR - Could not determine Version for file " +
                                                                Path("null.ibs") + "\nresult 0");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(CheckerFileKinds, AlgorithmicModelNamingADirectoryOrPipeIsReported) {
  PARSE_CONTEXT ctx;
  std::filesystem::create_directory(dir_ / "params.ami");
  std::filesystem::create_directory(dir_ / "code.so");
  ASSERT_EQ(mkfifo(Path("pipe.ami").c_str(), 0600), 0);
  Write("model.so", "");
  Write("good.ami", kGoodAmi);
  const std::string text = Guarded([&] {
    MsgCapture capture;
    ALGMODLIST* head = nullptr;
    ALGMOD_BeginBlock(ctx, "[Algorithmic Model]", &head);
    // Checked newest first.
    for (const char* line : {"Executable Linux_gcc_64 model.so good.ami", "Executable Linux_gcc_32 code.so pipe.ami",
                             "Executable Windows_gcc_64 model.so params.ami"})
      ALGMOD_AddLine(ctx, line, head);
    ALGMOD_MODEL model{"m", head};
    ALGMOD_CheckFiles(ctx, &model, 1, dir_.string().c_str());
    const std::string trees = head->first->next->next->tree != nullptr ? "good.ami parsed" : "no tree";
    ALGMOD_FreeList(&head);
    return capture.Text() + trees;
  });
  // What the tree check says of good.ami is not this test's business.
  const std::string unreadable = NotRegular(Path("params.ami"), "a directory") +
                                 NotRegular(Path("code.so"), "a directory") + NotRegular(Path("pipe.ami"), "a pipe");
  EXPECT_EQ(text.substr(0, unreadable.size()), unreadable);
  EXPECT_EQ(text.substr(text.size() - 15), "good.ami parsed");
}

TEST_F(CheckerFileKinds, AmiFilesLargerThan16MiBAreRefusedBeforeTheyAreRead) {
  PARSE_CONTEXT ctx;
  // Comment lines, cheap to read and collected as nothing, then a tree: at
  // 16 MiB exactly the file is read and parsed; one byte more is refused.
  const std::string tree = kGoodAmi;
  const std::string comment = std::string(1023, '|') + "\n";
  std::string text;
  text.reserve(AMIREAD_FILE_MAX);
  while (text.size() + comment.size() + tree.size() <= AMIREAD_FILE_MAX) text += comment;
  text += std::string(AMIREAD_FILE_MAX - text.size() - tree.size(), '\n') + tree;
  ASSERT_EQ(text.size(), AMIREAD_FILE_MAX);
  {
    MsgCapture capture;
    EXPECT_EQ(AMIREAD_ReadFile(ctx, Write("full.ami", text).c_str()), 1);
    EXPECT_EQ(capture.Text(), "");
  }
  EXPECT_NE(ctx.gpszAmiText, nullptr);
  ALGMOD_ReleaseAmiText(ctx);
  int result = -1;

  const std::string over = Write("over.ami", text + "\n");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(GuardedCheck(over, PARSE_MODE_AMI), "ERROR - Unable To Read File '" + over +
                                                    "': it holds more than 16 MiB, more than an AMI parameter "
                                                    "file may hold\nresult 0");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  result = -1;
  EXPECT_NE(CheckPath(over, PARSE_MODE_AMI, &result).find("more than 16 MiB"), std::string::npos);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(ctx.gpszAmiText, nullptr);
}
