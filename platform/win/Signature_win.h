// Authenticode: who signed a file, if its signature holds.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace platform::win {

// The simple display name of the signer of File (open for reading, at Path)
// when WinVerifyTrust accepts its signature over the whole file; nothing when
// the file is unsigned, altered after signing, or not trusted. Asks no
// server: only what is on the machine and in the file counts.
[[nodiscard]] std::optional<std::wstring> VerifiedSigner(HANDLE File, const std::wstring& Path);

}  // namespace platform::win
