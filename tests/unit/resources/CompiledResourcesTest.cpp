// The resources as the resource compiler builds them from calvant.rc (the build compiles the script
// to a .res with the same compiler and options as the program): what Windows will load. Chiefly,
// that the Chinese texts arrive as the right UTF-16, which depends on how the compiler reads the file.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "IcoFile.h"
#include "RcScript.h"
#include "ResFile.h"
#include "StyleConstants.h"
#include "TextSupport.h"
#include "resources/DialogTemplates.h"
#include "resources/resource.h"

namespace restest {
namespace {

const std::vector<ResEntry>& Compiled() {
  static const std::vector<ResEntry> entries = ReadResFile(ReadFileBytes(CALVANT_COMPILED_RES));
  return entries;
}

const ResEntry* Find(int type, int name) {
  for (const ResEntry& entry : Compiled()) {
    if (entry.type.Is(static_cast<std::uint16_t>(type)) && entry.name.Is(static_cast<std::uint16_t>(name))) {
      return &entry;
    }
  }
  ADD_FAILURE() << "no resource of type " << type << " named " << name;
  return nullptr;
}

std::string Text(const ResName& name) {
  return name.isOrdinal ? "#" + std::to_string(name.ordinal) : Utf16ToUtf8(name.text);
}

TEST(CompiledResources, AreTheProgramsResourcesAllInChineseSimplified) {
  std::set<std::pair<std::string, std::string>> found;
  for (const ResEntry& entry : Compiled()) {
    found.emplace(Text(entry.type), Text(entry.name));
    EXPECT_EQ(entry.language, kLanguageChineseSimplified) << Text(entry.type) << " " << Text(entry.name);
  }
  EXPECT_EQ(found, (std::set<std::pair<std::string, std::string>>{
                       {"#3", "#1"},     // the icon image
                       {"#14", "#128"},  // icon group IDR_MAINFRAME
                       {"#5", "#100"},   // About box
                       {"#5", "#102"},   // setup dialog
                       {"#6", "#7"},     // string block of ids 96 to 111
                       {"#16", "#1"},    // version block
                       {"#24", "#1"},    // process manifest
                   }));
}

// The class, type bits and implied WS_GROUP / WS_TABSTOP of each kind of control statement:
// push buttons are tab stops and static texts start groups without being asked to.
struct KindLayout {
  std::uint16_t windowClass;
  std::uint32_t type;
  std::uint32_t typeMask;
  std::uint32_t implied;
};

KindLayout LayoutOf(resources::ControlKind kind) {
  switch (kind) {
    case resources::ControlKind::DefPushButton:
      return {kButtonClass, kBsDefPushButton, kBsTypeMask, kWsTabStop};
    case resources::ControlKind::PushButton:
      return {kButtonClass, 0, kBsTypeMask, kWsTabStop};
    case resources::ControlKind::GroupBox:
      return {kButtonClass, kBsGroupBox, kBsTypeMask, 0};
    case resources::ControlKind::AutoRadioButton:
      return {kButtonClass, kBsAutoRadioButton, kBsTypeMask, 0};
    case resources::ControlKind::AutoCheckBox:
      return {kButtonClass, kBsAutoCheckBox, kBsTypeMask, 0};
    case resources::ControlKind::Icon:
      return {kStaticClass, kSsIcon, kSsTypeMask, 0};
    case resources::ControlKind::Static:
      return {kStaticClass, kSsLeft, kSsTypeMask, kWsGroup};
  }
  return {};
}

class CompiledDialog : public testing::TestWithParam<int> {};

TEST_P(CompiledDialog, MatchesItsTemplate) {
  const resources::DialogTemplate* expected = resources::FindDialogTemplate(GetParam());
  ASSERT_NE(expected, nullptr);
  const ResEntry* entry = Find(kRtDialog, GetParam());
  ASSERT_NE(entry, nullptr);
  DialogEx dialog = DecodeDialogEx(entry->data);

  EXPECT_EQ(Utf16ToUtf8(dialog.title), expected->title);
  EXPECT_EQ(dialog.x, 0);
  EXPECT_EQ(dialog.y, 0);
  EXPECT_EQ(dialog.width, expected->width);
  EXPECT_EQ(dialog.height, expected->height);
  EXPECT_TRUE(dialog.menu.text.empty() && !dialog.menu.isOrdinal) << "no menu";
  EXPECT_TRUE(dialog.windowClass.text.empty() && !dialog.windowClass.isOrdinal) << "the standard dialog class";
  EXPECT_EQ(dialog.pointSize, expected->pointSize);
  EXPECT_EQ(Utf16ToUtf8(dialog.typeface), expected->font);
  EXPECT_EQ(dialog.italic, 0);
  EXPECT_EQ(dialog.charset, kGb2312Charset);

  ASSERT_EQ(dialog.items.size(), expected->controls.size());
  for (size_t i = 0; i < expected->controls.size(); ++i) {
    const resources::ControlTemplate& want = expected->controls[i];
    const DialogItemEx& got = dialog.items[i];
    SCOPED_TRACE("control " + std::to_string(i) + " \"" + std::string(want.caption) + "\"");
    KindLayout layout = LayoutOf(want.kind);
    EXPECT_EQ(got.id, want.id);
    ASSERT_TRUE(got.windowClass.isOrdinal);
    EXPECT_EQ(got.windowClass.ordinal, layout.windowClass);
    EXPECT_EQ(got.style & layout.typeMask, layout.type);
    EXPECT_EQ(got.style & (kWsChild | kWsVisible), kWsChild | kWsVisible);
    EXPECT_EQ(got.style & (kWsGroup | kWsTabStop), want.extraStyle | layout.implied);
    EXPECT_EQ(got.exStyle, 0u);
    if (want.kind == resources::ControlKind::Icon) {
      // The icon is named by its resource id; the control takes the icon's own size.
      ASSERT_TRUE(got.title.isOrdinal);
      EXPECT_EQ(std::to_string(got.title.ordinal), want.caption);
    } else {
      ASSERT_FALSE(got.title.isOrdinal);
      EXPECT_EQ(Utf16ToUtf8(got.title.text), want.caption);
      EXPECT_EQ(got.width, want.width);
      EXPECT_EQ(got.height, want.height);
    }
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
  }
}

INSTANTIATE_TEST_SUITE_P(BothDialogs, CompiledDialog, testing::Values(IDD_CALVANT_DIALOG, IDD_ABOUTBOX));

TEST(CompiledResources, SetupDialogHasExactlyItsWindowStyles) {
  const ResEntry* entry = Find(kRtDialog, IDD_CALVANT_DIALOG);
  ASSERT_NE(entry, nullptr);
  DialogEx dialog = DecodeDialogEx(entry->data);
  EXPECT_EQ(dialog.style, kDsSetFont | kDsModalFrame | kWsPopup | kWsVisible | kWsCaption | kWsSysMenu);
  EXPECT_EQ(dialog.style & (kWsMinimizeBox | kWsMaximizeBox), 0u);
  EXPECT_EQ(dialog.exStyle, kWsExAppWindow);
}

// The Chinese texts as code points, independent of how any source file is encoded.
TEST(CompiledResources, ChineseTextsAreTheRightUtf16) {
  const ResEntry* about = Find(kRtDialog, IDD_ABOUTBOX);
  const ResEntry* setup = Find(kRtDialog, IDD_CALVANT_DIALOG);
  const ResEntry* strings = Find(kRtString, IDS_ABOUTBOX / 16 + 1);
  ASSERT_TRUE(about && setup && strings);
  DialogEx aboutBox = DecodeDialogEx(about->data);
  DialogEx setupDialog = DecodeDialogEx(setup->data);
  const std::u16string songTi = u"\u5b8b\u4f53";  // 宋体
  EXPECT_EQ(aboutBox.title, u"\u5173\u4e8e Calvant");
  EXPECT_EQ(aboutBox.typeface, songTi);
  EXPECT_EQ(setupDialog.typeface, songTi);
  ASSERT_EQ(aboutBox.items.size(), 4u);
  EXPECT_EQ(aboutBox.items[1].title.text, u"Calvant 1.0 \u7248");
  EXPECT_EQ(aboutBox.items[3].title.text, u"\u786e\u5b9a");  // 确定
  EXPECT_EQ(DecodeStringBlock(strings->data)[IDS_ABOUTBOX % 16], u"\u5173\u4e8e Calvant(&A)...");
}

TEST(CompiledResources, StringBlockHoldsOnlyTheAboutMenuEntry) {
  const ResEntry* block = Find(kRtString, IDS_ABOUTBOX / 16 + 1);
  ASSERT_NE(block, nullptr);
  std::array<std::u16string, 16> strings = DecodeStringBlock(block->data);
  for (int i = 0; i < 16; ++i) {
    if (i == IDS_ABOUTBOX % 16) {
      EXPECT_EQ(Utf16ToUtf8(strings[i]), "关于 Calvant(&A)...");
    } else {
      EXPECT_TRUE(strings[i].empty()) << "string " << (IDS_ABOUTBOX / 16 * 16 + i);
    }
  }
}

TEST(CompiledResources, IconGroupHoldsTheIconFilesImage) {
  const ResEntry* group = Find(kRtGroupIcon, IDR_MAINFRAME);
  ASSERT_NE(group, nullptr);
  std::vector<GroupIconEntry> entries = DecodeGroupIcon(group->data);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].width, 48);
  EXPECT_EQ(entries[0].height, 48);
  EXPECT_EQ(entries[0].colorCount, 0);
  EXPECT_EQ(entries[0].planes, 1);
  EXPECT_EQ(entries[0].bitCount, 24);
  const ResEntry* image = Find(kRtIcon, entries[0].iconId);
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->data.size(), entries[0].bytesInRes);
  IcoFile file = ParseIco(ReadFileBytes(std::string(CALVANT_RESOURCE_DIR) + "/calvant.ico"));
  ASSERT_EQ(file.images.size(), 1u);
  EXPECT_TRUE(image->data == file.images[0].bytes) << "RT_ICON differs from the image in calvant.ico";
}

