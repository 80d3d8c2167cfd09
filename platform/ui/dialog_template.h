#pragma once
// Dialog templates as data: what a dialog or page looks like before it is created.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/style.h"

namespace ui {

// Position and size in dialog units.
struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const DialogRect&) const = default;
};

struct ControlTemplate {
  int id = -1;
  ControlKind kind = ControlKind::StaticText;
  std::string text;
  DialogRect rect;
  std::uint32_t style = 0;
};

struct DialogTemplate {
  int id = 0;
  std::string caption;
  int width = 0;   // dialog units
  int height = 0;  // dialog units
  std::string fontName;
  int fontPointSize = 0;
  std::uint32_t style = 0;
  std::vector<ControlTemplate> controls;  // in template (= tab) order

  // The first control with the id, if any (ids other than -1 are unique in a template).
  const ControlTemplate* FindControl(int controlId) const;
};

}  // namespace ui
