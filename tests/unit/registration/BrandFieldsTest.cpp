// The brand fields as a packager finds them in the built program, and a rebranded program's run.
#include <gtest/gtest.h>

#include <cstring>

#include "app/BrandFields.h"
#include "support/RunFixture.h"

namespace {

using platform::kHkeyLocalMachine;
using platform::sim::RegView;

TEST(BrandFields, HoldTheirTextZeroFilledAndDirectlyFollowedByTheirMarkers) {
  struct Case {
    const app::BrandField& field;
    std::string text;
    std::uint8_t lastMarkerByte;
  };
  for (const Case& c :
       {Case{app::CompanyNameField, "Selvanic", 0xA1}, Case{app::DriverBaseNameField, "ZeZ2Idador", 0xA2}}) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&c.field);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes)), c.text);
    for (std::size_t at = c.text.size(); at < app::kBrandFieldSize; ++at) EXPECT_EQ(bytes[at], 0) << at;
    const std::uint8_t marker[] = {0xA9, 0xA8, 0xA5, 0xA1, 0xA4, c.lastMarkerByte};
    EXPECT_EQ(std::memcmp(bytes + app::kBrandFieldSize, marker, sizeof(marker)), 0);
    EXPECT_EQ(app::ReadBrandField(c.field), c.text);
  }
}

// Rewrites a field for one test, as a packager rewrites it in the file, and puts it back afterwards.
class RebrandedField {
 public:
  RebrandedField(app::BrandField& field, const std::string& text) : field_(field), original_(field) {
    std::memset(field_.text, 0, app::kBrandFieldSize);
    std::memcpy(field_.text, text.data(), std::min(text.size(), app::kBrandFieldSize));
  }
  ~RebrandedField() { field_ = original_; }

 private:
  app::BrandField& field_;
  app::BrandField original_;
};

TEST(BrandFields, ARebrandedCompanyNameNamesEveryKeyOfTheRun) {
  RebrandedField rebranded(app::CompanyNameField, "Acme Optics");
  platform::sim::SimHost host;
  CCalvantDlg dialog;
  testing_support::StartProgram(host, dialog, L" 0");
  EXPECT_EQ(dialog.CompanyName, "Acme Optics");
  EXPECT_EQ(host.registry.Value(kHkeyLocalMachine, "Software\\Ferrolux", RegView::Bits64, "Company")->Text(),
            "Acme Optics");
  EXPECT_TRUE(
      host.registry.Value(kHkeyLocalMachine, "Software\\Acme Optics\\Settings", RegView::Bits64, "WindowsPath"));
  EXPECT_TRUE(
      host.registry.Value(kHkeyLocalMachine, "Software\\Acme Optics\\Settings_X64", RegView::Bits64, "SdkPath"));
  EXPECT_TRUE(host.registry.Value(platform::kHkeyCurrentUser, "Software\\Acme Optics\\Lumetra\\Settings_X64",
                                  RegView::Bits32, "UpdateInstall"));
  EXPECT_FALSE(host.registry.KeyExists(kHkeyLocalMachine, "Software\\Selvanic", RegView::Bits64));
}

TEST(BrandFields, AFieldWithoutATerminatingZeroIsReadNoFurtherThanItsEnd) {
  RebrandedField full(app::CompanyNameField, std::string(app::kBrandFieldSize, 'N'));
  EXPECT_EQ(app::CompanyNameText(), std::string(app::kBrandFieldSize, 'N'));
}

}  // namespace
