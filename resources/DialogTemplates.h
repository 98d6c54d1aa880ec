// The program's dialog templates as data: the same dialogs the resource script describes, for the
// simulated host (which builds its windows from them) and for the test that holds the script to them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace resources {

enum class ControlKind { DefPushButton, PushButton, GroupBox, AutoRadioButton, AutoCheckBox, Icon, Static };

struct ControlTemplate {
  int id;
  ControlKind kind;
  std::string_view caption;  // UTF-8; for an icon control, the icon's resource id as text
  int x, y, width, height;
  std::uint32_t extraStyle;  // WS_GROUP and WS_TABSTOP as the script gives them
};

struct DialogTemplate {
  int id;
  std::string_view title;  // UTF-8
  int width, height;
  std::string_view font;  // UTF-8
  int pointSize;
  std::span<const ControlTemplate> controls;
};

// The template with this resource id, or nullptr.
const DialogTemplate* FindDialogTemplate(int templateId);

// The string resource with this id as UTF-8, empty when there is none.
std::string_view FindString(std::uint32_t stringId);

}  // namespace resources
