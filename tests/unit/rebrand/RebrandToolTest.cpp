// The rebranding tool as a packager runs it: on crafted files and on the built program.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/rebrand/BrandPatch.h"

namespace {

namespace fs = std::filesystem;
using rebrand::Bytes;

struct ToolRun {
  int status;
  std::string output;
};

ToolRun RunTool(const std::string& arguments) {
  const std::string command = std::string("\"") + REBRAND_TOOL + "\" " + arguments + " 2>&1";
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {-1, {}};
  char chunk[256];
  while (std::fgets(chunk, sizeof(chunk), pipe) != nullptr) output += chunk;
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

Bytes Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void Write(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Program(const std::string& company, const std::string& driver) {
  Bytes file(64, 'M');
  for (const auto& [text, marker] :
       {std::pair{company, app::kCompanyNameMarker}, std::pair{driver, app::kDriverBaseNameMarker}}) {
    Bytes field(app::kBrandFieldSize, 0);
    std::copy(text.begin(), text.end(), field.begin());
    file.insert(file.end(), field.begin(), field.end());
    file.insert(file.end(), marker.begin(), marker.end());
    file.insert(file.end(), 16, 'P');
  }
  return file;
}

class RebrandToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("rebrand-" + std::to_string(::getpid()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder);
  }
  void TearDown() override { fs::remove_all(folder); }
  fs::path folder;
};

TEST_F(RebrandToolTest, ShowsAndRewritesBothNamesIntoACopyOrInPlace) {
  const fs::path original = folder / "calvant.exe";
  Write(original, Program("Selvanic", "ZeZ2Idador"));

  ToolRun shown = RunTool(original.string());
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(shown.output, "company name: Selvanic\ndriver base name: ZeZ2Idador\n");

  const fs::path copy = folder / "rebranded.exe";
  ToolRun written = RunTool(original.string() + " --company Acme --driver AcmeCam --output " + copy.string());
  EXPECT_EQ(written.status, 0) << written.output;
  EXPECT_EQ(Read(original), Program("Selvanic", "ZeZ2Idador")) << "the original is left as it was";
  EXPECT_EQ(Read(copy), Program("Acme", "AcmeCam"));

  EXPECT_EQ(RunTool(copy.string() + " --driver Other").status, 0);
  EXPECT_EQ(Read(copy), Program("Acme", "Other")) << "in place, one name only";
  EXPECT_FALSE(fs::exists(folder / "rebranded.exe.rebrand-tmp"));
}

TEST_F(RebrandToolTest, RefusesFilesAndNamesItCannotServeAndChangesNothing) {
  const fs::path good = folder / "good.exe";
  Write(good, Program("Selvanic", "ZeZ2Idador"));
  Bytes twoMarkers = Program("Selvanic", "ZeZ2Idador");
  twoMarkers.insert(twoMarkers.end(), app::kCompanyNameMarker.begin(), app::kCompanyNameMarker.end());
  const fs::path doubled = folder / "doubled.exe";
  Write(doubled, twoMarkers);
  const fs::path noMarker = folder / "plain.exe";
  Write(noMarker, Bytes(500, 'x'));

  struct Case {
    std::string arguments;
    std::string message;
  };
  const std::vector<Case> cases{
      {doubled.string() + " --company Acme", "company name field: marker found 2 times"},
      {noMarker.string(), "company name field: marker not found"},
      {good.string() + " --company \"Ac/me\"", "which Windows forbids in names"},
      {good.string() + " --driver \"\"", "the name is empty"},
      {good.string() + " --company " + std::string(90, 'a'), "longer than 89 characters"},
      {(folder / "missing.exe").string(), "cannot read"},
  };
  for (const Case& c : cases) {
    const ToolRun run = RunTool(c.arguments);
    EXPECT_EQ(run.status, 1) << c.arguments;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
  }
  EXPECT_EQ(Read(good), Program("Selvanic", "ZeZ2Idador"));
  EXPECT_EQ(RunTool("").status, 2) << "no program named";
  EXPECT_EQ(RunTool(good.string() + " --output x").status, 2) << "a copy of nothing changed";

  // A target that cannot be replaced (a folder stands where the copy must go) leaves everything as it was.
  fs::create_directories(folder / "taken.exe" / "inside");
  const ToolRun blocked = RunTool(good.string() + " --company Acme --output " + (folder / "taken.exe").string());
  EXPECT_EQ(blocked.status, 1);
  EXPECT_TRUE(fs::is_directory(folder / "taken.exe" / "inside"));
  EXPECT_FALSE(fs::exists(folder / "taken.exe.rebrand-tmp"));
}

TEST_F(RebrandToolTest, RebrandsTheBuiltProgram) {
  if (!fs::exists(BUILT_PROGRAM)) GTEST_SKIP() << "the Windows build has not made " << BUILT_PROGRAM;
  const fs::path copy = folder / "calvant.exe";
  fs::copy_file(BUILT_PROGRAM, copy);
  const Bytes before = Read(copy);
  EXPECT_EQ(RunTool(copy.string()).output, "company name: Selvanic\ndriver base name: ZeZ2Idador\n");
  ASSERT_EQ(RunTool(copy.string() + " --company \"Acme Optics\" --driver AcmeUsb").status, 0);
  EXPECT_EQ(RunTool(copy.string()).output, "company name: Acme Optics\ndriver base name: AcmeUsb\n");
  const Bytes after = Read(copy);
  ASSERT_EQ(after.size(), before.size());
  std::size_t changed = 0;
  for (std::size_t at = 0; at < after.size(); ++at) changed += after[at] != before[at] ? 1 : 0;
  EXPECT_LE(changed, 2 * app::kBrandFieldSize) << "only the two fields change";
}

}  // namespace
