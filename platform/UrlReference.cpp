#include "platform/UrlReference.h"

namespace platform {
namespace {

bool IsAlpha(char C) { return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z'); }
bool IsSchemeChar(char C) { return IsAlpha(C) || (C >= '0' && C <= '9') || C == '+' || C == '-' || C == '.'; }

// The five components of a reference (RFC 3986, appendix B); a component that is
// absent differs from one that is empty.
struct TParts {
  std::string_view Scheme;
  bool HasScheme = false;
  std::string_view Authority;
  bool HasAuthority = false;
  std::string_view Path;
  std::string_view Query;
  bool HasQuery = false;
};

TParts Split(std::string_view Text) {
  TParts Parts;
  Text = Text.substr(0, Text.find('#'));
  const std::size_t Colon = Text.find(':');
  if (Colon != std::string_view::npos && Colon > 0 && IsAlpha(Text[0]) && Colon < Text.find_first_of("/?")) {
    bool Valid = true;
    for (std::size_t i = 1; i < Colon; ++i) Valid = Valid && IsSchemeChar(Text[i]);
    if (Valid) {
      Parts.Scheme = Text.substr(0, Colon);
      Parts.HasScheme = true;
      Text.remove_prefix(Colon + 1);
    }
  }
  if (Text.substr(0, 2) == "//") {
    Text.remove_prefix(2);
    const std::size_t End = Text.find_first_of("/?");
    Parts.Authority = Text.substr(0, End);
    Parts.HasAuthority = true;
    Text.remove_prefix(Parts.Authority.size());
  }
  const std::size_t Question = Text.find('?');
  Parts.Path = Text.substr(0, Question);
  if (Question != std::string_view::npos) {
    Parts.Query = Text.substr(Question + 1);
    Parts.HasQuery = true;
  }
  return Parts;
}

bool StartsWith(std::string_view Text, std::string_view Prefix) { return Text.substr(0, Prefix.size()) == Prefix; }

// RFC 3986, section 5.2.4.
std::string RemoveDotSegments(std::string_view In) {
  std::string Out;
  const auto DropLastSegment = [&Out] {
    const std::size_t Slash = Out.rfind('/');
    Out.erase(Slash == std::string::npos ? 0 : Slash);
  };
  while (!In.empty()) {
    if (StartsWith(In, "../")) {
      In.remove_prefix(3);
    } else if (StartsWith(In, "./") || StartsWith(In, "/./")) {
      In.remove_prefix(2);
    } else if (In == "/.") {
      In = "/";
    } else if (StartsWith(In, "/../")) {
      In.remove_prefix(3);
      DropLastSegment();
    } else if (In == "/..") {
      In = "/";
      DropLastSegment();
    } else if (In == "." || In == "..") {
      In = {};
    } else {
      const std::size_t End = In.find('/', 1);
      Out.append(In.substr(0, End));
      In.remove_prefix(End == std::string_view::npos ? In.size() : End);
    }
  }
  return Out;
}

// Trimmed of spaces and control characters, the rest of them and non-ASCII bytes encoded.
std::string Clean(std::string_view Text) {
  const auto Blank = [](char C) { return static_cast<unsigned char>(C) <= 0x20; };
  while (!Text.empty() && Blank(Text.front())) Text.remove_prefix(1);
  while (!Text.empty() && Blank(Text.back())) Text.remove_suffix(1);
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string Out;
  Out.reserve(Text.size());
  for (const char C : Text) {
    const auto Byte = static_cast<unsigned char>(C);
    if (Byte > 0x20 && Byte < 0x7F) {
      Out.push_back(C);
    } else {
      Out.push_back('%');
      Out.push_back(Hex[Byte >> 4]);
      Out.push_back(Hex[Byte & 0xF]);
    }
  }
  return Out;
}

}  // namespace

std::string ResolveReference(std::string_view Base, std::string_view Reference) {
  const std::string Cleaned = Clean(Reference);
  const TParts R = Split(Cleaned);
  const TParts B = Split(Base);
  TParts T;
  std::string Path;
  if (R.HasScheme) {
    T = R;
    Path = RemoveDotSegments(R.Path);
  } else {
    T.Scheme = B.Scheme;
    T.HasScheme = B.HasScheme;
    if (R.HasAuthority) {
      T.Authority = R.Authority;
      T.HasAuthority = true;
      Path = RemoveDotSegments(R.Path);
      T.Query = R.Query;
      T.HasQuery = R.HasQuery;
    } else {
      T.Authority = B.Authority;
      T.HasAuthority = B.HasAuthority;
      if (R.Path.empty()) {
        Path = B.Path;
        T.Query = R.HasQuery ? R.Query : B.Query;
        T.HasQuery = R.HasQuery || B.HasQuery;
      } else {
        if (R.Path.front() == '/') {
          Path = RemoveDotSegments(R.Path);
        } else if (B.HasAuthority && B.Path.empty()) {
          Path = RemoveDotSegments("/" + std::string(R.Path));
        } else {
          const std::size_t Slash = B.Path.rfind('/');
          const std::string_view Directory = B.Path.substr(0, Slash == std::string_view::npos ? 0 : Slash + 1);
          Path = RemoveDotSegments(std::string(Directory) + std::string(R.Path));
        }
        T.Query = R.Query;
        T.HasQuery = R.HasQuery;
      }
    }
  }
  std::string Target;
  if (T.HasScheme) Target.append(T.Scheme).push_back(':');
  if (T.HasAuthority) Target.append("//").append(T.Authority);
  Target.append(Path);
  if (T.HasQuery) Target.append("?").append(T.Query);
  return Target;
}

bool IsWebAddress(std::string_view Url) {
  const TParts Parts = Split(Url);
  std::string Scheme(Parts.Scheme);
  for (char& C : Scheme) C = static_cast<char>(C >= 'A' && C <= 'Z' ? C - 'A' + 'a' : C);
  return Parts.HasScheme && Parts.HasAuthority && (Scheme == "http" || Scheme == "https");
}

}  // namespace platform
