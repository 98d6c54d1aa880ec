// BeginPaint and EndPaint as one scope: the paint device context lives as long as the object.
#pragma once

#include "platform/Backends.h"

namespace framework {

class PaintScope {
 public:
  explicit PaintScope(platform::WindowHandle window) : window_(window), context_(platform::Ui().BeginPaint(window)) {}
  ~PaintScope() { platform::Ui().EndPaint(window_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;

  platform::DeviceContext Context() const { return context_; }

 private:
  platform::WindowHandle window_;
  platform::DeviceContext context_;
};

}  // namespace framework
