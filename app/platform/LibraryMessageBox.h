// The message box the signal-processing library shows through its hook: a Qt
// message box whose answer is mapped to the library's button codes.
#pragma once

#include <cstdint>

namespace kalvora::platform {

// Shows `text` under `caption` with Yes/No (ZQV_MB_YESNO), OK/Cancel
// (ZQV_MB_OKCANCEL) or OK buttons; returns ZQV_IDYES, ZQV_IDNO, ZQV_IDOK or
// ZQV_IDCANCEL. Closing the box answers No, Cancel or OK respectively.
std::int32_t LibraryMessageBox(const char* text, const char* caption, std::uint32_t flags);

// Installs LibraryMessageBox as the library's hook.
void InstallLibraryMessageBox();

}  // namespace kalvora::platform
