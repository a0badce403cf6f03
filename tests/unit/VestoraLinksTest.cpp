#include "download/VestoraLinks.h"

#include <gtest/gtest.h>

#include "vestora/BuildConfig.h"

namespace {

constexpr char Template[] = "http://links.example/vestoralinks/index.php?linkname=%1&linktype=%2";

TEST(VestoraLinks, TheInstallerLinkHasTheFixedPathAndQuery) {
  EXPECT_EQ(download::GetLinkURL("VestoraEditorInstaller.exe", "file", ""),
            std::string("http://") + VESTORA_LINK_HOST +
                "/vestoralinks/index.php?linkname=VestoraEditorInstaller.exe&linktype=file");
}

TEST(VestoraLinks, ExpandsTheTemplate) {
  const struct {
    const char* Name;
    const char* Type;
    const char* Extra;
    const char* Tail;
  } Cases[] = {
      {"a.exe", "file", "", "linkname=a.exe&linktype=file"},
      {"a.exe", "file", "a=1", "linkname=a.exe&linktype=file&a=1"},
      {"a.exe", "file", "&a=1", "linkname=a.exe&linktype=file&a=1"},
      {"x%2y", "file", "", "linkname=xfiley&linktype=file"},    // a %2 in the name is replaced too
      {"x%1y", "t", "", "linkname=x%1y&linktype=t"},            // the name is not scanned again for %1
      {"", "", "", "linkname=&linktype="},
  };
  for (const auto& Case : Cases) {
    EXPECT_EQ(download::ExpandLinkTemplate(Template, Case.Name, Case.Type, Case.Extra),
              std::string("http://links.example/vestoralinks/index.php?") + Case.Tail)
        << Case.Name << " " << Case.Extra;
  }
}

}  // namespace
