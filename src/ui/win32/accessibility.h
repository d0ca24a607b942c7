// Names the controls for assistive tools, which otherwise read a text box by whatever static
// text precedes it among the windows (here, none that belongs to it).
#pragma once

#include <windows.h>

#include <string>

namespace tavrix::win32 {

// Keeps the system's accessibility services open for the names given through it.
class AccessibleNames {
  public:
    AccessibleNames();
    ~AccessibleNames();
    AccessibleNames(const AccessibleNames&) = delete;
    AccessibleNames& operator=(const AccessibleNames&) = delete;

    // False when the system offers no such service; the control keeps its default name.
    bool name(HWND control, const std::wstring& name);

  private:
    bool com_ = false;
    void* services_ = nullptr;  // IAccPropServices*
};

}  // namespace tavrix::win32
