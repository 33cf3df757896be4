// COM for the length of a scope, and the WIC factory.
#include "win32/ComScope.h"

namespace kelvane {

// A thread that has COM already (in another mode) keeps it as it is.
TComScope::TComScope() { initialised_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }

TComScope::~TComScope() {
  factory_.Reset();
  if (initialised_) ::CoUninitialize();
}

IWICImagingFactory* TComScope::Factory() {
  if (!factory_ && FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IWICImagingFactory, reinterpret_cast<void**>(factory_.Out()))))
    return nullptr;
  return factory_.get();
}

}  // namespace kelvane
