#include "ui/AppTitle.h"

#include <gtest/gtest.h>

namespace {

TEST(ApplicationTitle, IsTheFileNameUpToItsFirstDot) {
  const struct {
    const wchar_t* Path;
    const wchar_t* Title;
  } Cases[] = {
      {L"C:\\Users\\ann\\Downloads\\VestoraWebInstaller.exe", L"VestoraWebInstaller"},
      {L"C:\\Downloads\\Vestora.Web.Installer.exe", L"Vestora"},
      {L"D:Setup.exe", L"Setup"},
      {L"\\\\server\\share\\NoExtension", L"NoExtension"},
      {L"plain.exe", L"plain"},
  };
  for (const auto& Case : Cases) EXPECT_EQ(ui::ApplicationTitle(Case.Path), Case.Title) << Case.Path;
}

}  // namespace
