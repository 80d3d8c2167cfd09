#include "platform/ui/property_page.h"

#include "platform/ui/module_state.h"

namespace ui {

namespace {

std::unique_ptr<Control> MakeControl(const ControlTemplate& from, ControlHost* host) {
  switch (from.kind) {
    case ControlKind::Edit:
      return std::make_unique<Edit>(from, host);
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton:
      return std::make_unique<Button>(from, host);
    case ControlKind::AutoCheckBox:
      return std::make_unique<CheckBox>(from, host);
    case ControlKind::ComboBox: {
      auto combo = std::make_unique<ComboBox>(from, host);
      combo->SetText("");  // a combo box's template text is not its edit text
      return combo;
    }
    case ControlKind::ListView:
      return std::make_unique<ListView>(from, host);
    case ControlKind::StaticText:
    case ControlKind::GroupBox:
      break;
  }
  return std::make_unique<Control>(from, host);
}

bool TakesFocus(const Control& control) {
  switch (control.Kind()) {
    case ControlKind::StaticText:
    case ControlKind::GroupBox:
      return false;
    default:
      return control.IsEnabled() && (control.Style() & style::kTabStop) != 0;
  }
}

}  // namespace

PropertyPage::PropertyPage(int templateId)
    : templateId_(templateId), template_(CurrentModuleState().FindDialogTemplate(templateId)) {}

PropertyPage::PropertyPage(std::shared_ptr<const DialogTemplate> dialogTemplate)
    : templateId_(dialogTemplate ? dialogTemplate->id : 0), template_(std::move(dialogTemplate)) {}

PropertyPage::~PropertyPage() = default;

bool PropertyPage::Create(PropertySheet* sheet) {
  if (created_) return true;
  if (!template_) template_ = CurrentModuleState().FindDialogTemplate(templateId_);
  if (!template_) return false;
  sheet_ = sheet;
  for (const ControlTemplate& from : template_->controls) {
    controls_.push_back(MakeControl(from, this));
    if (from.id != kIdStatic) byId_.emplace(from.id, controls_.back().get());
  }
  created_ = true;
  if (OnInitDialog()) {
    for (const auto& control : controls_) {
      if (TakesFocus(*control)) {
        focusedId_ = control->Id();
        break;
      }
    }
  }
  return true;
}

void PropertyPage::Destroy() {
  byId_.clear();
  controls_.clear();
  created_ = false;
  focusedId_ = kIdStatic;
}

Control* PropertyPage::Item(int controlId) const {
  auto it = byId_.find(controlId);
  return it == byId_.end() ? nullptr : it->second;
}

std::vector<Control*> PropertyPage::Controls() const {
  std::vector<Control*> result;
  result.reserve(controls_.size());
  for (const auto& control : controls_) result.push_back(control.get());
  return result;
}

void PropertyPage::OnControlCommand(int controlId, int code) {
  map_.RouteCommand(controlId, code);
}

LResult PropertyPage::OnControlNotify(const NotifyHeader& notification) {
  return map_.RouteNotify(notification).value_or(0);
}

}  // namespace ui
