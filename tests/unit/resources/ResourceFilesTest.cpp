// The files the resource script takes in whole: the application manifest and the program icon.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "IcoFile.h"
#include "TextSupport.h"
#include "XmlReader.h"

namespace restest {
namespace {

constexpr const char* kAsmV1 = "urn:schemas-microsoft-com:asm.v1";
constexpr const char* kAsmV3 = "urn:schemas-microsoft-com:asm.v3";
constexpr const char* kCompatibility = "urn:schemas-microsoft-com:compatibility.v1";
constexpr const char* kWindowsSettings2005 = "http://schemas.microsoft.com/SMI/2005/WindowsSettings";

std::string ResourcePath(const char* name) { return std::string(CALVANT_RESOURCE_DIR) + "/" + name; }

const XmlElement& Manifest() {
  static const std::unique_ptr<XmlElement> manifest = ParseXml(ReadFileBytes(ResourcePath("calvant.manifest")));
  return *manifest;
}

// The single element at the end of a path of direct children, each step in its namespace.
const XmlElement* Only(const XmlElement& from, std::initializer_list<std::pair<const char*, const char*>> path) {
  const XmlElement* element = &from;
  for (const auto& [uri, name] : path) {
    std::vector<const XmlElement*> found = element->Children(uri, name);
    if (found.size() != 1) {
      ADD_FAILURE() << found.size() << " <" << name << "> elements in " << uri << " under <" << element->localName
                    << ">";
      return nullptr;
    }
    element = found[0];
  }
  return element;
}

TEST(Manifest, IsAnAssemblyManifest) {
  EXPECT_EQ(Manifest().namespaceUri, kAsmV1);
  EXPECT_EQ(Manifest().localName, "assembly");
  EXPECT_EQ(Manifest().attributes.count("manifestVersion") ? Manifest().attributes.at("manifestVersion") : "", "1.0");
}

TEST(Manifest, RequestsAdministratorRightsWithoutUiAccess) {
  // Exactly one request in the whole manifest, where the loader looks for it.
  ASSERT_EQ(Manifest().Descendants(kAsmV3, "requestedExecutionLevel").size(), 1u);
  const XmlElement* level = Only(Manifest(), {{kAsmV3, "trustInfo"},
                                              {kAsmV3, "security"},
                                              {kAsmV3, "requestedPrivileges"},
                                              {kAsmV3, "requestedExecutionLevel"}});
  ASSERT_NE(level, nullptr);
  EXPECT_EQ(level->attributes,
            (std::map<std::string, std::string>{{"level", "requireAdministrator"}, {"uiAccess", "false"}}));
}

TEST(Manifest, DeclaresTheProcessDpiAware) {
  const XmlElement* dpiAware =
      Only(Manifest(), {{kAsmV3, "application"}, {kAsmV3, "windowsSettings"}, {kWindowsSettings2005, "dpiAware"}});
  ASSERT_NE(dpiAware, nullptr);
  EXPECT_EQ(dpiAware->text, "true");
}

TEST(Manifest, ListsVistaTo10AsSupportedSystems) {
  const XmlElement* application =
      Only(Manifest(), {{kCompatibility, "compatibility"}, {kCompatibility, "application"}});
  ASSERT_NE(application, nullptr);
  std::vector<const XmlElement*> systems = application->Children(kCompatibility, "supportedOS");
  std::multiset<std::string> ids;
  for (const XmlElement* system : systems)
    ids.insert(system->attributes.count("Id") ? system->attributes.at("Id") : "");
  EXPECT_EQ(ids, (std::multiset<std::string>{
                     "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
                     "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
                     "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
                     "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
                     "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10: without it, version queries stop at 6.2
                 }));
}

// The checks above rest on the reader seeing the manifest as the loader does.
TEST(ManifestReader, RefusesWhatTheLoaderRefusesAndResolvesNamespaces) {
  for (const char* bad : {"<a><b></a>", "<a>", "<a/><b/>", "<p:a/>", "<a x='1' x='2'/>", "<a>&nbsp;</a>"}) {
    EXPECT_THROW(ParseXml(bad), XmlError) << bad;
  }
  std::unique_ptr<XmlElement> root = ParseXml(
      "<?xml version='1.0'?><!-- c --><a xmlns='urn:one' xmlns:t='urn:two'><t:b k='&amp;'>x<!-- c -->y</t:b>"
      "<c xmlns='urn:three'/></a>");
  EXPECT_EQ(root->namespaceUri, "urn:one");
  ASSERT_EQ(root->Children("urn:two", "b").size(), 1u);
  EXPECT_EQ(root->Children("urn:two", "b")[0]->text, "xy");
  EXPECT_EQ(root->Children("urn:two", "b")[0]->attributes.at("k"), "&");
  EXPECT_EQ(root->Children("urn:one", "c").size(), 0u);
  EXPECT_EQ(root->Children("urn:three", "c").size(), 1u);
}

const std::string& IconBytes() {
  static const std::string bytes = ReadFileBytes(ResourcePath("calvant.ico"));
  return bytes;
}

TEST(ProgramIcon, HoldsOne48By48ImageIn24BitColour) {
  IcoFile icon = ParseIco(IconBytes());
  ASSERT_EQ(icon.images.size(), 1u);
  const IcoImage& image = icon.images[0];
  EXPECT_EQ(image.width, 48);
  EXPECT_EQ(image.height, 48);
  EXPECT_EQ(image.colorCount, 0);
  EXPECT_EQ(image.planes, 1);
  EXPECT_EQ(image.bitCount, 24);
  EXPECT_EQ(image.headerSize, 40u);
  EXPECT_EQ(image.bitmapWidth, 48);
  EXPECT_EQ(image.bitmapHeight, 96);  // colour image and AND mask
  EXPECT_EQ(image.bitmapPlanes, 1);
  EXPECT_EQ(image.bitmapBitCount, 24);
  EXPECT_EQ(image.compression, 0u);
  // Header, 48 rows of 144 colour bytes, 48 mask rows of 8 bytes (48 bits padded to 32-bit words).
  EXPECT_EQ(image.bytesInRes, 40u + 48u * 144u + 48u * 8u);
  EXPECT_EQ(image.imageOffset, 6u + 16u);
  EXPECT_EQ(IconBytes().size(), image.imageOffset + image.bytesInRes);
}

TEST(ProgramIcon, IsARoundLensOnATransparentGround) {
  IcoFile icon = ParseIco(IconBytes());
  ASSERT_EQ(icon.images.size(), 1u);
  const IcoImage& image = icon.images[0];
  std::set<std::uint32_t> colours;
  int transparent = 0;
  for (int y = 0; y < 48; ++y) {
    for (int x = 0; x < 48; ++x) {
      if (image.Transparent(x, y)) {
        ++transparent;
        // The colour image must be black where the mask is set, or the screen shows through inverted.
        EXPECT_EQ(image.Pixel(x, y), 0u) << x << "," << y;
      } else {
        colours.insert(image.Pixel(x, y));
      }
    }
  }
  for (auto [x, y] : {std::pair{0, 0}, {47, 0}, {0, 47}, {47, 47}})
    EXPECT_TRUE(image.Transparent(x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{24, 24}, {24, 1}, {1, 24}, {46, 24}, {24, 46}}) {
    EXPECT_FALSE(image.Transparent(x, y)) << x << "," << y;
  }
  // A disc of radius 23.5 leaves about 48 * 48 - pi * 23.5^2 = 569 pixels outside it.
  EXPECT_GT(transparent, 450);
  EXPECT_LT(transparent, 700);
  EXPECT_GT(colours.size(), 64u) << "the lens is drawn, not filled with a few flat colours";
}

}  // namespace
}  // namespace restest
