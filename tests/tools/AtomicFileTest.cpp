#include "tests/TestFolder.h"
#include "tools/AtomicFile.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
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
