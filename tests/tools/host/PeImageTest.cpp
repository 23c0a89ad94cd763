// A DLL's import and export tables read from its bytes: a small image made
// here, our DLLs when the Windows build is there, and hostile variants that
// must give a reason rather than a crash or a loop.
#include "tools/host/PeImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/host/ProbeRequest.h"

namespace {

void Put32(std::string& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }
void Put16(std::string& b, size_t at, uint16_t v) { std::memcpy(&b[at], &v, 2); }

// A PE32+ image of one section at RVA 0x1000 (file offset 0x200) holding an
// export table naming AMI_Init and Extra, and imports of KERNEL32.dll and
// libstdc++-6.dll.
std::string SmallImage() {
  std::string b(0x400, '\0');
  b[0] = 'M', b[1] = 'Z';
  Put32(b, 0x3c, 0x40);
  std::memcpy(&b[0x40], "PE\0\0", 4);
  Put16(b, 0x46, 1);         // one section
  Put16(b, 0x54, 240);       // optional header size
  Put16(b, 0x58, 0x20b);     // PE32+
  Put32(b, 0x58 + 108, 16);  // 16 directories
  const size_t dirs = 0x58 + 112;
  Put32(b, dirs, 0x1000);      // exports at 0x1000
  Put32(b, dirs + 8, 0x1100);  // imports at 0x1100
  const size_t section = 0x58 + 240;
  Put32(b, section + 12, 0x1000);  // virtual address
  Put32(b, section + 16, 0x200);   // size in the file
  Put32(b, section + 20, 0x200);   // file offset
  const size_t base = 0x200;       // RVA 0x1000
  Put32(b, base + 24, 2);          // two names
  Put32(b, base + 32, 0x1040);     // their RVAs at 0x1040
  Put32(b, base + 0x40, 0x1060);
  Put32(b, base + 0x44, 0x1070);
  std::memcpy(&b[base + 0x60], "AMI_Init", 8);
  std::memcpy(&b[base + 0x70], "Extra", 5);
  Put32(b, base + 0x100 + 12, 0x1180);  // import 1's name
  Put32(b, base + 0x114 + 12, 0x1190);  // import 2's name; then a descriptor of zeros
  std::memcpy(&b[base + 0x180], "KERNEL32.dll", 12);
  std::memcpy(&b[base + 0x190], "libstdc++-6.dll", 15);
  return b;
}

std::string Refusal(const std::string& bytes) {
  PeTables tables;
  std::string error;
  EXPECT_FALSE(PeImage::Read(bytes, tables, error));
  return error;
}

}  // namespace

TEST(PeImage, ReadsExportsAndImports) {
  PeTables tables;
  std::string error;
  ASSERT_TRUE(PeImage::Read(SmallImage(), tables, error)) << error;
  EXPECT_EQ(tables.exports, (std::vector<std::string>{"AMI_Init", "Extra"}));
  EXPECT_EQ(tables.imports, (std::vector<std::string>{"KERNEL32.dll", "libstdc++-6.dll"}));
  EXPECT_TRUE(PeImage::IsWindowsSystem(tables.imports[0]));
  EXPECT_FALSE(PeImage::IsWindowsSystem(tables.imports[1]));
  EXPECT_TRUE(PeImage::IsWindowsSystem("api-ms-win-crt-runtime-l1-1-0.dll"));
  EXPECT_FALSE(PeImage::IsWindowsSystem("VCRUNTIME140.dll"));
}

TEST(PeImage, AHostileImageGivesAReason) {
  EXPECT_NE(Refusal("\x7f"
                    "ELF")
                .find("no PE image"),
            std::string::npos);
  EXPECT_NE(Refusal(SmallImage().substr(0, 0x50)).find("no PE image"), std::string::npos);
  EXPECT_NE(Refusal(SmallImage().substr(0, 0x100)).find("section table runs past"), std::string::npos);
  std::string b = SmallImage();
  Put32(b, 0x200 + 24, 0x40000000);  // a billion names
  EXPECT_NE(Refusal(b).find("claims"), std::string::npos);
  b = SmallImage();
  Put32(b, 0x200 + 0x44, 0x7fff0000);  // a name far outside
  EXPECT_NE(Refusal(b).find("export name 2 lies outside"), std::string::npos);
  b = SmallImage();
  std::memset(&b[0x200 + 0x190], 'x', 0x70);  // a name without its end
  EXPECT_NE(Refusal(b).find("imported DLL 2"), std::string::npos);
  b = SmallImage();
  for (size_t at = 0x300; at + 16 <= 0x400; at += 20) Put32(b, at + 12, 0x1180);  // descriptors to the file's end
  EXPECT_NE(Refusal(b).find("no end"), std::string::npos);
}

TEST(PeImage, OurDllsExportTheEntryPointsAndImportTheSystemAlone) {
  const std::string dll = std::string(TESSALUNE_WINDOWS_BUILD_DIR) + "/ami/tessalune_tx.dll";
  std::ifstream in(dll, std::ios::binary);
  if (!in) GTEST_SKIP() << "no Windows build: " << dll;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  PeTables tables;
  std::string error;
  ASSERT_TRUE(PeImage::Read(bytes, tables, error)) << error;
  EXPECT_EQ(tables.exports, (std::vector<std::string>{"AMI_Close", "AMI_GetWave", "AMI_Init"}));
  for (const std::string& name : tables.imports) EXPECT_TRUE(PeImage::IsWindowsSystem(name)) << name;
}

// The request a probe program reads: what is written comes back; what is
// not a request of this format is refused with the line.
TEST(ProbeRequestText, ComesBackAsWrittenAndRefusesOtherText) {
  ProbeRequest request;
  request.probe = "init";
  request.library = "Z:\\models\\a b\\m.dll";
  request.getWaveExpected = false;
  request.inits.push_back(InitSetting{"mode=2\ttab", 1e-10 / 10.6, 1e-10, 64, 2, "(m (mode 2) (s \"x\\ty\"))"});
  ProbeRequest back;
  std::string error;
  ASSERT_TRUE(ProbeRequestText::Read(ProbeRequestText::Write(request), back, error)) << error;
  EXPECT_EQ(back.probe, "init");
  EXPECT_EQ(back.library, request.library);
  EXPECT_FALSE(back.getWaveExpected);
  ASSERT_EQ(back.inits.size(), 1u);
  EXPECT_EQ(back.inits[0].label, request.inits[0].label);
  EXPECT_EQ(back.inits[0].sampleInterval, request.inits[0].sampleInterval);
  EXPECT_EQ(back.inits[0].rowSize, 64);
  EXPECT_EQ(back.inits[0].aggressors, 2);
  EXPECT_EQ(back.inits[0].parameters, request.inits[0].parameters);
  EXPECT_FALSE(ProbeRequestText::Read("GIF89a", back, error));
  EXPECT_NE(error.find("does not begin with"), std::string::npos);
  std::string text = ProbeRequestText::Write(request) + "init x\t1e-11\t1e-10\t-5\t0\t\n";
  EXPECT_FALSE(ProbeRequestText::Read(text, back, error));
  EXPECT_NE(error.find("line 9 of the request"), std::string::npos) << error;
}
