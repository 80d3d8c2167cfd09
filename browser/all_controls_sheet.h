#pragma once
// CAllControlsSheet, the modal sheet "Object Revision Manager" with its one page, and the work of
// the revision manager's ShowRevManagerDlg.
#include <string>
#include <string_view>

#include "browser/list_prop.h"
#include "platform/os/os.h"
#include "platform/ui/property_sheet.h"

namespace browser {

inline constexpr char kRevManagerSheetCaption[] = "Object Revision Manager";

// What a class tells about itself at run time.
struct RuntimeClass {
  std::string_view name;
  bool creatableByName;
};

class CAllControlsSheet : public ui::PropertySheet {
 public:
  CAllControlsSheet(std::string caption, os::WindowHandle parent, int firstPage);
  ~CAllControlsSheet() override;

  static const RuntimeClass& ClassRecord();
  virtual const RuntimeClass& GetRuntimeClass() const { return ClassRecord(); }

  bool OnInitDialog() override;

  ListProp& ListPage() { return listPage_; }

 private:
  ListProp listPage_;
  // The sheet shows no icon of its own: nothing gives this a value.
  ui::IconHandle icon_ = nullptr;
};

// Builds the sheet with the module's templates, runs it modally and destroys it; the modal
// result is not looked at.
void RunRevManagerSheet();

// Makes ShowRevManagerDlg show the sheet (and gives the component module template 202).
void InstallRevManagerSheet();

}  // namespace browser
