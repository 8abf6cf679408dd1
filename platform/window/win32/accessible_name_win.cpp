// A control's name for assistive technology, as a dynamic annotation of its
// window through the system's accessibility layer (oleacc).
#include <windows.h>
// After windows.h; defines the annotation's GUIDs here.
#include <initguid.h>
#include <oleacc.h>

#include "platform/window/win32/window_win.h"
#include "platform/window/wnd.h"

void CWnd::SetAccessibleName(const std::string& name) {
  if (m_hWnd == nullptr) return;
  // COM stays initialised for the thread: the annotation lives as long as the window.
  static const HRESULT initialised = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)initialised;
  IAccPropServices* services = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
    return;
  }
  if (name.empty()) {
    MSAAPROPID property = PROPID_ACC_NAME;
    services->ClearHwndProps(m_hWnd, OBJID_CLIENT, CHILDID_SELF, &property, 1);
  } else {
    services->SetHwndPropStr(m_hWnd, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                             Wide(name).c_str());
  }
  services->Release();
}
