#include "host/pxd_db_base.h"

#include "host/xd186.h"

int PxdDbBase::GetRvxProductMode(int* extended) {
  com::ComPtr<IEnvProductMode> productMode;
  {
    com::ComPtr<IEnvVariables> env = xd186_env();
    if (env) env.As(&productMode);
  }
  if (!productMode) return 1;
  com::BStr text;
  productMode->GetModeText(1, &text);  // the status is not looked at, only the text
  if (!text.IsNull() && text.View() == u"BASIC RVX") {
    if (extended) *extended = 0;
    return 1;
  }
  if (!text.IsNull() && text.View() == u"EXTENDED RVX") {
    if (extended) *extended = 1;
    return 1;
  }
  return 0;
}
