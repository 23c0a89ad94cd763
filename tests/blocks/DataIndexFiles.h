#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

// A folder of its own for the data index files one test writes; removed
// with everything in it when the test ends.
struct TempDir {
    TempDir()
    {
        const auto* info = testing::UnitTest::GetInstance()->current_test_info();
        path = std::filesystem::temp_directory_path() /
               ("tess_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                std::to_string(::getpid()));
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        const std::string file = (path / name).string();
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

    std::filesystem::path path;
};

// The bytes of a binary data index file: 32-bit little-endian integers.
inline std::string LittleEndian(const std::vector<int32_t>& values)
{
    std::string bytes;
    for (int32_t v : values)
        for (int b = 0; b < 4; ++b)
            bytes += char((uint32_t(v) >> (8 * b)) & 0xff);
    return bytes;
}
