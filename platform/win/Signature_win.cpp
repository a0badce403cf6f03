#include "platform/win/Signature_win.h"

#include <wincrypt.h>
#include <wintrust.h>

#include "platform/win/Handles.h"
#include "platform/win/SystemLibrary_win.h"

namespace platform::win {
namespace {

// WINTRUST_ACTION_GENERIC_VERIFY_V2
constexpr GUID GenericVerifyV2 = {0x00AAC56B, 0xCD44, 0x11D0, {0x8C, 0xC2, 0x00, 0xC0, 0x4F, 0xC2, 0x95, 0xEE}};

using TWinVerifyTrust = LONG(WINAPI*)(HWND, GUID*, LPVOID);
using TProvData = CRYPT_PROVIDER_DATA*(WINAPI*)(HANDLE);
using TProvSigner = CRYPT_PROVIDER_SGNR*(WINAPI*)(CRYPT_PROVIDER_DATA*, DWORD, BOOL, DWORD);
using TProvCert = CRYPT_PROVIDER_CERT*(WINAPI*)(CRYPT_PROVIDER_SGNR*, DWORD);
using TCertName = DWORD(WINAPI*)(PCCERT_CONTEXT, DWORD, DWORD, void*, LPWSTR, DWORD);

struct TTrustApi {
  TModule WinTrust = LoadSystemLibrary(L"wintrust.dll");
  TModule Crypt32 = LoadSystemLibrary(L"crypt32.dll");
  TWinVerifyTrust Verify = EntryPoint<TWinVerifyTrust>(WinTrust.Get(), "WinVerifyTrust");
  TProvData ProvData = EntryPoint<TProvData>(WinTrust.Get(), "WTHelperProvDataFromStateData");
  TProvSigner ProvSigner = EntryPoint<TProvSigner>(WinTrust.Get(), "WTHelperGetProvSignerFromChain");
  TProvCert ProvCert = EntryPoint<TProvCert>(WinTrust.Get(), "WTHelperGetProvCertFromChain");
  TCertName CertName = EntryPoint<TCertName>(Crypt32.Get(), "CertGetNameStringW");

  [[nodiscard]] bool Complete() const {
    return Verify != nullptr && ProvData != nullptr && ProvSigner != nullptr && ProvCert != nullptr &&
           CertName != nullptr;
  }
};

std::wstring SignerName(const TTrustApi& Api, HANDLE State) {
  CRYPT_PROVIDER_DATA* Data = Api.ProvData(State);
  CRYPT_PROVIDER_SGNR* Signer = Data != nullptr ? Api.ProvSigner(Data, 0, FALSE, 0) : nullptr;
  CRYPT_PROVIDER_CERT* Cert = Signer != nullptr ? Api.ProvCert(Signer, 0) : nullptr;
  if (Cert == nullptr || Cert->pCert == nullptr) return {};
  wchar_t Name[256] = {};
  const DWORD Length = Api.CertName(Cert->pCert, CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, Name, 256);
  return Length > 1 ? std::wstring(Name, Length - 1) : std::wstring();
}

}  // namespace

std::optional<std::wstring> VerifiedSigner(HANDLE File, const std::wstring& Path) {
  const TTrustApi Api;
  if (!Api.Complete()) return std::nullopt;
  WINTRUST_FILE_INFO FileInfo{};
  FileInfo.cbStruct = sizeof(FileInfo);
  FileInfo.pcwszFilePath = Path.c_str();
  FileInfo.hFile = File;
  WINTRUST_DATA Trust{};
  Trust.cbStruct = sizeof(Trust);
  Trust.dwUIChoice = WTD_UI_NONE;
  Trust.fdwRevocationChecks = WTD_REVOKE_NONE;
  Trust.dwUnionChoice = WTD_CHOICE_FILE;
  Trust.pFile = &FileInfo;
  Trust.dwStateAction = WTD_STATEACTION_VERIFY;
  Trust.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL;
  GUID Action = GenericVerifyV2;
  const LONG Verdict = Api.Verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &Action, &Trust);
  std::optional<std::wstring> Name;
  if (Verdict == ERROR_SUCCESS) Name = SignerName(Api, Trust.hWVTStateData);
  // The verification's state is released whatever it found.
  Trust.dwStateAction = WTD_STATEACTION_CLOSE;
  Api.Verify(static_cast<HWND>(INVALID_HANDLE_VALUE), &Action, &Trust);
  if (Name && Name->empty()) return std::nullopt;
  return Name;
}

}  // namespace platform::win