TEST(CompiledResources, VersionBlockGivesVersion1100) {
  const ResEntry* entry = Find(kRtVersion, 1);
  ASSERT_NE(entry, nullptr);
  VersionNode root = DecodeVersionInfo(entry->data);
  EXPECT_EQ(root.key, u"VS_VERSION_INFO");
  FixedFileInfo fixed = DecodeFixedFileInfo(root.value);
  EXPECT_EQ(fixed.signature, 0xFEEF04BDu);
  EXPECT_EQ(fixed.fileVersionMs, 0x00010001u);
  EXPECT_EQ(fixed.fileVersionLs, 0u);
  EXPECT_EQ(fixed.productVersionMs, 0x00010001u);
  EXPECT_EQ(fixed.productVersionLs, 0u);
  EXPECT_EQ(fixed.fileType, 1u);  // VFT_APP

  const VersionNode* varInfo = root.Child(u"VarFileInfo");
  ASSERT_NE(varInfo, nullptr);
  const VersionNode* translation = varInfo->Child(u"Translation");
  ASSERT_NE(translation, nullptr);
  EXPECT_EQ(translation->value, std::string("\x04\x08\xA8\x03", 4));  // 0x0804, code page 936

  const VersionNode* stringInfo = root.Child(u"StringFileInfo");
  ASSERT_NE(stringInfo, nullptr);
  const VersionNode* table = stringInfo->Child(u"080403a8");
  ASSERT_NE(table, nullptr);
  for (auto [key, text] : {std::pair{u"FileVersion", "1.1.0.0"},
                           {u"ProductVersion", "1.1.0.0"},
                           {u"ProductName", "Calvant"},
                           {u"OriginalFilename", "calvant.exe"}}) {
    const VersionNode* value = table->Child(key);
    ASSERT_NE(value, nullptr) << Utf16ToUtf8(key);
    EXPECT_EQ(Utf16ToUtf8(VersionText(*value)), text);
  }
  const VersionNode* description = table->Child(u"FileDescription");
  ASSERT_NE(description, nullptr);
  EXPECT_FALSE(VersionText(*description).empty());
}

TEST(CompiledResources, ManifestIsTheManifestFileUnchanged) {
  const ResEntry* manifest = Find(kRtManifest, 1);
  ASSERT_NE(manifest, nullptr);
  EXPECT_TRUE(manifest->data == ReadFileBytes(std::string(CALVANT_RESOURCE_DIR) + "/calvant.manifest"));
}

}  // namespace
}  // namespace restest
