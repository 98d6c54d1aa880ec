#include "resources/DialogTemplates.h"

#include <array>

#include "platform/WinConstants.h"
#include "resources/resource.h"

namespace resources {
namespace {

using platform::kWsGroup;
using platform::kWsTabStop;

constexpr std::array kSetupControls{
    ControlTemplate{1, ControlKind::DefPushButton, "OK", 211, 131, 50, 14, kWsTabStop},
    ControlTemplate{-1, ControlKind::GroupBox, "Language", 7, 6, 254, 66, 0},
    ControlTemplate{IDC_RADIO_ENGLISH, ControlKind::AutoRadioButton, "English", 21, 24, 142, 10, kWsGroup},
    ControlTemplate{IDC_RADIO_SIMPLIFIED_CHINESE, ControlKind::AutoRadioButton, "Simplified Chinese", 21, 38, 125, 10,
                    0},
    ControlTemplate{IDC_RADIO_TRADITIONAL_CHINESE, ControlKind::AutoRadioButton, "Traditional Chinese", 21, 51, 153, 10,
                    0},
    ControlTemplate{-1, ControlKind::GroupBox, "Drivers Setup", 7, 79, 254, 48, 0},
    ControlTemplate{IDC_CHECK_USB_CAMERA, ControlKind::AutoCheckBox, "UsbCamera", 23, 94, 52, 10, kWsTabStop},
    ControlTemplate{IDC_CHECK_GIGE_CAMERA, ControlKind::AutoCheckBox, "GigeCamera", 23, 109, 56, 10, kWsTabStop},
};

constexpr std::array kAboutControls{
    ControlTemplate{-1, ControlKind::Icon, "128", 11, 17, 20, 20, 0},
    ControlTemplate{-1, ControlKind::Static, "Calvant 1.0 版", 40, 10, 119, 8, 0},
    ControlTemplate{-1, ControlKind::Static, "Lumetra 相机平台注册工具", 40, 25, 119, 8, 0},
    ControlTemplate{1, ControlKind::DefPushButton, "确定", 178, 7, 50, 14, kWsGroup},
};

constexpr std::array kTemplates{
    DialogTemplate{IDD_CALVANT_DIALOG, "Lumetra", 267, 153, "宋体", 9, kSetupControls},
    DialogTemplate{IDD_ABOUTBOX, "关于 Calvant", 235, 55, "宋体", 9, kAboutControls},
};

struct StringResource {
  std::uint32_t id;
  std::string_view text;
};

constexpr std::array kStrings{StringResource{IDS_ABOUTBOX, "关于 Calvant(&A)..."}};

}  // namespace

std::string_view FindString(std::uint32_t stringId) {
  for (const StringResource& resource : kStrings) {
    if (resource.id == stringId) return resource.text;
  }
  return {};
}

const DialogTemplate* FindDialogTemplate(int templateId) {
  for (const DialogTemplate& dialogTemplate : kTemplates) {
    if (dialogTemplate.id == templateId) return &dialogTemplate;
  }
  return nullptr;
}

}  // namespace resources
