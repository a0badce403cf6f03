// Where a redirect leads: a Location resolved against the address that answered,
// in portable code, so that no server's text reaches the system's URL functions.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The longest address the system's internet functions take (INTERNET_MAX_URL_LENGTH
// without its terminating zero); a longer one overruns buffers inside some of them.
constexpr std::size_t LongestUrl = 2083;

// Reference resolved against the absolute address Base (RFC 3986, section 5.2,
// strict), dot segments removed, the fragment left out: a request never sends it.
// Spaces and control characters around Reference are dropped; those inside, and
// bytes outside ASCII, are percent-encoded, so that the result is one request line's word.
[[nodiscard]] std::string ResolveReference(std::string_view Base, std::string_view Reference);

// An absolute http:// or https:// address, the scheme in any case.
[[nodiscard]] bool IsWebAddress(std::string_view Url);

}  // namespace platform
