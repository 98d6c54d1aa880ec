// Holds the resource script to the dialog templates the simulated host uses, and checks the other
// resources it declares: language, string table, icon and manifest files, version block.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "RcScript.h"
#include "StyleConstants.h"
#include "TextSupport.h"
#include "resources/DialogTemplates.h"
#include "resources/resource.h"

namespace restest {
namespace {

const RcScript& Script() {
  static const RcScript script = ParseRcScript(CALVANT_RC_SCRIPT);
  return script;
}

const char* KeywordOf(resources::ControlKind kind) {
  switch (kind) {
    case resources::ControlKind::DefPushButton:
      return "DEFPUSHBUTTON";
    case resources::ControlKind::PushButton:
      return "PUSHBUTTON";
    case resources::ControlKind::GroupBox:
      return "GROUPBOX";
    case resources::ControlKind::AutoRadioButton:
      return "AUTORADIOBUTTON";
    case resources::ControlKind::AutoCheckBox:
      return "AUTOCHECKBOX";
    case resources::ControlKind::Icon:
      return "ICON";
    case resources::ControlKind::Static:
      return "LTEXT";
  }
  return "?";
}

TEST(ResourceScriptEncoding, IsDecodedByTheCodePageItsPragmaNames) {
  // The script's own pragma: UTF-8, and every byte of the file valid in it.
  ASSERT_TRUE(Script().codePage.has_value());
  EXPECT_EQ(*Script().codePage, 65001u);

  // The same text as a CP936 file comes out as the same UTF-8; CP936 bytes under a UTF-8 pragma,
  // or a file without a pragma, are refused instead of being read as some other text.
  const std::string aboutUtf8 = "\xE5\x85\xB3\xE4\xBA\x8E Calvant";  // 关于 Calvant
  const std::string aboutCp936 = "\xB9\xD8\xD3\xDA Calvant";
  EXPECT_EQ(DecodeRcScript("#pragma code_page(936)\nCAPTION \"" + aboutCp936 + "\"\n"),
            "#pragma code_page(936)\nCAPTION \"" + aboutUtf8 + "\"\n");
  EXPECT_EQ(DecodeRcScript("#pragma code_page(65001)\n\"" + aboutUtf8 + "\""),
            "#pragma code_page(65001)\n\"" + aboutUtf8 + "\"");
  EXPECT_THROW(DecodeRcScript("#pragma code_page(65001)\n\"" + aboutCp936 + "\""), RcParseError);
  EXPECT_THROW(DecodeRcScript("CAPTION \"" + aboutUtf8 + "\""), RcParseError);
}

TEST(ResourceScript, GivesEveryResourceTheLanguageChineseSimplified) {
  const RcScript& script = Script();
  ASSERT_EQ(script.languageStatements.size(), 1u);
  EXPECT_EQ(script.languageStatements[0], kLanguageChineseSimplified);
  for (const RcDialog& dialog : script.dialogs) EXPECT_EQ(dialog.language, kLanguageChineseSimplified) << dialog.id;
  for (const RcString& entry : script.strings) EXPECT_EQ(entry.language, kLanguageChineseSimplified) << entry.id;
  for (const RcFileResource& file : script.files) EXPECT_EQ(file.language, kLanguageChineseSimplified) << file.file;
  for (const RcVersionInfo& version : script.versions) EXPECT_EQ(version.language, kLanguageChineseSimplified);
  EXPECT_FALSE(script.dialogs.empty());
  EXPECT_FALSE(script.files.empty());
}

class ResourceScriptDialog : public testing::TestWithParam<int> {};

TEST_P(ResourceScriptDialog, MatchesItsTemplate) {
  const resources::DialogTemplate* expected = resources::FindDialogTemplate(GetParam());
  ASSERT_NE(expected, nullptr);
  const RcDialog* dialog = Script().FindDialog(GetParam());
  ASSERT_NE(dialog, nullptr) << "no dialog " << GetParam() << " in the script";

  EXPECT_TRUE(dialog->extended);
  EXPECT_EQ(dialog->caption.value_or("(none)"), expected->title);
  EXPECT_EQ(dialog->width, expected->width);
  EXPECT_EQ(dialog->height, expected->height);
  EXPECT_EQ(dialog->pointSize.value_or(0), expected->pointSize);
  EXPECT_EQ(dialog->font, expected->font);
  EXPECT_EQ(dialog->fontItalic, 0);
  EXPECT_EQ(dialog->fontCharset, kGb2312Charset);

  ASSERT_EQ(dialog->controls.size(), expected->controls.size());
  for (size_t i = 0; i < expected->controls.size(); ++i) {
    const resources::ControlTemplate& want = expected->controls[i];
    const RcControl& got = dialog->controls[i];
    SCOPED_TRACE("control " + std::to_string(i) + " (script line " + std::to_string(got.line) + ")");
    EXPECT_EQ(got.keyword, KeywordOf(want.kind));
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.text, want.caption);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.width, want.width);
    EXPECT_EQ(got.height, want.height);
    RcStyle style = got.style.value_or(RcStyle{});
    EXPECT_EQ(style.set & (kWsGroup | kWsTabStop), want.extraStyle) << "WS_GROUP / WS_TABSTOP as written";
    EXPECT_FALSE(got.exStyle.has_value());
  }
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, ResourceScriptDialog, testing::Values(IDD_CALVANT_DIALOG, IDD_ABOUTBOX));

