#include "download/VestoraLinks.h"

#include "vestora/BuildConfig.h"

namespace download {
namespace {

std::string ReplaceAll(const std::string& Text, const std::string& From, const std::string& To) {
  std::string Result;
  std::size_t Start = 0;
  for (std::size_t Found = Text.find(From); Found != std::string::npos; Found = Text.find(From, Start)) {
    Result.append(Text, Start, Found - Start).append(To);
    Start = Found + From.size();
  }
  return Result.append(Text, Start);
}

}  // namespace

std::string LinkTemplate() {
  return std::string("http://") + VESTORA_LINK_HOST + "/vestoralinks/index.php?linkname=%1&linktype=%2";
}

std::string ExpandLinkTemplate(const std::string& Template, const std::string& LinkName, const std::string& LinkType,
                               const std::string& Extra) {
  std::string Url = ReplaceAll(ReplaceAll(Template, "%1", LinkName), "%2", LinkType);
  if (!Extra.empty()) {
    if (Extra.front() != '&') Url += '&';
    Url += Extra;
  }
  return Url;
}

std::string GetLinkURL(const std::string& LinkName, const std::string& LinkType, const std::string& Extra) {
  return ExpandLinkTemplate(LinkTemplate(), LinkName, LinkType, Extra);
}

}  // namespace download
