#include "ui/win32/accessibility.h"

#include <initguid.h>  // defines the service's identifiers in this file

#include <oleacc.h>

namespace tavrix::win32 {

AccessibleNames::AccessibleNames() {
    com_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    IAccPropServices* services = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IAccPropServices, reinterpret_cast<void**>(&services))))
        services_ = services;
}

AccessibleNames::~AccessibleNames() {
    if (services_)
        static_cast<IAccPropServices*>(services_)->Release();
    if (com_)
        CoUninitialize();
}

bool AccessibleNames::name(HWND control, const std::wstring& name) {
    if (!services_)
        return false;
    auto* services = static_cast<IAccPropServices*>(services_);
    return SUCCEEDED(services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT),
                                              CHILDID_SELF, PROPID_ACC_NAME, name.c_str()));
}

}  // namespace tavrix::win32