TEST(ResourceScript, SetupDialogIsAVisibleModalPopupWithATaskbarButton) {
  const RcDialog* dialog = Script().FindDialog(IDD_CALVANT_DIALOG);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(dialog->style.has_value());
  // Exactly these: no minimise or maximise box, no sizing border, no DS_FIXEDSYS replacing the font.
  EXPECT_EQ(dialog->style->set, kDsSetFont | kDsModalFrame | kWsPopup | kWsVisible | kWsCaption | kWsSysMenu);
  EXPECT_EQ(dialog->style->cleared, 0u);
  EXPECT_EQ(dialog->exStyle.value_or(0), kWsExAppWindow);
}

TEST(ResourceScript, AboutBoxIsAModalFrameWithoutTaskbarButton) {
  const RcDialog* dialog = Script().FindDialog(IDD_ABOUTBOX);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(dialog->style.has_value());
  std::uint32_t required = kDsSetFont | kDsModalFrame | kWsPopup | kWsCaption | kWsSysMenu;
  EXPECT_EQ(dialog->style->set & required, required);
  EXPECT_EQ(dialog->style->set & (kDsFixedSys | kWsThickFrame | kWsMinimizeBox | kWsMaximizeBox), 0u);
  EXPECT_EQ(dialog->exStyle.value_or(0) & kWsExAppWindow, 0u);
}

TEST(ResourceScript, StringTableHoldsTheAboutMenuEntry) {
  const RcString* entry = Script().FindString(IDS_ABOUTBOX);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->text, "关于 Calvant(&A)...");
  EXPECT_EQ(entry->text, resources::FindString(IDS_ABOUTBOX)) << "the simulated host's copy";
  EXPECT_EQ(Script().strings.size(), 1u);
}

TEST(ResourceScript, TakesIconAndManifestFromTheFilesBesideIt) {
  constexpr int kCreateProcessManifestId = 1;
  const std::filesystem::path directory = std::filesystem::path(CALVANT_RC_SCRIPT).parent_path();
  const RcFileResource* icon = Script().FindFile(kRtGroupIcon, IDR_MAINFRAME);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->file, "calvant.ico");
  EXPECT_TRUE(std::filesystem::is_regular_file(directory / icon->file));
  const RcFileResource* manifest = Script().FindFile(kRtManifest, kCreateProcessManifestId);
  ASSERT_NE(manifest, nullptr);
  EXPECT_EQ(manifest->file, "calvant.manifest");
  EXPECT_TRUE(std::filesystem::is_regular_file(directory / manifest->file));
  EXPECT_EQ(Script().files.size(), 2u);
}

