#pragma once
// A page of a property sheet, built from a dialog template of the module state in force. Its
// controls exist while the page's window exists (from creation by the sheet to the sheet's end).
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/dialog_template.h"
#include "platform/ui/list_view.h"
#include "platform/ui/message_map.h"

namespace ui {

class PropertySheet;

class PropertyPage : public ControlHost {
 public:
  // The template is looked up in the current module state (now, or at creation at the latest).
  explicit PropertyPage(int templateId);
  explicit PropertyPage(std::shared_ptr<const DialogTemplate> dialogTemplate);
  virtual ~PropertyPage();
  PropertyPage(const PropertyPage&) = delete;
  PropertyPage& operator=(const PropertyPage&) = delete;

  int TemplateId() const { return templateId_; }
  const DialogTemplate* Template() const { return template_.get(); }
  // The tab label: the template's caption.
  std::string Caption() const { return template_ ? template_->caption : std::string(); }

  // Dialog initialisation, once the controls exist. True: the framework focuses the first control.
  virtual bool OnInitDialog() { return true; }

  bool IsCreated() const { return created_; }
  // Creates the controls from the template and initialises the page. False without a template.
  bool Create(PropertySheet* sheet);
  void Destroy();

  // Controls by id (nullptr when there is none, or of another kind).
  Control* Item(int controlId) const;
  template <class T>
  T* ItemAs(int controlId) const {
    return dynamic_cast<T*>(Item(controlId));
  }
  // All controls, in template order.
  std::vector<Control*> Controls() const;
  int FocusedControlId() const { return focusedId_; }

  PropertySheet* Sheet() const { return sheet_; }
  MessageMap& Map() { return map_; }

  void OnControlCommand(int controlId, int code) override;
  LResult OnControlNotify(const NotifyHeader& notification) override;

 private:
  int templateId_;
  std::shared_ptr<const DialogTemplate> template_;
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<int, Control*> byId_;
  MessageMap map_;
  PropertySheet* sheet_ = nullptr;
  bool created_ = false;
  int focusedId_ = kIdStatic;
};

}  // namespace ui
