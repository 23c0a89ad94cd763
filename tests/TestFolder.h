// A folder of its own for the files one test writes. Its name carries the
// test's name and the process id, since CTest runs tests side by side; it is
// removed with everything in it when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include <unistd.h>

// The whole content of the file at `path` (empty when there is none).
inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TestFolder {
 public:
  explicit TestFolder(const std::string& prefix = "tessalune") {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = prefix + "_" + std::to_string(::getpid());
    if (info != nullptr) name += std::string("_") + info->test_suite_name() + "_" + info->name();
    path = std::filesystem::temp_directory_path() / name;
    std::filesystem::create_directories(path);
  }
  ~TestFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  // Writes `bytes` as file `name` of the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const std::filesystem::path file = path / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }

  // The names of the files in the folder, hidden ones too, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::filesystem::path path;
};
