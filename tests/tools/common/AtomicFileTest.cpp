#include "tests/TestFolder.h"
#include "tools/common/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string Read(const std::string& path) { return ReadFile(path); }

}  // namespace

TEST(AtomicFile, ACommittedFileAppearsWholeUnderItsNameAndNothingElse) {
  TestFolder folder;
  const std::string path = (folder.path / "out.csv").string();
  std::string error;
  {
    AtomicFile file(path);
    ASSERT_TRUE(file.Open(error)) << error;
    ASSERT_TRUE(file.Write("a,b\n", 4, error));
    EXPECT_TRUE(Read(path).empty());  // not there until committed
    ASSERT_TRUE(file.Write("1,2\n", 4, error));
    ASSERT_TRUE(file.Commit(error)) << error;
  }
  EXPECT_EQ(Read(path), "a,b\n1,2\n");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.csv"});
  // Permissions as for any new file: read and write as the umask allows.
  const mode_t mask = umask(0);
  umask(mask);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0666u & ~mask);
}

TEST(AtomicFile, AnUncommittedFileLeavesNothingAndTheOldFileStands) {
  TestFolder folder;
  const std::string path = (folder.path / "eye.png").string();
  std::ofstream(path) << "old";
  std::string error;
  {
    AtomicFile file(path);
    ASSERT_TRUE(file.Open(error)) << error;
    ASSERT_TRUE(file.Write("new", 3, error));
  }
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"eye.png"});
  const std::string nowhere = (folder.path / "no/such/folder/eye.png").string();
  AtomicFile missing(nowhere);
  EXPECT_FALSE(missing.Open(error));
  EXPECT_EQ(error, "cannot write " + nowhere + ": No such file or directory");
}

// A full disk, played by a file size limit: the write or the commit fails
// with the system's reason, and nothing is left.
TEST(AtomicFile, AWriteBeyondWhatTheDiskTakesFailsAndLeavesNothing) {
  TestFolder folder;
  const std::string path = (folder.path / "wave.csv").string();
  std::ofstream(path) << "old";
  const std::string chunk(4096, 'x');
  rlimit before{};
  getrlimit(RLIMIT_FSIZE, &before);
  auto* const previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = before;
  limit.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  std::string error;
  bool written = true;
  {
    AtomicFile file(path);
    ASSERT_TRUE(file.Open(error)) << error;
    for (int i = 0; i < 64 && written; ++i) written = file.Write(chunk.data(), chunk.size(), error);
    if (written) written = file.Commit(error);
  }
  setrlimit(RLIMIT_FSIZE, &before);
  std::signal(SIGXFSZ, previous);
  EXPECT_FALSE(written);
  EXPECT_EQ(error, "cannot write " + path + ": File too large");
  EXPECT_EQ(Read(path), "old");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"wave.csv"});
}

// On Linux the bytes go to an unnamed file: nothing shows in the folder
// until the commit, so nothing can be left behind by a process that dies.
TEST(AtomicFile, TheFileBeingWrittenHasNoNameUntilItIsCommitted) {
  TestFolder folder;
  const std::string path = (folder.path / "out.csv").string();
  std::ofstream(path) << "old";
  std::string error;
  AtomicFile file(path);
  ASSERT_TRUE(file.Open(error)) << error;
  ASSERT_EQ(file.Mode(), AtomicFile::Kind::kUnnamed);
  ASSERT_TRUE(file.Write("new", 3, error));
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.csv"});
  ASSERT_TRUE(file.Commit(error)) << error;
  EXPECT_EQ(Read(path), "new");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"out.csv"});
  // A new name is linked straight into place.
  AtomicFile fresh((folder.path / "new.csv").string());
  ASSERT_TRUE(fresh.Open(error) && fresh.Write("x", 1, error) && fresh.Commit(error)) << error;
  EXPECT_EQ(Read((folder.path / "new.csv").string()), "x");
}

// A FIFO is written in place and stays a FIFO; a directory is refused when
// the file is opened, before anything is written.
TEST(AtomicFile, AFifoIsWrittenInPlaceAndADirectoryIsRefused) {
  TestFolder folder;
  const std::string fifo = (folder.path / "pipe").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = Read(fifo); });
  std::string error;
  {
    AtomicFile file(fifo);
    ASSERT_TRUE(file.Open(error)) << error;
    EXPECT_EQ(file.Mode(), AtomicFile::Kind::kInPlace);
    ASSERT_TRUE(file.Write("through the pipe", 16, error));
    ASSERT_TRUE(file.Commit(error)) << error;
  }
  reader.join();
  EXPECT_EQ(received, "through the pipe");
  struct stat info {};
  ASSERT_EQ(stat(fifo.c_str(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_EQ(folder.Names(), std::vector<std::string>{"pipe"});

  AtomicFile directory(folder.path.string());
  EXPECT_FALSE(directory.Open(error));
  EXPECT_EQ(error, "cannot write " + folder.path.string() + ": Is a directory");
}

// Where a named temporary is used, every signal that ends the program by
// default removes it on the way out, and the signal still ends the program.
TEST(AtomicFile, ANamedTemporaryGoesWithTheProgramOnEveryTerminatingSignal) {
  for (int signal : {SIGPIPE, SIGQUIT, SIGXCPU, SIGTERM, SIGHUP, SIGUSR1}) {
    TestFolder folder;
    const std::string path = (folder.path / "wave.csv").string();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const rlimit noCore{0, 0};
      setrlimit(RLIMIT_CORE, &noCore);  // SIGQUIT and SIGXCPU would dump one
      std::string error;
      AtomicFile file(path, false);
      if (!file.Open(error) || file.Mode() != AtomicFile::Kind::kNamedTemporary || !file.Write("x", 1, error)) _exit(3);
      std::fflush(nullptr);
      raise(signal);
      _exit(4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "signal " << signal << ", status " << status;
    EXPECT_TRUE(folder.Names().empty()) << "signal " << signal << ": " << folder.Names().front();
  }
}