TEST(ResourceScript, VersionBlockGivesVersion1100InChineseSimplified) {
  ASSERT_EQ(Script().versions.size(), 1u);
  const RcVersionInfo& version = Script().versions[0];
  EXPECT_EQ(version.id, 1);  // VS_VERSION_INFO
  const std::array<std::uint32_t, 4> v1100{1, 1, 0, 0};
  EXPECT_EQ(version.fileVersion, v1100);
  EXPECT_EQ(version.productVersion, v1100);
  EXPECT_EQ(version.fileType, 1u);      // VFT_APP
  EXPECT_EQ(version.fileOs, 0x40004u);  // VOS_NT_WINDOWS32
  EXPECT_EQ(version.fileFlags.value_or(0), 0u);

  const RcVersionBlock* varInfo = version.root.FindBlock("VarFileInfo");
  ASSERT_NE(varInfo, nullptr);
  const RcVersionValue* translation = varInfo->FindValue("Translation");
  ASSERT_NE(translation, nullptr);
  ASSERT_EQ(translation->items.size(), 2u);
  EXPECT_EQ(translation->items[0], RcVersionItem(std::uint32_t{0x804}));
  EXPECT_EQ(translation->items[1], RcVersionItem(std::uint32_t{936}));

  // The string table is the one the translation names: language and code page in hexadecimal.
  const RcVersionBlock* stringInfo = version.root.FindBlock("StringFileInfo");
  ASSERT_NE(stringInfo, nullptr);
  ASSERT_EQ(stringInfo->blocks.size(), 1u);
  const RcVersionBlock& table = stringInfo->blocks[0];
  EXPECT_EQ(table.name, "080403a8");
  struct Expected {
    const char* name;
    const char* text;  // nullptr: any non-empty text
  };
  for (const Expected& want : {Expected{"FileVersion", "1.1.0.0"}, Expected{"ProductVersion", "1.1.0.0"},
                               Expected{"ProductName", "Calvant"}, Expected{"FileDescription", nullptr}}) {
    SCOPED_TRACE(want.name);
    const RcVersionValue* value = table.FindValue(want.name);
    ASSERT_NE(value, nullptr);
    ASSERT_EQ(value->items.size(), 1u);
    const std::string* text = std::get_if<std::string>(&value->items[0]);
    ASSERT_NE(text, nullptr);
    if (want.text != nullptr) {
      EXPECT_EQ(*text, want.text);
    } else {
      EXPECT_FALSE(text->empty());
    }
  }
}

// The reader must refuse what it does not understand rather than skip it, or the checks above could
// pass over a script it misread.
TEST(ResourceScriptReader, RefusesStatementsOutsideItsSubset) {
  const std::filesystem::path directory = std::filesystem::temp_directory_path();
  struct Case {
    const char* name;
    const char* body;
  };
  for (const Case& c : {Case{"unknown control", "1 DIALOGEX 0,0,1,1\nBEGIN\n EDITTEXT 1,2,3,4,5\nEND\n"},
                        Case{"unknown name", "UNDEFINED_ID DIALOGEX 0,0,1,1\nBEGIN\nEND\n"},
                        Case{"missing comma", "1 DIALOGEX 0,0,1,1\nBEGIN\n LTEXT \"a\" 1,2,3,4,5\nEND\n"},
                        Case{"unterminated string", "STRINGTABLE\nBEGIN\n 1 \"a\nEND\n"},
                        Case{"unknown directive", "#if 1\n#endif\n"}}) {
    SCOPED_TRACE(c.name);
    std::filesystem::path path = directory / ("calvant_reader_case_" + std::to_string(::getpid()) + ".rc");
    {
      std::FILE* file = std::fopen(path.c_str(), "wb");
      ASSERT_NE(file, nullptr);
      std::string text = std::string("#pragma code_page(65001)\n") + c.body;
      std::fwrite(text.data(), 1, text.size(), file);
      std::fclose(file);
    }
    EXPECT_THROW(ParseRcScript(path.string()), RcParseError);
    std::filesystem::remove(path);
  }
}

}  // namespace
}  // namespace restest
