// System functions bound on first use: a library the program imports is loaded before its
// first line runs, so libraries needed only later (the network, file dialogs, COM) are
// loaded when first called instead, off the start-up path.
#pragma once
#include <windows.h>

namespace tb {

// The function `name` of `dll` as type F, loaded on the first call; nullptr when missing.
template <class F>
F late_bind(const wchar_t* dll, const char* name) {
  HMODULE m = LoadLibraryW(dll);
  return m ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m, name))) : nullptr;
}

}  // namespace tb

// Declares `fn` in the current scope as the late-bound `::fn` of `dll`, bound once.
#define TB_LATE(dll, fn) static const auto fn = ::tb::late_bind<decltype(&::fn)>(dll, #fn)
