// Addresses on the maker's link service.
#pragma once

#include <string>

namespace download {

// "http://" + the link-service host + "/vestoralinks/index.php?linkname=%1&linktype=%2"
[[nodiscard]] std::string LinkTemplate();

// Every "%1" becomes LinkName, then every "%2" (also one that came with the name)
// becomes LinkType; Extra follows after an "&" unless it starts with one.
// Nothing is percent-encoded.
[[nodiscard]] std::string ExpandLinkTemplate(const std::string& Template, const std::string& LinkName,
                                             const std::string& LinkType, const std::string& Extra);

[[nodiscard]] std::string GetLinkURL(const std::string& LinkName, const std::string& LinkType,
                                     const std::string& Extra);

}  // namespace download
